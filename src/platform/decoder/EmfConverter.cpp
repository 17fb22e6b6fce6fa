#include "EmfConverter.h"

#include <emf2svg.h>

#include <cstdlib>
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
    return true;
}
