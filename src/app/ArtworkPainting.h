#pragma once
// Shared pieces of the program's own artwork: one palette and the small
// drawing helpers the toolbar icons, cursors and splash picture are made of.
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;
class QPainterPath;

namespace art {

// One small palette for every picture, so the toolbar, cursors and splash
// read as one set.
inline const QColor kInk(43, 43, 43);
inline const QColor kHalo(255, 255, 255);
inline const QColor kRed(216, 52, 44);
inline const QColor kBlue(47, 109, 181);
inline const QColor kYellow(242, 194, 48);
inline const QColor kPink(240, 154, 160);
inline const QColor kGreen(58, 154, 58);
inline const QColor kGrey(138, 138, 138);
inline const QColor kPaper(252, 252, 248);

QPixmap blank(int size);
QString firstFamily(const QStringList& wanted, const QString& fallback);
QFont pixelFont(const QStringList& wanted, int pixels, bool bold = false);
void haloStroke(QPainter& p, const QPainterPath& path, const QColor& ink, double width = 1.0);
void haloRule(QPainter& p, QPoint a, QPoint b);
void pencil(QPainter& p, double length, double thick);
void eraserBlock(QPainter& p, const QRectF& r, int rubberAt);
void arrowHead(QPainter& p, QPointF tip, QPointF base, double halfWidth, const QColor& c);
void plotMotif(QPainter& p, const QRectF& r, const QColor& axis, const QColor& curveColor);

} // namespace art
