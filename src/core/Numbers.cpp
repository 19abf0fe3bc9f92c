#include "core/Numbers.h"

#include "core/Regional.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

QString formatGeneral(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");

    // %.15g chooses the exponent form exactly when the exponent is below -4
    // or at least 15, and strips trailing zeros.
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    QString text = QString::fromLatin1(buffer);
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
    auto sign = [&](QByteArray &out) {
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            out += char(text[i++].unicode());
    };

    // The number rewritten for strtod: a leading zero makes ",5" and "-," valid.
    QByteArray plain;
    while (i < n && text[i] == u' ')
        ++i;
    sign(plain);
    plain += '0';
    bool mantissa = digits(plain);
    if (i < n && text[i] == separator) {
        ++i;
        plain += '.';
        digits(plain);
        mantissa = true;
    }
    if (!mantissa)
        return std::nullopt;
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        ++i;
        QByteArray exponent = "e";
        sign(exponent);
        if (digits(exponent))
            plain += exponent;
    }
    while (i < n && text[i] == u' ')
        ++i;
    if (i != n)
        return std::nullopt;

    const double value = std::strtod(plain.constData(), nullptr);
    if (std::isinf(value))
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
