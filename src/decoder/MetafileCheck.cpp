#include "MetafileCheck.h"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint32_t kEmrLast = 122;  // highest record type an enhanced metafile defines
constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::size_t kEmfHeaderMin = 88;

constexpr std::uint32_t kPlaceableMagic = 0x9AC6CDD7;
constexpr std::size_t kPlaceableSize = 22;
constexpr std::size_t kWmfHeaderSize = 18;

// Largest picture side we agree to draw, in pixels. A graph worth digitising is
// a few thousand pixels wide; anything beyond this is a damaged header.
constexpr long long kMaxSidePixels = 20000;
// Same bound for the physical frame, in hundredths of a millimetre (10 m).
constexpr long long kMaxFrame = 1000000;
constexpr std::size_t kMaxRecords = 20000000;

std::uint16_t u16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::int16_t s16(const unsigned char* p) { return static_cast<std::int16_t>(u16(p)); }
std::uint32_t u32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8)
        | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::int32_t s32(const unsigned char* p) { return static_cast<std::int32_t>(u32(p)); }

bool isStandardWmfHeader(const unsigned char* p, std::size_t size)
{
    if (size < kWmfHeaderSize)
        return false;
    const std::uint16_t type = u16(p);
    const std::uint16_t headerWords = u16(p + 2);
    const std::uint16_t version = u16(p + 4);
    return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
}

// The fixed part of the record types the converter reads in full, in bytes
// from the record's start; and where a record declares counts, the room
// those counts need. A record shorter than that would be read past its end.
struct RecordLayout {
    std::uint32_t type;
    std::uint32_t fixed;
};
constexpr RecordLayout kLayouts[] = {
    {2, 28}, {3, 28}, {4, 28}, {5, 28}, {6, 28},       // poly-bezier/-gon/-line(-to): count at 24
    {7, 32}, {8, 32},                                  // poly-polyline/-gon: polygons 24, points 28
    {35, 32}, {36, 36},                                // set / modify world transform
    {44, 32}, {45, 40}, {46, 40}, {47, 40}, {55, 40},  // round rect, arc, chord, pie, arc to
    {56, 28}, {76, 100}, {77, 108}, {81, 80}, {82, 104},  // poly draw, bit/stretch blt, stretch DIB, font
    {83, 76}, {84, 76},                                // text out A / W
    {85, 28}, {86, 28}, {87, 28}, {88, 28}, {89, 28},  // the same poly records with 16-bit points
    {90, 32}, {91, 32}, {92, 28}, {95, 52}, {114, 108},
};

// Whether `count` items of `itemSize` bytes fit in `room` bytes.
bool fits(std::uint64_t count, std::uint64_t itemSize, std::uint64_t room) { return count * itemSize <= room; }

// Bytes [offset, offset + length) inside the record.
bool inside(std::uint64_t offset, std::uint64_t length, std::uint64_t size) { return offset <= size && length <= size - offset; }

std::string checkEmfRecord(const unsigned char* r, std::uint32_t type, std::uint32_t size)
{
    const RecordLayout* layout = nullptr;
    for (const RecordLayout& l : kLayouts) {
        if (l.type == type)
            layout = &l;
    }
    if (!layout)
        return {};
    if (size < layout->fixed)
        return "record shorter than its type";
    const std::uint64_t room = size - layout->fixed;
    switch (type) {
    case 2: case 3: case 4: case 5: case 6:
        return fits(u32(r + 24), 8, room) ? std::string() : "points past the record";
    case 85: case 86: case 87: case 88: case 89:
        return fits(u32(r + 24), 4, room) ? std::string() : "points past the record";
    case 56: case 92: {  // points, then one type byte each
        const std::uint64_t points = u32(r + 24);
        return fits(points, type == 56 ? 9 : 5, room) ? std::string() : "points past the record";
    }
    case 7: case 8: case 90: case 91: {
        const std::uint64_t polygons = u32(r + 24);
        const std::uint64_t points = u32(r + 28);
        if (!fits(polygons, 4, room) || !fits(points, type <= 8 ? 8 : 4, room - polygons * 4))
            return "points past the record";
        std::uint64_t total = 0;
        for (std::uint64_t i = 0; i < polygons; ++i)
            total += u32(r + 32 + i * 4);
        return total <= points ? std::string() : "polygon counts exceed the points";
    }
    case 83: case 84: {
        const std::uint64_t chars = u32(r + 44);
        const std::uint64_t offString = u32(r + 48);
        const std::uint64_t offDx = u32(r + 72);
        if (!inside(offString, chars * (type == 84 ? 2 : 1), size) || (offDx != 0 && !inside(offDx, chars * 4, size)))
            return "text past the record";
        return {};
    }
    case 76: case 77: case 81: case 114: {
        // Bitmap header and bits, wherever the record keeps them.
        const std::uint32_t at = type == 81 ? 48 : 84;
        if (!inside(u32(r + at), u32(r + at + 4), size) || !inside(u32(r + at + 8), u32(r + at + 12), size))
            return "bitmap past the record";
        return {};
    }
    case 95:
        return fits(u32(r + 48), 4, room) && inside(u32(r + 12), u32(r + 16), size) && inside(u32(r + 20), u32(r + 24), size)
            ? std::string()
            : "pen data past the record";
    default:
        return {};
    }
}

