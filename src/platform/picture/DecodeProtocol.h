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
};

struct Header {
    std::uint32_t magic = kMagic;
    Status status = Status::Ok;
    std::uint32_t width = 0;   // of the pixels that follow
    std::uint32_t height = 0;
    std::uint32_t naturalWidth = 0;  // a metafile's own size; the pixels' size otherwise
    std::uint32_t naturalHeight = 0;
    std::uint32_t vector = 0;  // 1 for a rendered metafile
    std::uint32_t reserved = 0;
};
static_assert(sizeof(Header) == 32);

// Larger pictures are refused from their declared size, before decoding.
constexpr std::int64_t kMaxPixels = 400'000'000;

} // namespace decodeproto
