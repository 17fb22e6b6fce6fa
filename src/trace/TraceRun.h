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
    // The walk had to choose between runs of ink, or bridged a gap: the point
    // is still recorded, but shown as a guess.
    bool unsure = false;
    // The canvas rows of the run of ink the point came from; both -1 for a
    // point bridged across a gap, which has no ink of its own.
    std::int32_t runTop = -1;
    std::int32_t runBottom = -1;
};

struct TraceOutcome {
    std::vector<TracePoint> points;
    // The curve was not seen again within the scan range: the walk stopped
    // at column offset lostAt rather than go on along whatever it found.
    bool lost = false;
    std::int32_t lostAt = 0;

    std::size_t unsureCount() const;
};

// traceStartX/Y: the start marker's centre, traceEndX: the end position, all
// canvas twips rounded to whole twips. height: the canvas height in pixels (not
// rounded). The buffer holds the canvas as ReadPixels fills it.
//
// A point is recorded on every column whose offset is a multiple of freq and in
// which the curve was found. Its Yt is the picture row of the curve times 15, so
// a traced point and a click on the same pixel give the same value. A freq below
// 1 records nothing.
//
// Where the column search would leave the curve, the walk holds it: it keeps
// to the ink that continues the curve's last course, passes over grid and
// frame lines, vertical lines, symbols and crossings, and bridges gaps of up
// to `range` columns with points on the straight line across. Where the
// search stays on the curve the points are exactly its answers.
TraceOutcome FollowCurve(const PixelBuffer& buffer, const TraceSettings& settings, std::int32_t traceStartX,
                         std::int32_t traceStartY, std::int32_t traceEndX, double height);

// The points of FollowCurve alone.
std::vector<TracePoint> TraceRun(const PixelBuffer& buffer, const TraceSettings& settings,
                                 std::int32_t traceStartX, std::int32_t traceStartY,
                                 std::int32_t traceEndX, double height);
