#pragma once
// Recognises a metafile by its content and walks its record chain before any
// parser sees it. The parsers trust record sizes and declared extents; a chain
// that leaves the file, never reaches its end record or declares an absurd
// picture size is refused here with a short reason.
#include <cstddef>
#include <string>

enum class MetafileKind { Unknown, Emf, Wmf };

MetafileKind detectMetafile(const unsigned char* data, std::size_t size);

// What the record chain holds, as far as it could be walked: the renderer's
// time grows with both, and the limits on them are checked before converting.
struct MetafileCounts {
    std::size_t records = 0;
    std::size_t texts = 0;
};

// Both return an empty string when the file is structurally sound, otherwise
// the reason it is refused; `counts` covers the records walked either way.
std::string checkEmf(const unsigned char* data, std::size_t size, MetafileCounts& counts);
std::string checkWmf(const unsigned char* data, std::size_t size, MetafileCounts& counts);
