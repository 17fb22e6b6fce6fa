#include "EmfConverter.h"

#include <emf2svg.h>

#include <cstdlib>
#include <string_view>
#include <vector>

bool convertEmf(const unsigned char* data, std::size_t size, std::string& svg, std::string& error)
{
    // The converter takes a mutable buffer; give it a private copy.
    std::vector<char> contents(data, data + size);

    generatorOptions options{};
    options.nameSpace = const_cast<char*>("svg");
    options.verbose = false;
    options.emfplus = true;
    options.svgDelimiter = true;
    // Zero keeps the size the file declares; the program stretches the drawing
    // to its canvas anyway.
    options.imgWidth = 0;
    options.imgHeight = 0;

    char* out = nullptr;
    std::size_t outLength = 0;
    const int ok = emf2svg(contents.data(), contents.size(), &out, &outLength, &options);
    if (!ok || out == nullptr || outLength == 0) {
        std::free(out);
        error = "EMF conversion failed";
        return false;
    }
    svg.assign(out, outLength);
    std::free(out);
    // The converter closes a clipping region's definition without the prefix
    // it opened it with, which leaves the document malformed: every metafile
    // with a clipping region (most plots clip to their frame) would be refused.
    const std::string_view unprefixed = "</clipPath></defs>", prefixed = "</svg:clipPath></svg:defs>";
    for (std::size_t at = 0; (at = svg.find(unprefixed, at)) != std::string::npos; at += prefixed.size())
        svg.replace(at, unprefixed.size(), prefixed);
    return true;
}
