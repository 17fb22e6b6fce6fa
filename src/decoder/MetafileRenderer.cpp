#include "MetafileRenderer.h"

#include "EmfConverter.h"
#include "MetafileCheck.h"
#include "SvgPainter.h"
#include "WmfConverter.h"


#include <unistd.h>

#include <cmath>
#include <cstdio>

using decodeproto::Status;

namespace {

constexpr int kMaxNaturalSide = 20000;

// The libraries may print diagnostics to standard output, which carries the
// pixels; send their output to standard error while they run.
class StdoutDiverted {
public:
    StdoutDiverted()
    {
        std::fflush(stdout);
        saved_ = dup(STDOUT_FILENO);
        if (saved_ >= 0)
            dup2(STDERR_FILENO, STDOUT_FILENO);
    }
    ~StdoutDiverted()
    {
        std::fflush(stdout);
        if (saved_ >= 0) {
            dup2(saved_, STDOUT_FILENO);
            close(saved_);
        }
    }
    StdoutDiverted(const StdoutDiverted&) = delete;
    StdoutDiverted& operator=(const StdoutDiverted&) = delete;

private:
    int saved_ = -1;
};

// Qt's SVG module drops what it cannot draw with a warning and carries on; a
// picture with a silently missing part is worse than no picture, so any
// complaint fails the load.
class SvgComplaints {
public:
    SvgComplaints() : previous_(qInstallMessageHandler(&SvgComplaints::handle)) { count() = 0; }
    ~SvgComplaints() { qInstallMessageHandler(previous_); }
    static int& count()
    {
        static int n = 0;
        return n;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (type != QtDebugMsg && context.category && qstrncmp(context.category, "qt.svg", 6) == 0)
            ++count();
        std::fprintf(stderr, "%s\n", qPrintable(message));
    }
    QtMessageHandler previous_;
};

} // namespace

QSize clampedRenderSize(QSize requested)
{
    double scale = 1;
    scale = std::min(scale, double(kMaxRenderSide) / requested.width());
    scale = std::min(scale, double(kMaxRenderSide) / requested.height());
    scale = std::min(scale, std::sqrt(double(kMaxRenderPixels) / (double(requested.width()) * requested.height())));
    if (scale >= 1)
        return requested;
    return QSize(std::max(1, int(requested.width() * scale)), std::max(1, int(requested.height() * scale)));
}

DecodeOutcome renderMetafile(const QByteArray& file, QSize size)
{
    const auto* data = reinterpret_cast<const unsigned char*>(file.constData());
    const std::size_t length = std::size_t(file.size());
    const MetafileKind kind = detectMetafile(data, length);
    if (kind == MetafileKind::Unknown)
        return DecodeOutcome::refused(Status::Unsupported);
    MetafileCounts counts;
    std::string error = kind == MetafileKind::Emf ? checkEmf(data, length, counts) : checkWmf(data, length, counts);
    // Past a limit the file is refused for that, even when its chain breaks
    // further on: the count is the plainer reason.
    if (counts.records > std::size_t(decodeproto::kMaxMetafileRecords))
        return DecodeOutcome::tooMany(Status::TooManyRecords, qint64(counts.records));
    if (counts.texts > std::size_t(decodeproto::kMaxMetafileTexts))
        return DecodeOutcome::tooMany(Status::TooManyTexts, qint64(counts.texts));
    std::string svg;
    if (error.empty()) {
        StdoutDiverted diverted;
        const bool converted = kind == MetafileKind::Emf ? convertEmf(data, length, svg, error)
                                                         : convertWmf(data, length, svg, error);
        if (!converted && error.empty())
            error = "conversion failed";
    }
    if (!error.empty()) {
        std::fprintf(stderr, "orvanta-decode: %s\n", error.c_str());
        return DecodeOutcome::refused(Status::MetafileDamaged);
    }

    SvgComplaints complaints;
    SvgPainter painter(svg);
    const QSize natural = painter.defaultSize();
    if (!painter.isValid() || natural.isEmpty() || natural.width() > kMaxNaturalSide
        || natural.height() > kMaxNaturalSide || SvgComplaints::count() > 0)
        return DecodeOutcome::refused(Status::MetafileDamaged);

    DecodeOutcome out;
    out.natural = natural;
    out.image = QImage(clampedRenderSize(size.isEmpty() ? natural : size), QImage::Format_RGB32);
    if (out.image.isNull())
        return DecodeOutcome::refused(Status::OutOfMemory);
    out.image.fill(Qt::white);
    if (!painter.paint(out.image))
        return DecodeOutcome::refused(Status::MetafileDamaged);
    if (SvgComplaints::count() > 0)
        return DecodeOutcome::refused(Status::MetafileDamaged);
    return out;
}
