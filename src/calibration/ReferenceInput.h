#pragma once
// Checking what the user typed in the reference coordinate dialog, free of
// widgets so that every refusal and its message can be tested as a table.
#include "calibration/AxisCalibration.h"

#include <QString>
#include <cstdint>
#include <optional>

struct ReferenceTexts {
    QString x1;
    QString y1;
    QString x2;
    QString y2;
    QString effectiveFigure;
};

struct ReferenceValues {
    std::int16_t effectiveFigure = 0;
    float x1Value = 0;
    float x2Value = 0;
    float y1Value = 0;
    float y2Value = 0;
};

// Either the values to store or the message to show; never both.
struct ReferenceCheck {
    std::optional<ReferenceValues> values;
    QString message;
    bool accepted() const { return values.has_value(); }
};

inline const QString kMessageLogNotPositive = QStringLiteral("対数に負や0の値はとれません。");
inline const QString kMessageFigures = QStringLiteral("有効桁数を訂正してください。");
inline const QString kMessageEmpty = QStringLiteral("値を入力して下さい");
inline const QString kMessageInvalid = QStringLiteral("正しい値を入力して下さい");

// Checks in a fixed order, so the user always sees the first problem: x values
// (and their sign on a log axis), y values likewise, the significant figures,
// then whether the values fit single precision. Nothing is half accepted: a
// refusal stores nothing.
ReferenceCheck checkReferenceInput(const ReferenceTexts& texts, bool xLinear, bool yLinear);

// Copies accepted values into the calibration and marks it set.
void applyReferenceValues(const ReferenceValues& values, AxisCalibration& calibration);
