#pragma once
// A captured axis value as the readout and the data sheet see it: nothing yet,
// a number, or a text such as "1.23E4" (significant-figure rounding gives a text
// when the exponent is large).
#include "platform/NumberText.h"

#include <QString>
#include <variant>

class CursorValue {
public:
    CursorValue() = default;
    explicit CursorValue(double number) : value_(number) {}
    explicit CursorValue(const QString& text) : value_(text) {}

    bool isEmpty() const { return std::holds_alternative<std::monostate>(value_); }
    bool isNumber() const { return std::holds_alternative<double>(value_); }
    bool isText() const { return std::holds_alternative<QString>(value_); }

    // 0 unless the value is a number.
    double number() const { return isNumber() ? std::get<double>(value_) : 0.0; }

    // What the status bar and the data sheet show.
    QString text() const
    {
        if (isNumber())
            return formatDouble(std::get<double>(value_));
        if (isText())
            return std::get<QString>(value_);
        return QString();
    }

    friend bool operator==(const CursorValue&, const CursorValue&) = default;

private:
    std::variant<std::monostate, double, QString> value_;
};
