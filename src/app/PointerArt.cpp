// The 32 x 32 images of the tool cursors and the axis-type indicator.
#include "app/Artwork.h"
#include "app/ArtworkPainting.h"

#include "platform/Numeric.h"

#include <QFont>
#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

using namespace art;

namespace {

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

} // namespace

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
