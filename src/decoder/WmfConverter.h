#pragma once
#include <cstddef>
#include <string>

// Converts a standard (optionally placeable) metafile, already checked by
// checkWmf, to SVG text. Returns false with a reason in `error` on failure.
bool convertWmf(const unsigned char* data, std::size_t size, std::string& svg, std::string& error);
