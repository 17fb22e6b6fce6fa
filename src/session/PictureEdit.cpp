#include "session/PictureEdit.h"

#include "raster/AutoErase.h"
#include "raster/Canvas.h"
#include "raster/PixelBuffer.h"

#include <array>

namespace {
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);

// The tools' pixel widths: the pen and the line erasers draw one pixel, the
// eraser's square two.
int strokeWidth(PictureEdit::Kind kind) { return kind == PictureEdit::Kind::Eraser ? 2 : 1; }

constexpr std::array<std::pair<PictureEdit::Kind, const char*>, 6> kNames{{
    {PictureEdit::Kind::Binarise, "binarise"},
    {PictureEdit::Kind::AutoErase, "autoErase"},
    {PictureEdit::Kind::Pen, "pen"},
    {PictureEdit::Kind::LineAcross, "eraseAcross"},
    {PictureEdit::Kind::LineDown, "eraseDown"},
    {PictureEdit::Kind::Eraser, "eraser"},
}};
} // namespace

QString pictureEditKindName(PictureEdit::Kind kind)
{
    for (const auto& [k, name] : kNames)
        if (k == kind)
            return QString::fromLatin1(name);
    return {};
}

std::optional<PictureEdit::Kind> pictureEditKindFromName(const QString& name)
{
    for (const auto& [k, n] : kNames)
        if (name == QLatin1String(n))
            return k;
    return std::nullopt;
}

// The offsets put the mark under the hot spot of each tool's pointer.
void drawStrokePress(Canvas& canvas, const PictureEdit& stroke, QPointF at)
{
    const double x = at.x();
    const double y = at.y();
    canvas.setDrawWidth(strokeWidth(stroke.kind));
    switch (stroke.kind) {
    case PictureEdit::Kind::Pen:
        canvas.pset(x - 30, y + 30, kBlack);
        break;
    case PictureEdit::Kind::LineAcross:
        canvas.line(0, y + 60, canvas.scaleWidth(), y + 60, kWhite);
        break;
    case PictureEdit::Kind::LineDown:
        canvas.line(x - 80, 0, x - 80, canvas.scaleHeight(), kWhite);
        break;
    case PictureEdit::Kind::Eraser: {
        const double w = (stroke.eraserStep % 3 + 1) * 50.0;
        canvas.setFillColor(kWhite);
        canvas.setFillSolid(true);
        canvas.box(x - w, y - w, x + w, y + w, kWhite);
        canvas.setFillSolid(false);
        break;
    }
    case PictureEdit::Kind::Binarise:
    case PictureEdit::Kind::AutoErase:
        break;
    }
}

void drawStrokeDrag(Canvas& canvas, const PictureEdit& stroke, QPointF to)
{
    if (stroke.kind == PictureEdit::Kind::Pen)
        canvas.lineTo(to.x() - 30, to.y() + 30, kBlack);
}

void drawPictureEdit(Canvas& canvas, PixelBuffer& scratch, const PictureEdit& edit,
                     const std::function<void(int x)>& progress)
{
    if (edit.isStroke()) {
        if (edit.points.empty())
            return;
        const int width = canvas.drawWidth();
        drawStrokePress(canvas, edit, edit.points.front());
        for (size_t i = 1; i < edit.points.size(); ++i)
            drawStrokeDrag(canvas, edit, edit.points[i]);
        canvas.setDrawWidth(width);
        return;
    }
    QImage& pixels = canvas.image();
    if (edit.kind == PictureEdit::Kind::Binarise && BinarizeImage(pixels, edit.binarise, progress)) {
        canvas.changed();
        return;
    }
    scratch.redim(pixels.width(), pixels.height());
    ReadPixels(pixels, scratch);
    if (edit.kind == PictureEdit::Kind::Binarise)
        BinarizePixels(scratch, edit.binarise, progress);
    else
        AutoErasePixels(scratch);
    WritePixels(pixels, scratch);
    canvas.changed();
}
