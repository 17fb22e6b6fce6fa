#include "app/Artwork.h"

#include "platform/Numeric.h"

#include <QFont>
#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

// One small palette for every picture, so the toolbar, cursors and splash
// read as one set.
const QColor kInk(43, 43, 43);
const QColor kHalo(255, 255, 255);
const QColor kRed(216, 52, 44);
const QColor kBlue(47, 109, 181);
const QColor kYellow(242, 194, 48);
const QColor kPink(240, 154, 160);
const QColor kGreen(58, 154, 58);
const QColor kGrey(138, 138, 138);
const QColor kPaper(252, 252, 248);

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

QFont pixelFont(const QStringList& wanted, int pixels, bool bold = false)
{
    QFont f(firstFamily(wanted, QString()));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// A path outlined in ink over a wider white halo, so cursors stay visible on
// dark and light pictures alike.
void haloStroke(QPainter& p, const QPainterPath& path, const QColor& ink, double width = 1.0)
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

// Two small axes whose ticks and labels say linear or logarithmic; both
// stay inside the 30 x 30 pixels the indicator box shows.
void axisIndicator(QPainter& p, bool xLog, bool yLog)
{
    p.setPen(QPen(kGrey, 1.0));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(0.5, 0.5, 29, 29), 3, 3);
    const QColor xc = xLog ? kRed : kBlue;
    const QColor yc = yLog ? kRed : kBlue;
    const double ox = 4.5, oy = 25.5, end = 27.5, top = 2.5;
    // Tick positions along 20 pixels: even for linear, bunched for log.
    auto ticks = [](bool log) {
        QList<double> t;
        for (int i = 1; i <= (log ? 9 : 4); ++i)
            t << (log ? std::log10(1.0 + i) * 20.0 : i * 5.0);
        return t;
    };
    p.setPen(QPen(xc, 1.0));
    p.drawLine(QPointF(ox, oy), QPointF(end, oy));
    for (double t : ticks(xLog))
        p.drawLine(QPointF(ox + t, oy), QPointF(ox + t, oy + 2));
    p.setPen(QPen(yc, 1.0));
    p.drawLine(QPointF(ox, oy), QPointF(ox, top));
    for (double t : ticks(yLog))
        p.drawLine(QPointF(ox, oy - t), QPointF(ox - 2, oy - t));
    QFont f = pixelFont({"DejaVu Sans", "Liberation Sans"}, 9, true);
    p.setFont(f);
    p.setPen(yc);
    p.drawText(QRectF(7, 1, 22, 11), Qt::AlignLeft | Qt::AlignVCenter, yLog ? "log" : "lin");
    p.setPen(xc);
    p.drawText(QRectF(7, 13, 22, 11), Qt::AlignRight | Qt::AlignVCenter, xLog ? "log" : "lin");
}

// Hot spot of the eraser cursors. The square comes from the same twips-to-pixel
// rule the eraser box uses; its two-pixel outline reaches one pixel further up
// and left than the fill, so the square does too.
constexpr int kEraserHot = 15;

