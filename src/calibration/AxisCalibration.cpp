#include "calibration/AxisCalibration.h"

#include <array>
#include <cmath>
#include <limits>

// The mantissa is rounded half to even on its exact binary value. Scaling a
// double by a small power of ten is exact in the x87/quad long double (53 + 7
// bits fit in 64), so a true half such as 2.5 or 1.25 is seen as a half, while
// 1.005, stored as 1.00499999999999989..., rounds down like the value it is.
static_assert(std::numeric_limits<long double>::digits >= 64,
              "significant-figure rounding needs an extended long double");

namespace {

const double kLn10 = std::log(10.0);

std::optional<double> finiteOrNothing(double v)
{
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

// Exact powers of ten while they fit the long double mantissa, computed otherwise.
long double powerOfTen(int n)
{
    static const auto table = [] {
        std::array<long double, 28> t{};
        t[0] = 1.0L;
        for (std::size_t i = 1; i < t.size(); ++i)
            t[i] = t[i - 1] * 10.0L;
        return t;
    }();
    if (n >= 0 && n < static_cast<int>(table.size()))
        return table[static_cast<std::size_t>(n)];
    return std::pow(10.0L, static_cast<long double>(n));
}

// v * 10^n, exact whenever the result fits a long double.
long double shiftDecimal(double v, int n)
{
    const long double lv = v;
    return n >= 0 ? lv * powerOfTen(n) : lv / powerOfTen(-n);
}

}  // namespace

std::optional<double> AxisValueFromX(const AxisCalibration& c, float x)
{
    // Every operand here is single precision, and so is the arithmetic: the
    // readout must give the same digits the values were always captured with.
    const float span = c.refX2Pos - c.refX1Pos;
    if (span == 0.0f)
        return std::nullopt;
    const float t = (x - c.refX1Pos) / span;
    if (c.xLinear) {
        const float difference = c.x2Value - c.x1Value;
        const float scaled = t * difference;
        const float value = scaled + c.x1Value;
        return finiteOrNothing(value);
    }
    if (c.x1Value <= 0.0f || c.x2Value <= 0.0f)
        return std::nullopt;
    const double ln1 = std::log(static_cast<double>(c.x1Value));
    const double ln2 = std::log(static_cast<double>(c.x2Value));
    const double exponent = static_cast<double>(t) * (ln2 - ln1) / kLn10 + ln1 / kLn10;
    return finiteOrNothing(std::pow(10.0, exponent));
}

std::optional<double> AxisValueFromY(const AxisCalibration& c, float y)
{
    // The positions are mixed in double, while the value difference stays single.
    const double span = static_cast<double>(c.refY1Pos) - static_cast<double>(c.refY2Pos);
    if (span == 0.0)
        return std::nullopt;
    const double s = (static_cast<double>(c.refY2Pos) - static_cast<double>(y)) / span;
    if (c.yLinear) {
        const float difference = c.y2Value - c.y1Value;
        return finiteOrNothing(s * static_cast<double>(difference) + static_cast<double>(c.y2Value));
    }
    if (c.y1Value <= 0.0f || c.y2Value <= 0.0f)
        return std::nullopt;
    const double ln1 = std::log(static_cast<double>(c.y1Value));
    const double ln2 = std::log(static_cast<double>(c.y2Value));
    const double exponent = s * (ln2 - ln1) / kLn10 + ln2 / kLn10;
    return finiteOrNothing(std::pow(10.0, exponent));
}

CursorValue RoundToFigures(double v, int figures)
{
    if (v == 0.0 || !std::isfinite(v) || figures < 1 || figures > 4)
        return CursorValue(v);

    // The exponent is the truncated quotient of natural logarithms, not log10:
    // for some powers of ten the quotient falls just short of the whole number,
    // which leaves a mantissa of 10 ("10E2") with the number's value intact.
    double e = std::trunc(std::log(std::fabs(v)) / kLn10);
    if (v > -1.0 && v < 1.0)
        e -= 1.0;
    const int exponent = static_cast<int>(e);
    const int decimals = figures - 1;

    // Mantissa v / 10^e with `decimals` places, as a whole number of units.
    const long double scaled = shiftDecimal(v, decimals - exponent);
    if (!std::isfinite(scaled))
        return CursorValue(v);
    const double units = static_cast<double>(std::nearbyint(scaled));

    if (std::abs(exponent) > figures) {
        const double mantissa = units / static_cast<double>(powerOfTen(decimals));
        return CursorValue(formatDouble(mantissa) + QLatin1Char('E') + QString::number(exponent));
    }
    // units * 10^(exponent - decimals); both powers involved are exact doubles
    // here (|exponent| <= 4), so the result is the nearest double to the decimal.
    const int shift = exponent - decimals;
    const double number = shift >= 0 ? units * static_cast<double>(powerOfTen(shift))
                                     : units / static_cast<double>(powerOfTen(-shift));
    return CursorValue(number);
}

namespace {

void storeRounded(std::optional<double> value, int figures, CursorValue& target)
{
    if (!value)
        return;
    target = *value != 0.0 ? RoundToFigures(*value, figures) : CursorValue(*value);
}

}  // namespace

void updateCursorValueX(const AxisCalibration& calibration, float x, CursorValue& target)
{
    storeRounded(AxisValueFromX(calibration, x), calibration.effectiveFigure, target);
}

void updateCursorValueY(const AxisCalibration& calibration, float y, CursorValue& target)
{
    storeRounded(AxisValueFromY(calibration, y), calibration.effectiveFigure, target);
}

int indicatorImage(const AxisCalibration& calibration)
{
    if (calibration.xLinear)
        return calibration.yLinear ? 8 : 9;
    return calibration.yLinear ? 10 : 11;
}
