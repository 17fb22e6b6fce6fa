#pragma once
// What the decoding helper sends back on its standard output: one header, then,
// on success, height rows of width opaque 32-bit pixels (QImage::Format_RGB32,
// no padding), so the program reads them straight into its one picture.
#include <cstdint>

namespace decodeproto {

constexpr std::uint32_t kMagic = 0x4456524F;  // "ORVD"

// Why a picture was refused; the program turns it into the user's message.
enum class Status : std::uint32_t {
    Ok = 0,
    Unsupported,      // not a picture format we read, or noise behind a magic number
    UnreadableSize,   // the header gives no usable size
    TooLarge,         // width and height carry the declared size
    Truncated,        // the pixel data ends early
    Damaged,          // the decoder reported damage
    MetafileDamaged,  // a metafile the check or the converter refused
    OutOfMemory,      // the helper's memory cap stopped the decoder
    // Limits no graph picture reaches, checked before decoding: a crafted file
    // past them would keep a decoder busy for many seconds.
    SideTooLong,      // width or height beyond kMaxSide; width and height carry the size
    TooNarrow,        // one side more than kMaxAspect times the other; likewise
    TooManyScans,     // a JPEG of more than kMaxJpegScans scans; count carries how many
    TooManyTexts,     // a metafile of more than kMaxMetafileTexts texts; likewise
    TooManyRecords,   // a metafile of more than kMaxMetafileRecords records; likewise
};

struct Header {
    std::uint32_t magic = kMagic;
    Status status = Status::Ok;
    std::uint32_t width = 0;   // of the pixels that follow
    std::uint32_t height = 0;
    std::uint32_t naturalWidth = 0;  // a metafile's own size; the pixels' size otherwise
    std::uint32_t naturalHeight = 0;
    std::uint32_t vector = 0;  // 1 for a rendered metafile
    std::uint32_t count = 0;  // what a count limit found
};
static_assert(sizeof(Header) == 32);

// Larger pictures are refused from their declared size, before decoding.
constexpr std::int64_t kMaxPixels = 400'000'000;
constexpr std::int64_t kMaxSide = 65'535;
constexpr std::int64_t kMaxAspect = 1'000;
// A progressive JPEG has about ten scans; each scan walks the whole picture.
constexpr std::int64_t kMaxJpegScans = 100;
// A graph's labels are a few hundred texts; a plotter's finest curve a few
// hundred thousand records (each record costs the renderer a few microseconds).
constexpr std::int64_t kMaxMetafileTexts = 5'000;
constexpr std::int64_t kMaxMetafileRecords = 500'000;

} // namespace decodeproto
