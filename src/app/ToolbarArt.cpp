// The 24 x 24 toolbar icons.
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
