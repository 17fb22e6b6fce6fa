#include "SvgPainter.h"

#include "BandPainter.h"
#include "PlainPath.h"
#include "SvgPaths.h"
#include "SvgScan.h"

#include <QPainter>
#include <QSvgRenderer>

#include <charconv>
#include <cmath>

namespace {

// A part for the SVG renderer ends after this many elements or bytes, which
// bounds the renderer's memory whatever the size of the document.
constexpr int kPartElements = 4000;
constexpr std::ptrdiff_t kPartBytes = 8 << 20;
// Plain paths between other elements are left to the renderer unless there
// are this many in a row: each part costs a document of its own.
constexpr std::size_t kPlainRun = 16;
// Paths this long, or reaching this far outside the picture, are always drawn
// here: the renderer would drop the end of a long one, and draws both slowly.
constexpr int kLongPath = 256;

QByteArray bytes(std::string_view s) { return QByteArray(s.data(), qsizetype(s.size())); }

bool readLength(std::string_view text, double& value)
{
    if (text.size() > 2 && text.substr(text.size() - 2) == "px")
        text.remove_suffix(2);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(value) && value > 0;
}

// translate(x[, y]) or matrix(a b c d e f), the transformations the converter writes.
bool readTransform(std::string_view text, QTransform& out)
{
    const std::size_t open = text.find('('), close = text.find(')');
    if (open == std::string_view::npos || close != text.size() - 1)
        return false;
    const std::string_view name = text.substr(0, open);
    double v[6] = {};
    int n = 0;
    for (std::size_t i = open + 1; i < close;) {
        if (text[i] == ' ' || text[i] == ',') {
            ++i;
            continue;
        }
        if (n == 6)
            return false;
        const auto [end, error] = std::from_chars(text.data() + i, text.data() + close, v[n]);
        if (error != std::errc() || !std::isfinite(v[n]))
            return false;
        i = std::size_t(end - text.data());
        ++n;
    }
    if (name == "translate" && (n == 1 || n == 2))
        out = QTransform::fromTranslate(v[0], v[1]);
    else if (name == "matrix" && n == 6)
        out = QTransform(v[0], v[1], v[2], v[3], v[4], v[5]);
    else
        return false;
    return true;
}

} // namespace

SvgPainter::SvgPainter(std::string_view svg) : svg_(svg)
{
    const char* at = svg.data();
    const char* end = svg.data() + svg.size();
    SvgToken token;
    while (nextSvgToken(at, end, token) && token.kind == SvgToken::Other) {
    }
    if (token.kind != SvgToken::Start && token.kind != SvgToken::Empty)
        return;
    header_ = std::string_view(svg.data(), std::size_t(token.end - svg.data()));
    rootName_ = token.name;
    rootEmpty_ = token.kind == SvgToken::Empty;
    body_ = token.end;
    // A frame given as plain width and height maps the drawing onto the
    // picture by a scale alone; anything else is left to the renderer.
    bool width = false, height = false;
    plainPaths_ = forEachAttribute(token.attributes, [&](std::string_view name, std::string_view value) {
        if (name == "width")
            return width = readLength(value, frameWidth_);
        if (name == "height")
            return height = readLength(value, frameHeight_);
        return name == "version" || name == "xmlns" || name.substr(0, 6) == "xmlns:";
    }) && width && height;

    QSvgRenderer frame(bytes(header_) + (rootEmpty_ ? "" : "</" + bytes(rootName_) + ">"));
    valid_ = frame.isValid();
    defaultSize_ = frame.defaultSize();
}

bool SvgPainter::renderPart(QImage& image, const char* from, const char* to, const std::vector<Group>& open,
                            const std::vector<Group>& closing)
{
    QByteArray document = bytes(header_);
    for (const Group& g : open)
        document += bytes(g.tag);
    document += QByteArray(from, to - from);
    for (auto g = closing.rbegin(); g != closing.rend(); ++g)
        document += "</" + bytes(g->name) + ">";
    document += "</" + bytes(rootName_) + ">";
    QSvgRenderer renderer(splitLongPaths(document));
    if (!renderer.isValid())
        return false;
    renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, image.width(), image.height()));
    return true;
}