void eraserSquare(QPainter& p, int halfTwips)
{
    const double at = kEraserHot * kTwipsPerPixelX;
    const int l = twipsToPixelX(at - halfTwips) - 1;
    const int r = twipsToPixelX(at + halfTwips);
    const QRect sq(QPoint(l, l), QPoint(r, r));
    // Black frame on the outermost erased pixels, white on both sides of it.
    p.fillRect(sq.adjusted(-1, -1, 1, 1), kHalo);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(sq.adjusted(2, 2, -2, -2), Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.fillRect(QRect(l, l, sq.width(), 1), Qt::black);
    p.fillRect(QRect(l, r, sq.width(), 1), Qt::black);
    p.fillRect(QRect(l, l, 1, sq.height()), Qt::black);
    p.fillRect(QRect(r, l, 1, sq.height()), Qt::black);
    p.fillRect(QRect(kEraserHot, kEraserHot, 1, 1), Qt::black);
}

void drawPointer(QPainter& p, int k)
{
    switch (k) {
    case kPointerPen:
        // The pen sets its point 2 pixels left of and below the mouse, so the
        // lead tip is drawn exactly there.
        p.translate(3.5, 28.5);
        p.rotate(-45);
        pencil(p, 34, 7);
        p.resetTransform();
        p.fillRect(QRect(3, 28, 1, 1), Qt::black);
        break;
    case kPointerHErase:
        // The row erased lies 4 pixels below the hot spot.
        haloRule(p, QPoint(0, 16), QPoint(31, 16));
        arrowHead(p, QPointF(0, 16.5), QPointF(5, 16.5), 3, Qt::black);
        arrowHead(p, QPointF(32, 16.5), QPointF(27, 16.5), 3, Qt::black);
        eraserBlock(p, QRectF(9.5, 2.5, 12, 11), 3);
        break;
    case kPointerVErase:
        // The column erased lies 6 pixels left of the hot spot.
        haloRule(p, QPoint(13, 0), QPoint(13, 31));
        arrowHead(p, QPointF(13.5, 0), QPointF(13.5, 5), 3, Qt::black);
        arrowHead(p, QPointF(13.5, 32), QPointF(13.5, 27), 3, Qt::black);
        eraserBlock(p, QRectF(16.5, 9.5, 11, 12), 0);
        break;
    case kPointerSight: {
        QPainterPath ring;
        ring.addEllipse(QPointF(15.5, 15.5), 8, 8);
        haloStroke(p, ring, kRed, 1.5);
        for (auto [a, b] : {std::pair{QPoint(1, 15), QPoint(12, 15)}, {QPoint(19, 15), QPoint(30, 15)},
                            {QPoint(15, 1), QPoint(15, 12)}, {QPoint(15, 19), QPoint(15, 30)}})
            haloRule(p, a, b);
        break;
    }
    case kPointerAxisLinLin: axisIndicator(p, false, false); break;
    case kPointerAxisLinLog: axisIndicator(p, false, true); break;
    case kPointerAxisLogLin: axisIndicator(p, true, false); break;
    case kPointerAxisLogLog: axisIndicator(p, true, true); break;
    default:
        eraserSquare(p, eraserHalfSizeTwips(k));
        break;
    }
}

void drawToolbar(QPainter& p, int index)
{
    switch (index) {
    case 1:
        p.translate(3, 21);
        p.rotate(-45);
        pencil(p, 24, 6);
        break;
    case 2:
        eraserBlock(p, QRectF(6.5, 2.5, 11, 10), 3);
        p.setPen(QPen(kInk, 1.5));
        p.drawLine(QPointF(4, 17.5), QPointF(20, 17.5));
        arrowHead(p, QPointF(0.5, 17.5), QPointF(5.5, 17.5), 3.5, kInk);
        arrowHead(p, QPointF(23.5, 17.5), QPointF(18.5, 17.5), 3.5, kInk);
        break;
    case 3:
        eraserBlock(p, QRectF(11.5, 6.5, 10, 11), 0);
        p.setPen(QPen(kInk, 1.5));
        p.drawLine(QPointF(6.5, 4), QPointF(6.5, 20));
        arrowHead(p, QPointF(6.5, 0.5), QPointF(6.5, 5.5), 3.5, kInk);
        arrowHead(p, QPointF(6.5, 23.5), QPointF(6.5, 18.5), 3.5, kInk);
        break;
    case 4:
        p.setPen(QPen(kGrey, 1.0, Qt::DotLine));
        p.drawLine(QPointF(2, 21.5), QPointF(12, 21.5));
        p.translate(13, 13);
        p.rotate(-35);
        eraserBlock(p, QRectF(-9.5, -5, 19, 10), 0);
        break;
    case 5: {
        // Two reference cross-hairs, as the markers show them on the canvas.
        p.setPen(QPen(kGrey, 1.0));
        p.drawLine(QPointF(2.5, 2), QPointF(2.5, 21.5));
        p.drawLine(QPointF(2.5, 21.5), QPointF(22, 21.5));
        for (auto [c, col] : {std::pair{QPointF(8.5, 15.5), kRed}, {QPointF(16.5, 7.5), kBlue}}) {
            p.setPen(QPen(col, 1.5));
            p.drawLine(c + QPointF(-5.5, 0), c + QPointF(5.5, 0));
            p.drawLine(c + QPointF(0, -5.5), c + QPointF(0, 5.5));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(c, 2.5, 2.5);
        }
        break;
    }
    case 6:
        p.setPen(QPen(kRed, 2.0));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(12, 12), 7.5, 7.5);
        p.setPen(QPen(kInk, 1.5));
        p.drawLine(QPointF(12, 1), QPointF(12, 9));
        p.drawLine(QPointF(12, 15), QPointF(12, 23));
        p.drawLine(QPointF(1, 12), QPointF(9, 12));
        p.drawLine(QPointF(15, 12), QPointF(23, 12));
        break;
    case 8: {
        p.setPen(QPen(kGrey, 1.0));
        p.drawLine(QPointF(1.5, 1), QPointF(1.5, 20.5));
        p.drawLine(QPointF(1.5, 20.5), QPointF(23, 20.5));
        QPainterPath curve;
        curve.moveTo(3, 17);
        curve.cubicTo(8, 17, 9, 4, 14, 5);
        curve.cubicTo(18, 6, 18, 12, 22, 11);
        p.strokePath(curve, QPen(kInk, 1.5));
        p.setPen(QPen(kRed, 1.2));
        p.setBrush(Qt::white);
        for (double t : {0.1, 0.4, 0.7})
            p.drawEllipse(curve.pointAtPercent(t), 2.2, 2.2);
        QPainterPath play;
        play.moveTo(15, 14);
        play.lineTo(23, 18.5);
        play.lineTo(15, 23);
        play.closeSubpath();
        p.fillPath(play, kGreen);
        p.strokePath(play, QPen(kInk, 1.0));
        break;
    }
    case 10: {
        QPainterPath disk;
        disk.moveTo(2.5, 2.5);
        disk.lineTo(18.5, 2.5);
        disk.lineTo(21.5, 5.5);
        disk.lineTo(21.5, 21.5);
        disk.lineTo(2.5, 21.5);
        disk.closeSubpath();
        p.fillPath(disk, kBlue);
        p.strokePath(disk, QPen(kInk, 1.0));
        p.setPen(QPen(kInk, 1.0));
        p.setBrush(QColor(210, 214, 222));
        p.drawRect(QRectF(6.5, 2.5, 10, 6));
        p.fillRect(QRectF(13, 3.5, 2, 4), kInk);
        p.setBrush(kPaper);
        p.drawRect(QRectF(5.5, 12.5, 13, 9));
        p.setPen(QPen(kGrey, 1.0));
        p.drawLine(QPointF(7.5, 15.5), QPointF(16.5, 15.5));
        p.drawLine(QPointF(7.5, 18.5), QPointF(16.5, 18.5));
        break;
    }
    case 11: {
        QPainterPath sheet;
        sheet.moveTo(4.5, 1.5);
        sheet.lineTo(14.5, 1.5);
        sheet.lineTo(19.5, 6.5);
        sheet.lineTo(19.5, 22.5);
        sheet.lineTo(4.5, 22.5);
        sheet.closeSubpath();
        p.fillPath(sheet, kPaper);
        p.strokePath(sheet, QPen(kInk, 1.0));
        QPainterPath fold;
        fold.moveTo(14.5, 1.5);
        fold.lineTo(14.5, 6.5);
        fold.lineTo(19.5, 6.5);
        p.strokePath(fold, QPen(kInk, 1.0));
        p.setPen(Qt::NoPen);
        p.setBrush(kRed);
        p.drawEllipse(QPointF(17.5, 17.5), 5.5, 5.5);
        p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15.3, 15.3), QPointF(19.7, 19.7));
        p.drawLine(QPointF(19.7, 15.3), QPointF(15.3, 19.7));
        break;
    }
    default:
        break;
    }
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

} // namespace

