// The splash picture and the program icon.
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

void paintProgramIcon(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
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
}

QPixmap programIcon(int size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    p.scale(size / 32.0, size / 32.0);
    paintProgramIcon(p);
    return pm;
}

QIcon windowIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(programIcon(size));
    return icon;
}
