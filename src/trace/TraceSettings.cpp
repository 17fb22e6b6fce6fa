#include "trace/TraceSettings.h"

#include "platform/NumberText.h"

#include <cmath>
#include <limits>

namespace {

// A count that fits the 16-bit field and is at least `minimum`. Every test is
// made on the real value, so "7.0" passes and "2.5", "-1" or "40000" do not.
std::optional<std::int16_t> readCount(const QString& text, int minimum)
{
    // An empty box or letters are not a number; "." is the decimal separator
    // whatever the user's locale says.
    const auto value = parseDecimal(text);
    if (!value)
        return std::nullopt;
    const double v = *value;
    if (v < minimum || v != std::floor(v) || v > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(v);
}

} // namespace

std::optional<TraceSettings> parseTraceSettings(const QString& freqText, const QString& rangeText)
{
    // Both boxes are read before deciding: one bad box rejects the pair.
    const auto freq = readCount(freqText, 1);
    const auto range = readCount(rangeText, 0);
    if (!freq || !range)
        return std::nullopt;
    return TraceSettings{*freq, *range};
}
