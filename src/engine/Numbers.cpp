#include "engine/Numbers.h"

#include "engine/Regional.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

// A number as its significant digits, without leading or trailing zeros,
// and the decimal exponent of the first of them.
struct Magnitude
{
    QByteArray digits;
    qint64 exponent = 0;
};

// The magnitude of a number in C notation.
Magnitude magnitudeOf(std::string_view text)
{
    std::size_t i = text.starts_with('-') ? 1 : 0;
    const auto digits = [&] {
        const std::size_t from = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        return QByteArray(text.data() + from, qsizetype(i - from));
    };
    const QByteArray whole = digits();
    QByteArray fraction;
    if (i < text.size() && text[i] == '.') {
        ++i;
        fraction = digits();
    }
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        negativeExponent = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            ++i;
    }
    const QByteArray exponent = digits();

    constexpr qint64 far = 1'000'000'000;
    qint64 shift = 0;
    for (const char digit : exponent)
        shift = std::min(far, shift * 10 + (digit - '0'));
    if (negativeExponent)
        shift = -shift;
    auto leadingZeros = [](const QByteArray &digits) {
        qsizetype zeros = 0;
        while (zeros < digits.size() && digits[zeros] == '0')
            ++zeros;
        return zeros;
    };
    Magnitude magnitude;
    const qsizetype wholeZeros = leadingZeros(whole);
    if (wholeZeros < whole.size()) {
        magnitude.digits = whole.mid(wholeZeros) + fraction;
        magnitude.exponent = whole.size() - 1 - wholeZeros + shift;
    } else {
        const qsizetype fractionZeros = leadingZeros(fraction);
        magnitude.digits = fraction.mid(fractionZeros);
        magnitude.exponent = shift - fractionZeros - 1;
    }
    while (magnitude.digits.endsWith('0'))
        magnitude.digits.chop(1);
    return magnitude;
}

// Whether a number beyond the range of a double is what the largest double is
// written as, to 15 significant digits: 1.79769313486232E308, which lies just
// above it. Read back, it is the largest double.
bool writtenAsTheLargest(const Magnitude &magnitude)
{
    QByteArray largest("179769313486232");
    QByteArray digits = magnitude.digits;
    const qsizetype length = std::max(digits.size(), largest.size());
    digits = digits.leftJustified(length, '0');
    largest = largest.leftJustified(length, '0');
    return magnitude.exponent == 308 && digits <= largest;
}

} // namespace

QString formatGeneral(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");

    // Like %.15g, but independent of the C library's locale: the exponent form
    // exactly when the exponent is below -4 or at least 15, trailing zeros
    // stripped.
    char buffer[40];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    QString text = QString::fromLatin1(buffer, written.ptr - buffer);
    const qsizetype e = text.indexOf(u'e');
    if (e >= 0) {
        const QString mantissa = text.left(e);
        QString exponent = text.mid(e + 1);
        const bool negative = exponent.startsWith(u'-');
        exponent.remove(0, 1);
        while (exponent.size() > 1 && exponent.startsWith(u'0'))
            exponent.remove(0, 1);
        text = mantissa + u'E' + (negative ? QStringLiteral("-") : QString()) + exponent;
    }
    text.replace(u'.', regional().decimalSeparator);
    return text;
}

std::optional<double> parseReal(const QString &text)
{
    const QChar separator = regional().decimalSeparator;
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto digits = [&](QByteArray &out) {
        bool any = false;
        for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i, any = true)
            out += char(text[i].unicode());
        return any;
    };
    auto minus = [&] {
        const bool negative = i < n && text[i] == u'-';
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        return negative;
    };

    while (i < n && text[i] == u' ')
        ++i;
    const bool negative = minus();
    QByteArray whole, fraction;
    bool mantissa = digits(whole);
    if (i < n && text[i] == separator) {
        ++i;
        digits(fraction);
        mantissa = true;
    }
    if (!mantissa)
        return std::nullopt;
    bool negativeExponent = false;
    QByteArray exponent;
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        ++i;
        negativeExponent = minus();
        digits(exponent);
    }
    while (i < n && text[i] == u' ')
        ++i;
    if (i != n)
        return std::nullopt;

    // Rewritten in the C notation and read independently of the C library's
    // locale (a Russian one would stop strtod at the point).
    const QByteArray plain = (negative ? "-0" : "0") + whole + '.' + fraction + 'e'
        + (negativeExponent ? "-" : "") + (exponent.isEmpty() ? QByteArray("0") : exponent);
    return readCNotation(std::string_view(plain.constData(), plain.size()));
}

std::optional<double> readCNotation(std::string_view text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (end != text.data() + text.size())
        return std::nullopt;
    if (error == std::errc::result_out_of_range) {
        // Either below the smallest double, and read as zero, or above the largest.
        const Magnitude magnitude = magnitudeOf(text);
        if (writtenAsTheLargest(magnitude))
            return text.starts_with('-') ? std::numeric_limits<double>::lowest() : std::numeric_limits<double>::max();
        if (magnitude.exponent > 0)
            return std::nullopt;
        return 0.0;
    }
    if (error != std::errc())
        return std::nullopt;
    return value;
}

std::optional<int> parseInteger(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    if (i == n)
        return std::nullopt;
    qint64 value = 0;
    for (; i < n; ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return std::nullopt;
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

double roundHalfUp(double value)
{
    return std::trunc(value + 0.5);
}