bool sideOk(long long a, long long b, long long limit)
{
    const long long side = std::llabs(b - a);
    return side > 0 && side <= limit;
}

// Text records: text out A / W, poly text out A / W, small text out.
bool isEmfText(std::uint32_t type) { return type == 83 || type == 84 || type == 96 || type == 97 || type == 108; }
// Text out, extended text out.
bool isWmfText(std::uint16_t function) { return function == 0x0521 || function == 0x0a32; }

} // namespace

MetafileKind detectMetafile(const unsigned char* data, std::size_t size)
{
    if (size >= 44 && u32(data) == kEmrHeader && u32(data + 40) == kEmfSignature)
        return MetafileKind::Emf;
    if (size >= 4 && u32(data) == kPlaceableMagic)
        return MetafileKind::Wmf;
    if (isStandardWmfHeader(data, size))
        return MetafileKind::Wmf;
    return MetafileKind::Unknown;
}

std::string checkEmf(const unsigned char* data, std::size_t size, MetafileCounts& counts)
{
    counts = {};
    if (size < kEmfHeaderMin)
        return "header truncated";
    const std::uint32_t headerSize = u32(data + 4);
    if (headerSize < kEmfHeaderMin || headerSize % 4 != 0 || headerSize > size)
        return "bad header record size";

    // Bounds are device pixels, the frame hundredths of a millimetre; the
    // converter sizes its drawing from them.
    if (!sideOk(s32(data + 8), s32(data + 16), kMaxSidePixels)
        || !sideOk(s32(data + 12), s32(data + 20), kMaxSidePixels))
        return "declared picture size out of range";
    if (!sideOk(s32(data + 24), s32(data + 32), kMaxFrame) || !sideOk(s32(data + 28), s32(data + 36), kMaxFrame))
        return "declared frame out of range";
    const std::int32_t deviceX = s32(data + 72);
    const std::int32_t deviceY = s32(data + 76);
    const std::int32_t millimetresX = s32(data + 80);
    const std::int32_t millimetresY = s32(data + 84);
    if (deviceX <= 0 || deviceY <= 0 || millimetresX <= 0 || millimetresY <= 0 || deviceX > 1000000
        || deviceY > 1000000 || millimetresX > 1000000 || millimetresY > 1000000)
        return "declared device size out of range";

    const std::uint32_t declaredBytes = u32(data + 48);
    if (declaredBytes > size)
        return "file is shorter than its header says";
    if (declaredBytes < headerSize)
        return "bad declared file size";

    std::size_t offset = 0;
    for (std::size_t count = 0; count < kMaxRecords; ++count) {
        if (declaredBytes - offset < 8)
            return "record chain runs past the end";
        const std::uint32_t type = u32(data + offset);
        const std::uint32_t recordSize = u32(data + offset + 4);
        if (type == 0 || type > kEmrLast || (count == 0) != (type == kEmrHeader))
            return "bad record type";
        if (recordSize < 8 || recordSize % 4 != 0 || recordSize > declaredBytes - offset)
            return "bad record size";
        ++counts.records;
        counts.texts += isEmfText(type);
        if (type == kEmrEof)
            return {};
        std::string bad = checkEmfRecord(data + offset, type, recordSize);
        if (!bad.empty())
            return bad;
        offset += recordSize;
    }
    return "too many records";
}

std::string checkWmf(const unsigned char* data, std::size_t size, MetafileCounts& counts)
{
    counts = {};
    std::size_t offset = 0;
    if (size >= 4 && u32(data) == kPlaceableMagic) {
        if (size < kPlaceableSize)
            return "header truncated";
        const int left = s16(data + 6);
        const int top = s16(data + 8);
        const int right = s16(data + 10);
        const int bottom = s16(data + 12);
        const int unitsPerInch = u16(data + 14);
        if (unitsPerInch == 0)
            return "declared resolution is zero";
        // The picture is drawn at 96 dpi from the bounding box in these units.
        const long long widthPx = std::llabs(static_cast<long long>(right) - left) * 96 / unitsPerInch;
        const long long heightPx = std::llabs(static_cast<long long>(bottom) - top) * 96 / unitsPerInch;
        if (right == left || bottom == top || widthPx > kMaxSidePixels || heightPx > kMaxSidePixels)
            return "declared picture size out of range";
        offset = kPlaceableSize;
    }
    if (!isStandardWmfHeader(data + offset, size - offset))
        return "bad header";
    const std::size_t headerWords = u16(data + offset + 2);
    offset += headerWords * 2;

    for (std::size_t count = 0; count < kMaxRecords; ++count) {
        if (size - offset < 6)
            return "record chain runs past the end";
        const std::uint64_t recordBytes = static_cast<std::uint64_t>(u32(data + offset)) * 2;
        const std::uint16_t function = u16(data + offset + 4);
        if (recordBytes < 6 || recordBytes > size - offset)
            return "bad record size";
        ++counts.records;
        counts.texts += isWmfText(function);
        if (function == 0)
            return recordBytes == 6 ? std::string() : std::string("bad end record");
        offset += static_cast<std::size_t>(recordBytes);
    }
    return "too many records";
}
