#include "SvgScan.h"

#include <cstring>

namespace {

const char* find(const char* from, const char* end, std::string_view what)
{
    if (std::size_t(end - from) < what.size())
        return nullptr;
    const char* last = end - what.size();
    for (const char* p = from; p <= last; ++p) {
        p = static_cast<const char*>(std::memchr(p, what[0], std::size_t(last - p + 1)));
        if (!p)
            return nullptr;
        if (std::memcmp(p, what.data(), what.size()) == 0)
            return p;
    }
    return nullptr;
}

bool startsWith(const char* at, const char* end, std::string_view what)
{
    return std::size_t(end - at) >= what.size() && std::memcmp(at, what.data(), what.size()) == 0;
}

// Past the end of the construct that starts at `at` and ends with `close`.
bool skipPast(const char*& at, const char* end, std::string_view close, SvgToken& token)
{
    const char* found = find(at, end, close);
    if (!found)
        return false;
    token.kind = SvgToken::Other;
    token.begin = at;
    at = token.end = found + close.size();
    return true;
}

} // namespace

std::string_view localName(std::string_view name)
{
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

bool nextSvgToken(const char*& at, const char* end, SvgToken& token)
{
    if (at >= end)
        return false;
    token = SvgToken();
    if (*at != '<') {
        const void* open = std::memchr(at, '<', std::size_t(end - at));
        token.begin = at;
        at = token.end = open ? static_cast<const char*>(open) : end;
        return true;
    }
    if (startsWith(at, end, "<![CDATA["))
        return skipPast(at, end, "]]>", token);
    if (startsWith(at, end, "<!--"))
        return skipPast(at, end, "-->", token);
    if (startsWith(at, end, "<?"))
        return skipPast(at, end, "?>", token);
    if (startsWith(at, end, "<!"))
        return skipPast(at, end, ">", token);  // a document type without an internal subset

    token.begin = at;
    const char* p = at + 1;
    const bool closing = p < end && *p == '/';
    if (closing)
        ++p;
    const char* nameStart = p;
    while (p < end && *p != ' ' && *p != '\t' && *p != '\n' && *p != '\r' && *p != '>' && *p != '/')
        ++p;
    token.name = std::string_view(nameStart, std::size_t(p - nameStart));
    const char* attributesStart = p;
    // The tag ends at the first '>' outside a quoted value.
    char quote = 0;
    for (; p < end; ++p) {
        if (quote) {
            if (*p == quote)
                quote = 0;
        } else if (*p == '"' || *p == '\'') {
            quote = *p;
        } else if (*p == '>') {
            break;
        }
    }
    if (p == end || token.name.empty())
        return false;
    const bool empty = !closing && p[-1] == '/';
    token.attributes = std::string_view(attributesStart, std::size_t(p - (empty ? 1 : 0) - attributesStart));
    token.kind = closing ? SvgToken::End : empty ? SvgToken::Empty : SvgToken::Start;
    at = token.end = p + 1;
    return true;
}
