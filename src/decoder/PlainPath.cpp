#include "PlainPath.h"

#include "SvgScan.h"

#include <QPen>

#include <charconv>
#include <cmath>

namespace {

constexpr double kMaxPenWidth = 32768;

bool readNumber(std::string_view text, double& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

bool readColor(std::string_view text, bool& on, QColor& color)
{
    if (text == "none") {
        on = false;
        return true;
    }
    unsigned rgb = 0;
    if (text.size() != 7 || text[0] != '#')
        return false;
    const auto [end, error] = std::from_chars(text.data() + 1, text.data() + 7, rgb, 16);
    if (error != std::errc() || end != text.data() + 7)
        return false;
    on = true;
    color = QColor(QRgb(rgb));
    return true;
}

bool readWidth(std::string_view text, double& width)
{
    if (text.size() > 2 && text.substr(text.size() - 2) == "px")
        text.remove_suffix(2);
    if (!readNumber(text, width) || width < 0)
        return false;
    // QPen keeps its width of 1 when given one it cannot hold, and so the
    // renderer draws such a line.
    if (width >= kMaxPenWidth)
        width = 1;
    return true;
}

// Moves, lines and curves as QPainterPath takes them: a move after a lone
// move replaces it, and a line or curve after a closed subpath starts from
// its first point.
class PathBuilder {
public:
    explicit PathBuilder(PlainPath& path) : path_(path) {}
    void moveTo(QPointF p)
    {
        finish();
        start_ = int(path_.points.size());
        closed_ = false;
        add(p, false);
    }
    void lineTo(QPointF p)
    {
        reopen();
        add(p, false);
    }
    void cubicTo(QPointF c1, QPointF c2, QPointF p)
    {
        reopen();
        add(c1, true);
        add(c2, true);
        add(p, false);
    }
    void close() { closed_ = start_ >= 0; }
    void finish()
    {
        const int count = start_ < 0 ? 0 : int(path_.points.size()) - start_;
        if (count >= 2) {
            path_.subpaths.push_back({start_, count, closed_});
        } else if (count == 1) {
            path_.points.pop_back();
            path_.control.pop_back();
        }
        start_ = -1;
    }

private:
    void add(QPointF p, bool control)
    {
        path_.points.push_back(p);
        path_.control.push_back(control);
    }
    void reopen()
    {
        if (!closed_)
            return;
        const QPointF first = path_.points[std::size_t(start_)];
        moveTo(first);
    }

    PlainPath& path_;
    int start_ = -1;
    bool closed_ = false;
};

bool readPathData(std::string_view d, PlainPath& path)
{
    PathBuilder builder(path);
    char command = 0;
    QPointF curve[3];
    int pairs = 0;  // of the curve being read
    std::size_t i = 0;
    while (i < d.size()) {
        if (d[i] == ' ' || d[i] == '\n' || d[i] == '\t' || d[i] == '\r') {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < d.size() && d[end] != ' ' && d[end] != '\n' && d[end] != '\t' && d[end] != '\r')
            ++end;
        const std::string_view word = d.substr(i, end - i);
        i = end;
        if (word == "M" || word == "L" || word == "C" || word == "Z" || word == "z") {
            if (pairs > 0)
                return false;  // a curve cut short
            command = word[0] == 'Z' || word[0] == 'z' ? 0 : word[0];
            if (command == 0)
                builder.close();
        } else {
            const std::size_t comma = word.find(',');
            double x = 0, y = 0;
            if (command == 0 || comma == std::string_view::npos || !readNumber(word.substr(0, comma), x)
                || !readNumber(word.substr(comma + 1), y))
                return false;
            if (command == 'M') {
                builder.moveTo({x, y});
                command = 'L';  // further pairs after a move are lines
            } else if (command == 'L') {
                builder.lineTo({x, y});
            } else {
                curve[pairs++] = QPointF(x, y);
                if (pairs == 3) {
                    builder.cubicTo(curve[0], curve[1], curve[2]);
                    pairs = 0;
                }
            }
        }
    }
    builder.finish();
    return pairs == 0;
}

} // namespace

bool readPlainPath(std::string_view attributes, PlainPath& path)
{
    path = PlainPath();
    std::string_view d;
    unsigned seen = 0;
    const bool read = forEachAttribute(attributes, [&](std::string_view name, std::string_view value) {
        static constexpr std::string_view kNames[] = {"d", "stroke", "stroke-width", "stroke-linecap", "stroke-linejoin", "fill",
                                                      "clip-path"};
        unsigned bit = 0;
        while (bit < std::size(kNames) && kNames[bit] != name)
            ++bit;
        if (bit == std::size(kNames) || (seen & (1u << bit)))
            return false;  // anything else, or twice, is for the SVG renderer to judge
        seen |= 1u << bit;
        switch (bit) {
        case 0:
            d = value;
            return true;
        case 1:
            return readColor(value, path.stroked, path.stroke);
        case 2:
            return readWidth(value, path.width);
        case 3:
            path.cap = value == "round" ? Qt::RoundCap : value == "square" ? Qt::SquareCap : Qt::FlatCap;
            return value == "round" || value == "square" || value == "butt";
        case 4:
            path.join = value == "round" ? Qt::RoundJoin : value == "bevel" ? Qt::BevelJoin : Qt::SvgMiterJoin;
            return value == "round" || value == "bevel" || value == "miter";
        case 5:
            return readColor(value, path.filled, path.fill);
        default:
            // The SVG renderer we draw as has no clipping: it draws a clipped
            // path whole, and so do we.
            return true;
        }
    });
    // Without a fill attribute SVG fills black; that rare case is left to the renderer.
    if (!read || !(seen & 1u) || !(seen & (1u << 5)) || !readPathData(d, path))
        return false;
    if (path.width == 0)
        path.stroked = false;
    return true;
}

QPainterPath PlainPath::painterPath() const
{
    QPainterPath out;
    out.setFillRule(Qt::WindingFill);
    for (const Subpath& s : subpaths) {
        out.moveTo(points[std::size_t(s.first)]);
        for (std::size_t i = std::size_t(s.first) + 1; i < std::size_t(s.first + s.count); ++i) {
            if (control[i]) {
                out.cubicTo(points[i], points[i + 1], points[i + 2]);
                i += 2;
            } else {
                out.lineTo(points[i]);
            }
        }
        if (s.closed)
            out.closeSubpath();
    }
    return out;
}

QPen PlainPath::pen() const
{
    QPen out(QBrush(stroke), width, Qt::SolidLine, cap, join);
    out.setMiterLimit(kSvgMiterLimit);
    return out;
}
