#pragma once
// What turns a position on the picture into graph values: the values the user
// typed for the two reference points, the axis scale types and where the
// reference lines sit on the canvas (twips).
#include "platform/CursorValue.h"

#include <cstdint>
#include <optional>

struct AxisCalibration {
    std::int16_t effectiveFigure = 0;  // 1..4 once confirmed, 0 before
    bool coordinatesSet = false;
    float x1Value = 0;
    float x2Value = 0;
    float y1Value = 0;
    float y2Value = 0;
    // Live mirror of the dialog's option buttons: a toggle takes effect at the
    // next conversion even when the dialog is then cancelled.
    bool xLinear = true;
    bool yLinear = true;
    float refX1Pos = 0;
    float refY1Pos = 0;
    float refX2Pos = 0;
    float refY2Pos = 0;
};

// Axis value at a canvas position (twips). nullopt when a step fails: both
// reference lines on one spot, the logarithm of a value <= 0, or a result that
// is not finite.
std::optional<double> AxisValueFromX(const AxisCalibration& calibration, float x);
std::optional<double> AxisValueFromY(const AxisCalibration& calibration, float y);

// v with `figures` significant figures: a number, or a text "mantissaEexponent"
// when the decimal exponent exceeds `figures` in size. 0 stays 0. When the
// rounding cannot be done (figures outside 1..4, or v so close to zero that the
// power of ten vanishes) v comes back unrounded.
CursorValue RoundToFigures(double v, int figures);

// The readout's rule for one axis: convert, round with the calibration's figures,
// store. A failed conversion leaves `target` as it was.
void updateCursorValueX(const AxisCalibration& calibration, float x, CursorValue& target);
void updateCursorValueY(const AxisCalibration& calibration, float y, CursorValue& target);

// Icon of the scale-type indicator: 8 lin/lin, 9 x lin y log, 10 x log y lin,
// 11 log/log.
int indicatorImage(const AxisCalibration& calibration);
