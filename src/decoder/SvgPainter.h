#pragma once
// Paints the SVG a metafile converter wrote, in document order: plain paths
// (nearly all of a plot) through BandPainter, everything else through Qt's SVG
// renderer a few thousand elements at a time. The renderer keeps a node and
// a cached outline of several kilobytes for every element it draws, so a plot
// of half a million strokes given to it whole needs more than the helper's
// memory, and it spends most of its time on those nodes, not on drawing.
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QTransform>

#include <string_view>
#include <vector>

class SvgPainter {
public:
    // `svg` must outlive the painter.
    explicit SvgPainter(std::string_view svg);

    // Whether the document's frame could be read, and its size.
    bool isValid() const { return valid_; }
    QSize defaultSize() const { return defaultSize_; }

    // Paints the drawing stretched over the whole image; false when the SVG
    // renderer refuses a part of the document or the document is malformed.
    bool paint(QImage& image);

private:
    struct Group {
        std::string_view tag;  // the start tag, to open the group again in a later part
        std::string_view name;
        bool known = false;    // only a transformation we can follow
        QTransform toDevice;
    };
    bool renderPart(QImage& image, const char* from, const char* to, const std::vector<Group>& open,
                    const std::vector<Group>& closing);

    std::string_view svg_;
    std::string_view header_;  // everything up to and including the root's start tag
    std::string_view rootName_;
    const char* body_ = nullptr;
    bool valid_ = false;
    bool rootEmpty_ = false;
    bool plainPaths_ = false;  // the frame is plain enough to draw paths here
    double frameWidth_ = 0, frameHeight_ = 0;
    QSize defaultSize_;
};
