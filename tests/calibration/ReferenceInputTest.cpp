#include "calibration/ReferenceInput.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

ReferenceTexts texts(const char* x1, const char* y1, const char* x2, const char* y2, const char* figures)
{
    return {QString::fromUtf8(x1), QString::fromUtf8(y1), QString::fromUtf8(x2), QString::fromUtf8(y2),
            QString::fromUtf8(figures)};
}

TEST(ReferenceInput, AcceptsOrGivesFirstProblem)
{
    const QString ok; // accepted
    const QString logNotPositive = "対数に負や0の値はとれません。", figuresWrong = "有効桁数を訂正してください。",
                  empty = "値を入力して下さい", invalid = "正しい値を入力して下さい";
    // Name, texts, x linear, y linear, the message given.
    const std::tuple<const char*, ReferenceTexts, bool, bool, QString> cases[] = {
        {"defaults", texts("0", "0", "100", "100", "4"), true, true, ok},
        {"x log with 0", texts("0", "1", "100", "100", "4"), false, true, logNotPositive},
        {"y log with negative", texts("1", "1", "100", "-5", "4"), true, false, logNotPositive},
        {"y log checked after x", texts("1", "1", "100", "-5", "9"), false, false, logNotPositive},
        {"log refuses what single precision makes 0", texts("1e-50", "1", "10", "10", "4"), false, true, logNotPositive},
        {"figures 0", texts("0", "0", "100", "100", "0"), true, true, figuresWrong},
        {"figures 5", texts("0", "0", "100", "100", "5"), true, true, figuresWrong},
        {"figures 2.5", texts("0", "0", "100", "100", "2.5"), true, true, figuresWrong},
        {"figures empty", texts("0", "0", "100", "100", ""), true, true, figuresWrong},
        {"figures 3.0", texts("0", "0", "100", "100", "3.0"), true, true, ok},
        {"figures letters", texts("0", "0", "100", "100", "abc"), true, true, invalid},
        {"y2 empty", texts("0", "0", "100", "", "4"), true, true, empty},
        {"empty wins over letters", texts("abc", "0", "100", "", "4"), true, true, empty},
        // A conversion failure on x wins over the log check on y.
        {"x failure before y log", texts("abc", "0", "100", "100", "4"), true, false, invalid},
        {"x beyond double range", texts("1e400", "0", "100", "100", "4"), true, true, invalid},
        {"y beyond single range", texts("0", "0", "100", "1e39", "4"), true, true, invalid},
        // Figures are checked before the single-precision range.
        {"range after figures", texts("0", "0", "100", "1e39", "7"), true, true, figuresWrong},
        {"blanks and exponents", texts(" 1e1 ", "-2.5", "+1E+3", ".5", " 2 "), true, true, ok},
    };
    for (const auto& [name, input, xLinear, yLinear, message] : cases) {
        const ReferenceCheck check = checkReferenceInput(input, xLinear, yLinear);
        EXPECT_EQ(check.message.toStdString(), message.toStdString()) << name;
        EXPECT_EQ(check.accepted(), message.isEmpty()) << name;
    }
}

} // namespace