QPixmap toolbarIcon(int index)
{
    if (index < 1 || index > 11 || index == 7 || index == 9)
        return QPixmap();
    QPixmap pm = blank(kToolbarIconSize);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    drawToolbar(p, index);
    return pm;
}

int eraserHalfSizeTwips(int k)
{
    return (k >= kPointerEraseFirst && k < kPointerEraseFirst + 3) ? (k - kPointerEraseFirst + 1) * 50 : 0;
}

QPixmap pointerImage(int k)
{
    if (k < 1 || k > kPointerImageCount)
        return QPixmap();
    QPixmap pm = blank(kPointerImageSize);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawPointer(p, k);
    return pm;
}

QPoint pointerHotSpot(int k)
{
    switch (k) {
    case kPointerPen: return {5, 26};
    case kPointerHErase: return {15, 12};
    case kPointerVErase: return {19, 15};
    case kPointerSight: return {15, 15};
    default:
        if (eraserHalfSizeTwips(k) > 0)
            return {kEraserHot, kEraserHot};
        return {0, 0};
    }
}

QCursor pointerCursor(int k)
{
    if (k < 1 || k > kPointerSight)
        return QCursor(Qt::ArrowCursor);
    const QPoint hot = pointerHotSpot(k);
    return QCursor(pointerImage(k), hot.x(), hot.y());
}

