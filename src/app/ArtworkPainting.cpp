#include "app/ArtworkPainting.h"

#include "platform/Numeric.h"

#include <QFont>
#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace art {

QPixmap blank(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    return pm;
}

QString firstFamily(const QStringList& wanted, const QString& fallback)
{
    const QStringList have = QFontDatabase::families();
    for (const QString& f : wanted)
        if (have.contains(f))
            return f;
    return fallback;
}

QFont pixelFont(const QStringList& wanted, int pixels, bool bold)
{
    QFont f(firstFamily(wanted, QString()));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// A path outlined in ink over a wider white halo, so cursors stay visible on
// dark and light pictures alike.
void haloStroke(QPainter& p, const QPainterPath& path, const QColor& ink, double width)
{
    p.strokePath(path, QPen(kHalo, width + 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.strokePath(path, QPen(ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

// Pixel-exact straight line (inclusive ends) with a one-pixel halo round it.
void haloRule(QPainter& p, QPoint a, QPoint b)
{
    const QRect line = QRect(a, b).normalized();
    p.fillRect(line.adjusted(-1, -1, 1, 1), kHalo);
    p.fillRect(line, Qt::black);
}

// Pencil lying along +x from its tip at the origin, `length` long.
void pencil(QPainter& p, double length, double thick)
{
    const double h = thick / 2.0;
    const double cone = thick * 1.1;
    QPainterPath body;
    body.addRect(QRectF(cone, -h, length - cone - thick * 0.8, thick));
    QPainterPath wood;
    wood.moveTo(0, 0);
    wood.lineTo(cone, -h);
    wood.lineTo(cone, h);
    wood.closeSubpath();
    QPainterPath rubber;
    rubber.addRoundedRect(QRectF(length - thick * 0.8, -h, thick * 0.8, thick), 1.2, 1.2);
    QPainterPath all = body.united(wood).united(rubber);
    p.strokePath(all, QPen(kHalo, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(body, kYellow);
    p.fillPath(wood, QColor(236, 206, 160));
    p.fillPath(rubber, kPink);
    QPainterPath lead;
    lead.moveTo(0, 0);
    lead.lineTo(cone * 0.4, -h * 0.4);
    lead.lineTo(cone * 0.4, h * 0.4);
    lead.closeSubpath();
    p.fillPath(lead, kInk);
    p.strokePath(all, QPen(kInk, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

// Eraser block: a blue sleeve and a pink rubber end; `rubberAt` is the side
// (0 left, 1 top, 2 right, 3 bottom) that does the erasing.
void eraserBlock(QPainter& p, const QRectF& r, int rubberAt)
{
    const double frac = 0.45;
    QRectF rubber = r;
    switch (rubberAt) {
    case 0: rubber.setWidth(r.width() * frac); break;
    case 1: rubber.setHeight(r.height() * frac); break;
    case 2: rubber.setLeft(r.right() - r.width() * frac); break;
    default: rubber.setTop(r.bottom() - r.height() * frac); break;
    }
    QPainterPath outline;
    outline.addRoundedRect(r, 1.5, 1.5);
    p.strokePath(outline, QPen(kHalo, 3.0));
    p.fillPath(outline, kBlue);
    QPainterPath rub;
    rub.addRect(rubber);
    p.fillPath(rub.intersected(outline), kPink);
    p.strokePath(outline, QPen(kInk, 1.0));
}

// Filled arrowhead pointing from `base` towards `tip`.
void arrowHead(QPainter& p, QPointF tip, QPointF base, double halfWidth, const QColor& c)
{
    const QPointF d = tip - base;
    const double len = std::hypot(d.x(), d.y());
    const QPointF n(-d.y() / len * halfWidth, d.x() / len * halfWidth);
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(base + n);
    head.lineTo(base - n);
    head.closeSubpath();
    p.fillPath(head, c);
}

// A small plot: axes, grid, a curve and the trace's red circles on it.
void plotMotif(QPainter& p, const QRectF& r, const QColor& axis, const QColor& curveColor)
{
    p.setPen(QPen(QColor(axis.red(), axis.green(), axis.blue(), 60), 1.0));
    for (int i = 1; i < 5; ++i) {
        const double x = r.left() + r.width() * i / 5.0;
        const double y = r.top() + r.height() * i / 5.0;
        p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
    p.setPen(QPen(axis, 1.5));
    p.drawLine(r.bottomLeft(), r.topLeft());
    p.drawLine(r.bottomLeft(), r.bottomRight());
    QPainterPath curve;
    const int n = 60;
    for (int i = 0; i <= n; ++i) {
        const double t = double(i) / n;
        const double v = 0.15 + 0.7 * (1.0 - std::exp(-4.0 * t)) + 0.08 * std::sin(9.0 * t);
        const QPointF pt(r.left() + t * r.width(), r.bottom() - v * r.height());
        i == 0 ? curve.moveTo(pt) : curve.lineTo(pt);
    }
    p.strokePath(curve, QPen(curveColor, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setPen(QPen(kRed, 1.6));
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i < 10; ++i)
        p.drawEllipse(curve.pointAtPercent(i / 10.0), 3.5, 3.5);
}

} // namespace art
