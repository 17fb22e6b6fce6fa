#pragma once
// Reads the SVG text the metafile converters write one token at a time, in
// place: a converted plot of a few hundred thousand strokes is a hundred
// megabytes of text, too much to build a document of before drawing.
#include <string_view>

struct SvgToken {
    enum Kind { Start, End, Empty, Other };  // <a ...>, </a>, <a .../>, text, comment, CDATA, declaration
    Kind kind = Other;
    std::string_view name;        // with its prefix, "svg:path"
    std::string_view attributes;  // the raw text between the name and the tag's end
    const char* begin = nullptr;  // the whole token
    const char* end = nullptr;
};

// Reads the token at `at` and moves past it; false at the end of the text or
// where the text is not well-formed enough to find the token's end.
bool nextSvgToken(const char*& at, const char* end, SvgToken& token);

// The name without its namespace prefix.
std::string_view localName(std::string_view name);

// Calls f(name, value) for each attribute in order; false when the attribute
// text is malformed or f returns false.
template <typename F>
bool forEachAttribute(std::string_view text, F f)
{
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    std::size_t i = 0;
    for (;;) {
        while (i < text.size() && space(text[i]))
            ++i;
        if (i == text.size())
            return true;
        const std::size_t nameStart = i;
        while (i < text.size() && !space(text[i]) && text[i] != '=')
            ++i;
        const std::string_view name = text.substr(nameStart, i - nameStart);
        while (i < text.size() && space(text[i]))
            ++i;
        if (name.empty() || i == text.size() || text[i] != '=')
            return false;
        ++i;
        while (i < text.size() && space(text[i]))
            ++i;
        if (i == text.size() || (text[i] != '"' && text[i] != '\''))
            return false;
        const std::size_t close = text.find(text[i], i + 1);
        if (close == std::string_view::npos)
            return false;
        if (!f(name, text.substr(i + 1, close - i - 1)))
            return false;
        i = close + 1;
    }
}