QColor splashBackground() { return QColor(22, 38, 70); }

QPixmap splashPicture()
{
    QPixmap pm(kSplashWidth, kSplashHeight);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient bg(0, 0, 0, kSplashHeight);
    bg.setColorAt(0, QColor(44, 74, 122));
    bg.setColorAt(1, splashBackground());
    p.fillRect(pm.rect(), bg);
    p.fillRect(QRectF(0, 0, kSplashWidth, 4), QColor(232, 182, 52));

    const QStringList serif{"Noto Serif CJK JP", "DejaVu Serif", "Liberation Serif"};
    const QStringList sans{"Noto Sans CJK JP", "DejaVu Sans", "Liberation Sans"};
    p.setPen(Qt::white);
    p.setFont(pixelFont(serif, 52, true));
    p.drawText(QRect(30, 14, 320, 70), Qt::AlignLeft | Qt::AlignVCenter, "Orvanta");
    p.setPen(QColor(196, 214, 240));
    p.setFont(pixelFont(sans, 18));
    p.drawText(QRect(33, 84, 320, 26), Qt::AlignLeft | Qt::AlignVCenter, "Graph digitiser");
    p.setPen(QColor(150, 172, 206));
    p.setFont(pixelFont(sans, 12));
    p.drawText(QRect(33, 110, 320, 18), Qt::AlignLeft | Qt::AlignVCenter, "ver 1.0");

    // The window shows 543 of the 548 columns, so the motif ends well before.
    plotMotif(p, QRectF(372, 20, 150, 98), QColor(196, 214, 240), QColor(255, 255, 255));
    return pm;
}

QIcon windowIcon()
{
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pm = blank(size);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        p.setPen(QPen(kInk, 1.0));
        p.setBrush(QColor(44, 74, 122));
        p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 5, 5);
        p.setBrush(Qt::NoBrush);
        QPainterPath axes;
        axes.moveTo(6.5, 4);
        axes.lineTo(6.5, 25.5);
        axes.lineTo(28, 25.5);
        p.strokePath(axes, QPen(QColor(196, 214, 240), 1.5));
        QPainterPath curve;
        curve.moveTo(8, 22);
        curve.cubicTo(13, 21, 14, 8, 20, 8);
        curve.cubicTo(24, 8, 25, 12, 28, 11);
        p.strokePath(curve, QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.setPen(QPen(QColor(255, 96, 80), 1.6));
        for (double t : {0.25, 0.55, 0.85})
            p.drawEllipse(curve.pointAtPercent(t), 2.6, 2.6);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}
