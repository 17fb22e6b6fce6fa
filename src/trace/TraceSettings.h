#pragma once
// The tracer's two parameters. They live from start-up to exit and are changed
// only through the trace settings dialog.
#include <QString>

#include <cstdint>
#include <optional>

struct TraceSettings {
    // Columns whose offset from the start column is a multiple of freq record a
    // point. Never 0: the tracer takes the offset modulo freq.
    std::int16_t freq = 5;
    // Height of the search window around the current row, and side of the
    // scan frame, in pixels.
    std::int16_t range = 50;
};

// Reads the dialog's two boxes. Accepts whole numbers only: freq 1..32767 and
// range 0..32767. "." is the decimal separator whatever the locale, blanks
// around the number are ignored and "7.0" reads as 7. nullopt when either text
// is rejected; the caller then stores neither.
std::optional<TraceSettings> parseTraceSettings(const QString& freqText, const QString& rangeText);
