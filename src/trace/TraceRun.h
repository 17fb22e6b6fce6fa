#pragma once
// The column loop of an automatic trace, without any drawing: walks the pixel
// columns from the start point to the end line and returns the points to record.
#include "raster/PixelBuffer.h"
#include "trace/TraceSettings.h"

#include <cstdint>
#include <vector>

struct TracePoint {
    std::int32_t i = 0; // column offset from the start column
    float xt = 0;       // position in canvas twips
    float yt = 0;
};

// traceStartX/Y: the start marker's centre, traceEndX: the end position, all
// canvas twips rounded to whole twips. height: the canvas height in pixels (not
// rounded). The buffer holds the canvas as ReadPixels fills it.
//
// A point is recorded on every column whose offset is a multiple of freq and in
// which the curve was found. Its Yt is the picture row of the curve times 15, so
// a traced point and a click on the same pixel give the same value. A freq below
// 1 records nothing.
std::vector<TracePoint> TraceRun(const PixelBuffer& buffer, const TraceSettings& settings,
                                 std::int32_t traceStartX, std::int32_t traceStartY,
                                 std::int32_t traceEndX, double height);
