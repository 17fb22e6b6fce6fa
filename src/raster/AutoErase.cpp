#include "raster/AutoErase.h"

#include <algorithm>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr double kDarkAverage = 150.0;
constexpr std::uint32_t kWhite = 0x00ffffffu;

bool isDark(std::uint64_t red, std::uint64_t green, std::uint64_t blue, std::size_t count)
{
    const double d = double(count);
    return double(red) / d < kDarkAverage && double(blue) / d < kDarkAverage && double(green) / d < kDarkAverage;
}

// Adds the row into the per-column batch sums and returns its own channel
// sums. Rows are dark only now and then, so each row is added to the columns
// straight away, in the same sweep that sums it, and taken out again if it
// turns out to be dark.
void sumRowIntoColumns(const std::uint32_t* row, std::size_t width, std::uint32_t* colBlueRed,
                       std::uint32_t* colGreen, std::uint64_t& red, std::uint64_t& green, std::uint64_t& blue)
{
    std::size_t x = 0;
#if defined(__SSE2__)
    // The masked values serve both sums. Per 32-bit lane, blue and red share one
    // lane in its two 16-bit halves, as in the column batches below; a lane takes
    // one pixel per step, so after 256 steps the halves are emptied into the
    // 64-bit totals before they can carry into each other.
    const __m128i blueRedMask = _mm_set1_epi32(0x00ff00ff);
    const __m128i lowByte = _mm_set1_epi32(0x000000ff);
    std::uint32_t lanes[4];
    while (x + 4 <= width) {
        __m128i rowBlueRed = _mm_setzero_si128();
        __m128i rowGreen = _mm_setzero_si128();
        const std::size_t end = std::min(width - (width - x) % 4, x + 4 * 256);
        for (; x < end; x += 4) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
            const __m128i br = _mm_and_si128(v, blueRedMask);
            const __m128i g = _mm_and_si128(_mm_srli_epi32(v, 8), lowByte);
            rowBlueRed = _mm_add_epi32(rowBlueRed, br);
            rowGreen = _mm_add_epi32(rowGreen, g);
            auto* cbr = reinterpret_cast<__m128i*>(colBlueRed + x);
            auto* cg = reinterpret_cast<__m128i*>(colGreen + x);
            _mm_storeu_si128(cbr, _mm_add_epi32(_mm_loadu_si128(cbr), br));
            _mm_storeu_si128(cg, _mm_add_epi32(_mm_loadu_si128(cg), g));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), rowBlueRed);
        for (std::uint32_t lane : lanes) {
            blue += lane & 0xffffu;
            red += lane >> 16;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), rowGreen);
        for (std::uint32_t lane : lanes)
            green += lane;
    }
#endif
    for (; x < width; ++x) {
        const std::uint32_t v = row[x];
        blue += v & 0xffu;
        green += (v >> 8) & 0xffu;
        red += (v >> 16) & 0xffu;
        colBlueRed[x] += v & 0x00ff00ffu;
        colGreen[x] += (v >> 8) & 0xffu;
    }
}

// Column sums: within one batch of rows, blue and red are summed side by side
// in the two 16-bit halves of a 32-bit lane (v & 0x00ff00ff), which keeps the
// adds plain and vectorisable. 256 values of 255 (65 280) still fit in a half;
// then the batch is flushed into 64-bit totals.
constexpr int kBatch = 256;

} // namespace

void AutoErasePixels(PixelBuffer& buffer)
{
    // The picture is columns 0..W - 1 of rows 1..H; the spare row 0 and column
    // W hold no picture and would pull every average towards their values.
    const int maxX = buffer.maxX();
    const int maxY = buffer.maxY();
    if (buffer.empty() || maxX < 1 || maxY < 1)
        return;
    const std::size_t width = std::size_t(maxX);
    const std::size_t height = std::size_t(maxY);
    const std::size_t stride = width + 1;
    auto* pixels = reinterpret_cast<std::uint32_t*>(buffer.data());

    // One sweep does both jobs. Whether a row is erased depends on that row
    // alone, so each row is judged and, if dark, whitened before it is added to
    // the column sums; the column sums therefore see the row pass's result, as
    // if the column pass ran afterwards. Whitened rows add 255 to every column,
    // which is counted once instead of added element by element.
    std::vector<std::uint32_t> colBlueRed(width, 0), colGreen(width, 0);
    std::vector<std::uint64_t> sumBlue(width, 0), sumRed(width, 0), sumGreen(width, 0);
    std::uint64_t whiteRows = 0;
    int batchRows = 0;

    auto flushColumns = [&] {
        for (std::size_t x = 0; x < width; ++x) {
            sumBlue[x] += colBlueRed[x] & 0xffffu;
            sumRed[x] += colBlueRed[x] >> 16;
            sumGreen[x] += colGreen[x];
            colBlueRed[x] = 0;
            colGreen[x] = 0;
        }
        batchRows = 0;
    };

    for (int y = 1; y <= maxY; ++y) {
        std::uint32_t* row = pixels + std::size_t(y) * stride;

        std::uint64_t red = 0, green = 0, blue = 0;
        sumRowIntoColumns(row, width, colBlueRed.data(), colGreen.data(), red, green, blue);

        if (isDark(red, green, blue, width)) {
            for (std::size_t x = 0; x < width; ++x) {
                colBlueRed[x] -= row[x] & 0x00ff00ffu;
                colGreen[x] -= (row[x] >> 8) & 0xffu;
                row[x] |= kWhite;
            }
            ++whiteRows;
            continue;
        }
        if (++batchRows == kBatch)
            flushColumns();
    }
    flushColumns();

    std::vector<std::uint32_t> columnMask(width, 0);
    std::vector<std::uint32_t> erasedColumns;
    const std::uint64_t whiteSum = whiteRows * 255u;
    for (std::size_t x = 0; x < width; ++x) {
        if (isDark(sumRed[x] + whiteSum, sumGreen[x] + whiteSum, sumBlue[x] + whiteSum, height)) {
            columnMask[x] = kWhite;
            erasedColumns.push_back(std::uint32_t(x));
        }
    }
    if (erasedColumns.empty())
        return;
    // A few grid columns touch a few cache lines per row; many are cheaper as
    // one masked sweep over everything.
    const bool few = erasedColumns.size() * 16 < width;
    for (int y = 1; y <= maxY; ++y) {
        std::uint32_t* row = pixels + std::size_t(y) * stride;
        if (few) {
            for (std::uint32_t x : erasedColumns)
                row[x] |= kWhite;
        } else {
            for (std::size_t x = 0; x < width; ++x)
                row[x] |= columnMask[x];
        }
    }
}
