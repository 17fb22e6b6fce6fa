#include "trace/TraceRun.h"

#include "platform/Numeric.h"
#include "trace/ColumnInk.h"
#include "trace/TraceColumn.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>

std::size_t TraceOutcome::unsureCount() const
{
    return std::size_t(std::count_if(points.begin(), points.end(), [](const TracePoint& p) { return p.unsure; }));
}

namespace {

// How far (rows) a run may lie from where the curve is expected and still be
// its continuation: a little for the curve's own bending, more the steeper it
// runs and the longer it has not been seen.
double tolerance(double slope, std::int64_t unseen)
{
    return 3.0 + 0.5 * std::abs(slope) + 0.25 * double(unseen);
}

// What the walk knows of the curve's course: the last columns where it was
// seen plainly, as (column, mean row).
class Course {
public:
    bool known() const { return !seen_.empty(); }
    // Until a few columns have been seen, the slope says little.
    bool settled() const { return seen_.size() >= 3; }
    std::int64_t lastColumn() const { return seen_.back().column; }
    double lastRow() const { return seen_.back().row; }

    double slope() const
    {
        if (seen_.size() < 2)
            return 0;
        const Seen& a = seen_[seen_.size() > 3 ? seen_.size() - 4 : 0];
        const Seen& b = seen_.back();
        return (b.row - a.row) / double(b.column - a.column);
    }
    double predict(std::int64_t column) const { return lastRow() + slope() * double(column - lastColumn()); }

    // A plain curve's run is its width plus its rise over the column.
    double width() const { return width_; }

    void see(std::int64_t column, double row, const InkRun& run)
    {
        const double rise = known() ? std::abs(row - lastRow()) / double(column - lastColumn()) : 0.0;
        const double w = std::max(1.0, run.height() - rise);
        width_ = known() ? std::min(std::max(width_, 1.0) * 1.25, std::max(w, width_ * 0.8)) : w;
        seen_.push_back({column, row});
        if (seen_.size() > 8)
            seen_.pop_front();
    }

private:
    struct Seen {
        std::int64_t column;
        double row;
    };
    std::deque<Seen> seen_;
    double width_ = 1;
};

// A recording column crossed without ink of its own, filled in once the
// curve is seen again.
struct Pending {
    std::int64_t i;
};

} // namespace

