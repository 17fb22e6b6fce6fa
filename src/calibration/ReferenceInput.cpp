#include "calibration/ReferenceInput.h"

#include "platform/NumberText.h"

#include <cfloat>
#include <cmath>

namespace {

// The smallest double that rounds to infinity as a float (FLT_MAX plus half an
// ulp, where the tie goes to the even neighbour, i.e. up).
const double kSingleOverflow = (2.0 - std::ldexp(1.0, -24)) * std::ldexp(1.0, 127);

std::optional<float> toSingle(double v)
{
    if (!(std::fabs(v) < kSingleOverflow))
        return std::nullopt;
    return static_cast<float>(v);
}

// A value a log axis cannot take, judged also on what single precision makes of
// it: 1e-50 is positive but would be stored as 0.
bool notPositive(double v)
{
    if (v <= 0.0)
        return true;
    const auto single = toSingle(v);
    return single && *single <= 0.0f;
}

ReferenceCheck refuse(const QString& message) { return {std::nullopt, message}; }

}  // namespace

ReferenceCheck checkReferenceInput(const ReferenceTexts& texts, bool xLinear, bool yLinear)
{
    // A text that does not read as a number: "empty" wins when any of the four
    // value boxes is empty, whichever box actually failed.
    const auto conversionFailure = [&texts] {
        const bool anyEmpty = texts.x1.isEmpty() || texts.x2.isEmpty() || texts.y1.isEmpty()
                              || texts.y2.isEmpty();
        return refuse(anyEmpty ? kMessageEmpty : kMessageInvalid);
    };

    const auto x1 = parseDecimal(texts.x1);
    const auto x2 = parseDecimal(texts.x2);
    if (!x1 || !x2)
        return conversionFailure();
    if (!xLinear && (notPositive(*x1) || notPositive(*x2)))
        return refuse(kMessageLogNotPositive);

    const auto y1 = parseDecimal(texts.y1);
    const auto y2 = parseDecimal(texts.y2);
    if (!y1 || !y2)
        return conversionFailure();
    if (!yLinear && (notPositive(*y1) || notPositive(*y2)))
        return refuse(kMessageLogNotPositive);

    if (texts.effectiveFigure.isEmpty())
        return refuse(kMessageFigures);
    const auto figures = parseDecimal(texts.effectiveFigure);
    if (!figures)
        return conversionFailure();
    if (*figures < 1.0 || *figures > 4.0 || std::trunc(*figures) != *figures)
        return refuse(kMessageFigures);

    // All four must fit single precision before any of them is stored.
    const auto sx1 = toSingle(*x1);
    const auto sx2 = toSingle(*x2);
    const auto sy1 = toSingle(*y1);
    const auto sy2 = toSingle(*y2);
    if (!sx1 || !sx2 || !sy1 || !sy2)
        return refuse(kMessageInvalid);

    ReferenceValues values;
    values.effectiveFigure = static_cast<std::int16_t>(*figures);
    values.x1Value = *sx1;
    values.x2Value = *sx2;
    values.y1Value = *sy1;
    values.y2Value = *sy2;
    return {values, QString()};
}

void applyReferenceValues(const ReferenceValues& values, AxisCalibration& calibration)
{
    calibration.effectiveFigure = values.effectiveFigure;
    calibration.x1Value = values.x1Value;
    calibration.x2Value = values.x2Value;
    calibration.y1Value = values.y1Value;
    calibration.y2Value = values.y2Value;
    calibration.coordinatesSet = true;
}
