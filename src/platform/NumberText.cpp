#include "platform/NumberText.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>

namespace {

// Beyond this decimal exponent plain notation would run to a long row of zeros.
constexpr int kPlainExponentLimit = 15;

// `scientific` is std::to_chars output in scientific form ("-1.2345e+04"); the
// digits are already rounded to the wanted precision.
QString decimalFromScientific(const std::string& scientific)
{
    const auto ePos = scientific.find('e');
    std::string mantissa = scientific.substr(0, ePos);
    const int exponent = std::atoi(scientific.c_str() + ePos + 1);

    const bool negative = !mantissa.empty() && mantissa.front() == '-';
    std::string digits;
    for (char c : mantissa)
        if (c >= '0' && c <= '9')
            digits.push_back(c);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    const QString all = QString::fromLatin1(digits.data(), static_cast<qsizetype>(digits.size()));
    QString out = negative ? QStringLiteral("-") : QString();
    if (exponent > kPlainExponentLimit || exponent < -kPlainExponentLimit) {
        out += all.left(1);
        if (all.size() > 1)
            out += QLatin1Char('.') + all.mid(1);
        out += QLatin1Char('E') + QString::number(exponent);
    } else if (exponent >= 0) {
        const qsizetype intDigits = exponent + 1;
        if (all.size() <= intDigits)
            out += all + QString(intDigits - all.size(), QLatin1Char('0'));
        else
            out += all.left(intDigits) + QLatin1Char('.') + all.mid(intDigits);
    } else {
        out += QStringLiteral("0.") + QString(-exponent - 1, QLatin1Char('0')) + all;
    }
    return out;
}

template <typename T>
QString formatWithDigits(T value, int significantDigits)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    if (value == 0)
        return QStringLiteral("0");  // -0 too: it is not negative
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, significantDigits - 1);
    return decimalFromScientific(std::string(buffer, result.ptr));
}

}  // namespace

QString formatDouble(double value) { return formatWithDigits(value, 15); }

QString formatSingle(float value) { return formatWithDigits(value, 7); }

std::optional<double> parseDecimal(const QString& text)
{
    static const QRegularExpression syntax(
        QStringLiteral(R"(^([+-]?)(\d+\.?\d*|\.\d+)(?:[eE]([+-]?\d+))?$)"));
    const QString trimmed = text.trimmed();
    const auto match = syntax.match(trimmed);
    if (!match.hasMatch())
        return std::nullopt;

    // from_chars does not take a leading "+", and only ASCII reaches it.
    const std::string body = (match.captured(2) + (match.capturedLength(3) > 0
                                                       ? QStringLiteral("e") + match.captured(3)
                                                       : QString())).toStdString();
    const bool negative = match.captured(1) == QLatin1String("-");
    double value = 0;
    const auto result = std::from_chars(body.data(), body.data() + body.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double. The decimal exponent of the leading
        // digit tells which; count it from the text, as the mantissa alone may
        // already be out of range.
        const QString mantissa = match.captured(2);
        const qsizetype point = mantissa.indexOf(QLatin1Char('.'));
        const QString intPart = point < 0 ? mantissa : mantissa.left(point);
        const QString fracPart = point < 0 ? QString() : mantissa.mid(point + 1);
        double magnitude = 0;
        qsizetype lead = 0;
        while (lead < intPart.size() && intPart[lead] == QLatin1Char('0'))
            ++lead;
        if (lead < intPart.size()) {
            magnitude = static_cast<double>(intPart.size() - lead - 1);
        } else {
            qsizetype zeros = 0;
            while (zeros < fracPart.size() && fracPart[zeros] == QLatin1Char('0'))
                ++zeros;
            magnitude = -static_cast<double>(zeros + 1);
        }
        const QString expText = match.captured(3);
        magnitude += expText.isEmpty() ? 0.0 : expText.toDouble();
        if (magnitude >= 0)
            return std::nullopt;
        value = 0;
    } else if (result.ec != std::errc() || result.ptr != body.data() + body.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}
