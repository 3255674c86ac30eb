#include "dialogs/DialogInput.h"

#include <charconv>
#include <climits>
#include <cmath>

namespace satorix {

namespace {

// Blanks and sign as the C library's number readers skip them; returns the rest with the sign.
QByteArray numberStart(const QString& text, bool& negative)
{
    const QByteArray bytes = QByteArray::fromStdString(texts::toBytes(text));
    int i = 0;
    while (i < bytes.size() && (bytes[i] == ' ' || (bytes[i] >= '\t' && bytes[i] <= '\r'))) ++i;
    negative = false;
    if (i < bytes.size() && (bytes[i] == '+' || bytes[i] == '-')) negative = bytes[i++] == '-';
    return bytes.mid(i);
}

} // namespace

std::optional<long long> leadingInteger(const QString& text)
{
    bool negative = false;
    const QByteArray digits = numberStart(text, negative);
    if (digits.isEmpty() || digits[0] < '0' || digits[0] > '9') return std::nullopt;
    long long value = 0;
    const auto [end, ec] = std::from_chars(digits.constData(), digits.constData() + digits.size(), value);
    // Too many digits for any field here: keep it far out of every range instead of wrapping.
    if (ec == std::errc::result_out_of_range) value = LLONG_MAX;
    return negative ? -value : value;
}

QString positionText(int tenths)
{
    if (tenths < 10) return QStringLiteral("0,%1").arg(tenths);
    const QString digits = QString::number(tenths);
    return digits.left(digits.size() - 1) + QLatin1Char(',') + digits.right(1);
}

std::int32_t parsePositionText(const QString& text)
{
    QString t = text;
    const qsizetype comma = t.indexOf(QLatin1Char(','));
    if (comma >= 0) t[comma] = QLatin1Char('.');
    bool negative = false;
    const QByteArray number = numberStart(t, negative);
    if (number.isEmpty() || ((number[0] < '0' || number[0] > '9') && number[0] != '.')) return 0;
    double value = 0;
    // from_chars, not strtod: the desktop's locale must not decide what the decimal mark is.
    const auto [end, ec] =
        std::from_chars(number.constData(), number.constData() + number.size(), value, std::chars_format::fixed);
    if (end == number.constData() || ec != std::errc() || !std::isfinite(value)) return 0;
    const double tenths = std::fabs(value * 10.0);
    if (tenths >= static_cast<double>(INT32_MAX)) return INT32_MAX;
    return static_cast<std::int32_t>(tenths);
}

} // namespace satorix
