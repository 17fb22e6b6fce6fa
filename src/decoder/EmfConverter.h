#pragma once
#include <cstddef>
#include <string>

// Converts an enhanced metafile, already checked by checkEmf, to SVG text.
// Returns false with a reason in `error` when the converter gives up.
bool convertEmf(const unsigned char* data, std::size_t size, std::string& svg, std::string& error);