bool SvgPainter::paint(QImage& image)
{
    if (!valid_)
        return false;
    if (rootEmpty_)
        return true;
    const char* at = body_;
    const char* end = svg_.data() + svg_.size();
    const QTransform frame = QTransform::fromScale(image.width() / frameWidth_, image.height() / frameHeight_);
    const QRectF near(-image.width() - image.height(), -image.width() - image.height(), 3.0 * image.width() + 2 * image.height(),
                      2.0 * image.width() + 3 * image.height());

    BandPainter bands(image);
    std::vector<Group> groups, partGroups;  // open now, and where the renderer's part begins
    const char* partBegin = body_;
    int partElements = 0;
    int depth = 0;            // inside an element other than a group
    bool drawingHere = false;  // the last element was a plain path drawn here
    struct Pending {
        PlainPath path;
        QTransform toDevice;
        const char* begin;
    };
    std::vector<Pending> pending;  // plain paths after the part's other elements, not yet drawn

    const auto endPart = [&](const char* cut) {
        bands.finish();
        const bool rendered = partElements == 0 || renderPart(image, partBegin, cut, partGroups, groups);
        partElements = 0;
        return rendered;
    };
    const auto startPart = [&](const char* from) {
        partBegin = from;
        partGroups = groups;
    };

    SvgToken token;
    PlainPath path;
    while (nextSvgToken(at, end, token)) {
        if (token.kind == SvgToken::Other)
            continue;
        const bool group = depth == 0 && localName(token.name) == "g";
        if (token.kind == SvgToken::End && depth == 0 && !group) {
            // The root ends the drawing.
            return token.name == rootName_ && groups.empty() && endPart(token.begin);
        }
        if (group && token.kind != SvgToken::Empty) {
            pending.clear();  // the renderer draws them with the part
            if (token.kind == SvgToken::End) {
                if (groups.empty() || groups.back().name != token.name)
                    return false;
                groups.pop_back();
                continue;
            }
            Group g;
            g.tag = std::string_view(token.begin, std::size_t(token.end - token.begin));
            g.name = token.name;
            const bool parentKnown = groups.empty() ? plainPaths_ : groups.back().known;
            QTransform own;
            g.known = parentKnown && forEachAttribute(token.attributes, [&](std::string_view name, std::string_view value) {
                          return name == "transform" && readTransform(value, own);
                      });
            g.toDevice = g.known ? own * (groups.empty() ? frame : groups.back().toDevice) : QTransform();
            groups.push_back(g);
            continue;
        }
        const bool known = groups.empty() ? plainPaths_ : groups.back().known;
        if (depth == 0 && token.kind == SvgToken::Empty && localName(token.name) == "path" && known
            && readPlainPath(token.attributes, path)) {
            const QTransform toDevice = groups.empty() ? frame : groups.back().toDevice;
            if (drawingHere) {
                bands.draw(path, toDevice);
                startPart(token.end);
                continue;
            }
            bool alone = int(path.points.size()) > kLongPath;
            for (const QPointF& p : path.points)
                alone = alone || !near.contains(toDevice.map(p));
            pending.push_back({std::move(path), toDevice, token.begin});
            if (partElements > 0 && pending.size() < kPlainRun && !alone)
                continue;
            if (!endPart(pending.front().begin))
                return false;
            for (const Pending& p : pending)
                bands.draw(p.path, p.toDevice);
            pending.clear();
            drawingHere = true;
            startPart(token.end);
            continue;
        }
        // Any other element, drawn by the renderer.
        if (depth == 0) {
            drawingHere = false;
            pending.clear();
            ++partElements;
        }
        if (token.kind == SvgToken::Start)
            ++depth;
        else if (token.kind == SvgToken::End)
            --depth;
        if (depth == 0 && (partElements >= kPartElements || token.end - partBegin > kPartBytes)) {
            if (!endPart(token.end))
                return false;
            startPart(token.end);
        }
    }
    return false;  // the root never ended
}
