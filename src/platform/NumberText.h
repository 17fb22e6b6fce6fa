#pragma once
// The program's one way of writing numbers as text and of reading typed numbers.
// Both ignore the system locale: a data file written on one machine must read the
// same on any other, and the reference dialog accepts "1.5" everywhere.
#include <QString>
#include <optional>

// Decimal text of a double with at most 15 significant digits, shortest form:
// no trailing zeros, no trailing point, "." as separator, "-" when negative.
// Plain decimal while the leading digit's decimal exponent lies in -15..15,
// which covers every number the program produces; beyond that the text is the
// digits followed by "E" and the exponent ("1.5E20", "2E-16"), the same shape the
// significant-figure rounding uses. Non-finite values give "NaN", "Inf", "-Inf".
QString formatDouble(double value);

// The same form with at most 7 significant digits, for single-precision values.
QString formatSingle(float value);

// Reads optional sign, digits with an optional point, optional exponent, blanks
// around allowed. "." is the only separator whatever the locale. Empty text,
// anything else, and a magnitude beyond the double range give nullopt; a value
// too small for a double reads as zero.
std::optional<double> parseDecimal(const QString& text);