TraceOutcome FollowCurve(const PixelBuffer& buffer, const TraceSettings& settings, std::int32_t traceStartX,
                         std::int32_t traceStartY, std::int32_t traceEndX, double height)
{
    TraceOutcome outcome;
    if (settings.freq < 1)
        return outcome;

    // The column bound is a real number: 14 twips past the start still leaves
    // only the start column, 15 gives a second one. Subtracting in 64 bits keeps
    // far-apart markers from overflowing.
    const double lastOffset = double(std::int64_t(traceEndX) - std::int64_t(traceStartX)) / kTwipsPerPixelX;
    const double x0 = double(traceStartX) / kTwipsPerPixelX;
    // Buffer row r holds picture row r - 1, so the start marker's picture row
    // is one buffer row further down.
    std::int32_t y = roundHalfEven32(double(traceStartY) / kTwipsPerPixelY) + 1;
    const std::int32_t half = std::max<std::int32_t>(settings.range, 0) / 2 + 1;
    const std::int64_t longestGap = std::max<std::int32_t>(settings.range, 1);

    const ColumnInk ink(buffer);
    Course course;
    std::vector<Pending> pending;
    std::int64_t unseen = 0; // columns since the curve was last seen
    std::int64_t lastSeenOffset = 0;
    // Columns since the curve was last seen off any grid line: a line says
    // nothing of where along it the curve leaves.
    std::int64_t onLine = 0;

    const auto record = [&](std::int64_t i, double row, bool unsure, const InkRun* run) {
        TracePoint p;
        p.i = static_cast<std::int32_t>(i);
        // From the unrounded start, so recorded X values are evenly spaced
        // whatever column the start fell in.
        p.xt = static_cast<float>(double(traceStartX) + double(i) * kTwipsPerPixelX);
        p.yt = static_cast<float>((row - 1) * kTwipsPerPixelY);
        p.unsure = unsure;
        if (run) {
            p.runTop = run->top - 1;
            p.runBottom = run->bottom - 1;
        }
        outcome.points.push_back(p);
    };

    for (std::int64_t i = 0; double(i) <= lastOffset; ++i) {
        const std::int64_t x = roundHalfEven(x0 + double(i));
        // Columns only grow from here; past the buffer nothing more can be found.
        if (x > buffer.maxX())
            break;
        const auto column = static_cast<std::int32_t>(x);
        const TraceColumnResult plain = TraceColumn(buffer, column, y, settings.range, height);

        // The runs the search could have counted, and where the curve should be.
        const double expected = course.known() ? course.predict(x) : double(y);
        const double slope = course.slope();
        const std::int32_t tallest = static_cast<std::int32_t>(2 * (course.width() + std::abs(slope)) + 4);
        const std::int32_t from = std::min<std::int32_t>(y, roundHalfEven32(expected)) - half;
        const std::int32_t to = std::max<std::int32_t>(y, roundHalfEven32(expected)) + half;
        const std::vector<InkRun> runs = ink.runs(column, from, to, tallest);
        ++onLine;

        // The run that continues the curve: the nearest to its expected row
        // within reach, a grid line counted a little farther than it is. While
        // the walk runs along a line the curve may leave it anywhere, so the
        // reach grows with every column spent on one.
        const double reach = course.settled()
                                 ? std::min<double>(half, tolerance(slope, unseen) + 0.5 * double(onLine))
                                 : double(half);
        // Before the course is known, any other ink in reach is taken over a
        // grid line: the start was put on the curve.
        const double linePenalty = course.settled() ? 3.0 : double(2 * half);
        const InkRun* chosen = nullptr;
        double best = std::numeric_limits<double>::infinity();
        for (const InkRun& r : runs) {
            const double d = r.distance(expected);
            const double cost = d + (r.line && runs.size() > 1 ? linePenalty : 0.0);
            if (d <= reach && cost < best) {
                best = cost;
                chosen = &r;
            }
        }
        const bool near = chosen != nullptr;
        // Another run within reach made it a choice: the point is a guess.
        const bool rivalled = near && std::any_of(runs.begin(), runs.end(), [&](const InkRun& r) {
            return &r != chosen && r.distance(expected) <= reach;
        });
        // Far taller than the curve: a vertical line, a symbol or a crossing
        // hides where the curve is in this column.
        const bool hidden = near && course.known() && chosen->height() > tallest;

        if (!near || hidden) {
            // Nothing here continues the curve: go on from where it should
            // be, and fill in the recording columns once it is seen again.
            if (!course.known()) {
                if (plain.found())
                    y = plain.row();
                continue;
            }
            ++unseen;
            if (unseen > longestGap) {
                outcome.lost = true;
                outcome.lostAt = static_cast<std::int32_t>(lastSeenOffset);
                pending.clear();
                break;
            }
            if (i % settings.freq == 0)
                pending.push_back({i});
            y = roundHalfEven32(expected);
            continue;
        }

        // The search's own answer where the chosen run is all it counted;
        // otherwise the same search with only that run in the column.
        const TraceColumnResult within =
            TraceColumnWithin(buffer, column, y, settings.range, height, chosen->top, chosen->bottom);
        const bool plainAnswer = plain.n == within.n && plain.sum == within.sum;
        const TraceColumnResult& found = plainAnswer ? plain : within;
        if (!found.found()) {
            // The run lies outside the search window's reach from y; start the
            // next column on it.
            y = roundHalfEven32(chosen->centre());
            continue;
        }
        const double row = found.sum / found.n;
        for (const Pending& g : pending) {
            // At the point's own x, which lies up to half a column from the
            // column examined for it.
            const double t = (x0 + double(g.i) - double(course.lastColumn())) / double(x - course.lastColumn());
            record(g.i, course.lastRow() + t * (row - course.lastRow()), true, nullptr);
        }
        pending.clear();
        y = found.row();
        if (i % settings.freq == 0)
            record(i, double(y), rivalled, chosen);
        course.see(x, row, *chosen);
        if (!chosen->line)
            onLine = 0;
        unseen = 0;
        lastSeenOffset = i;
    }
    // A gap that runs into the end line has nothing to end on: its columns
    // stay without points, as the column search leaves them.
    return outcome;
}

std::vector<TracePoint> TraceRun(const PixelBuffer& buffer, const TraceSettings& settings,
                                 std::int32_t traceStartX, std::int32_t traceStartY, std::int32_t traceEndX,
                                 double height)
{
    return FollowCurve(buffer, settings, traceStartX, traceStartY, traceEndX, height).points;
}
