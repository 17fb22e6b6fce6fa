#pragma once
// The traced curve's centre in one column of the loaded picture, measured
// inside the canvas's dark run the walk took: a picture pixel counts where it
// is ink and the (edited) canvas is dark beside it.
#include "trace/RefineTracePoint.h"

#include <limits>
#include <optional>
#include <vector>

// The curve's centre in one picture column. On a clean column the line lies
// on paper; on a column that also holds a vertical grid line, or a line's
// neighbour, what surrounds it is not paper and the centre is less sure.
struct ColumnSample {
    double x = 0; // the column's centre, picture coordinates
    double y = 0;
    bool clean = false;
    // All the column's ink there is a grid line (the curve may run along it,
    // or be absent from the column).
    bool grid = false;
};

class PictureColumns {
public:
    explicit PictureColumns(const TraceEvidence& e) : e_(e), height_(e.picture.height()) {}

    // Centre of the curve in picture column q, in picture coordinates;
    // nothing when the picture has no ink there. The ink counts inside the
    // canvas run runTop..runBottom (canvas rows), or inside any dark run
    // within half the scan range of canvas row `answer` when runTop < 0. Of
    // the lines of ink there the one nearest to picture row `prefer` is
    // measured, or the one nearest to the answer when `prefer` is NaN.
    std::optional<ColumnSample> centre(int q, int answer, int runTop, int runBottom,
                                       double prefer = std::numeric_limits<double>::quiet_NaN()) const;

private:
    // Whether picture row p is ink far to the left and right of column q, as
    // a grid line is and a curve passing through is not.
    bool horizontalLine(int q, int p) const;
    bool paper(int q, int p) const;
    double profileCentre(int q, int lo, int first, int last, int hi) const;
    QRgb at(int q, int p) const { return reinterpret_cast<const QRgb*>(e_.picture.constScanLine(p))[q]; }
    bool maskDark(int column, int row) const;
    bool canvasDark(int column, int row) const;

    const TraceEvidence& e_;
    int height_;
    // Reused: a run measures thousands of columns.
    mutable std::vector<double> weights_;
};
