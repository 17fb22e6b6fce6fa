#pragma once
// Measures a traced point on the loaded picture at its own resolution. The
// walk over the canvas decides which columns record a point and roughly where
// the curve is; the picture says where exactly.
#include "raster/CanvasPictureMapping.h"
#include "raster/PixelBuffer.h"
#include "trace/CurveInk.h"
#include "trace/TraceRun.h"

#include <QImage>

#include <cstdint>
#include <vector>

// What a run's points are measured against, gathered once per run.
struct TraceEvidence {
    // The loaded picture at its own resolution (a metafile rendered finely),
    // in Format_RGB32 or Format_ARGB32; RefineTracePoints converts others.
    QImage picture;
    // The canvas the walk read, after every edit: the mask of what may count.
    const PixelBuffer* canvas = nullptr;
    CanvasPictureMapping mapping{QSize(1, 1), QSize(1, 1)};
    CurveInk ink;
    // The scan range of the walk, in canvas pixels: how far from its answer
    // the canvas may be searched for the dark run the answer came from.
    std::int16_t range = 50;
};

// The point at the picture's precision. x stays Xt, read as the exact picture
// position under it (between picture columns, not rounded to one). y is the
// centre of the curve there, to a fraction of a picture pixel: in the picture
// columns either side of x, the line inside the canvas's dark run nearest to
// the canvas answer, each pixel weighted by how much ink it holds (the soft
// edges of an anti-aliased line included), the two columns interpolated.
//
// A picture pixel counts only where the canvas is dark (in its row, at its
// column or the one beside it) and the pixel is ink, so an erased grid line
// never pulls a point; a grid line crossing the curve is stepped over. Where
// the picture has no ink under the canvas answer (a line drawn with the pen)
// the point is returned as it came.
TracePoint RefineTracePoint(const TraceEvidence& evidence, const TracePoint& point);

// Every point of a run, in place.
void RefineTracePoints(TraceEvidence evidence, std::vector<TracePoint>& points);
