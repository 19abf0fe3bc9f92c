#include "engine/FieldChecks.h"

#include "engine/DateTime.h"
#include "engine/Numbers.h"
#include "engine/ResultLines.h"

#include <QVarLengthArray>
#include <algorithm>
#include <limits>

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Optional "-", then digits: how the battery writes a whole number.
std::optional<qint64> parseWhole(const QString &text)
{
    const qsizetype start = text.startsWith(u'-') ? 1 : 0;
    if (text.size() == start || text.size() - start > 18)
        return std::nullopt;
    qint64 value = 0;
    for (qsizetype i = start; i < text.size(); ++i) {
        if (!isDigit(text[i]))
            return std::nullopt;
        value = value * 10 + (text[i].unicode() - u'0');
    }
    return start ? -value : value;
}

QString quoted(const QString &value)
{
    return u'"' + value + u'"';
}

QString rangeText(const FieldRule &rule)
{
    if (rule.maximum == std::numeric_limits<int>::max())
        return QStringLiteral("at least %1").arg(rule.minimum);
    return QStringLiteral("%1 to %2").arg(rule.minimum).arg(rule.maximum);
}

QString codeList(const QList<CodeLabel> &allowed)
{
    QStringList shown;
    for (const CodeLabel &label : allowed)
        shown << (label.code.isEmpty() ? QStringLiteral("empty") : quoted(label.code));
    return shown.join(QStringLiteral(", "));
}

// H:mm:ss, hours below 24 with or without a leading zero.
bool isDuration(const QString &text)
{
    const qsizetype hours = text.size() - 6;
    if (hours < 1 || hours > 2 || text[hours] != u':' || text[hours + 3] != u':')
        return false;
    for (qsizetype i : {qsizetype(0), hours - 1, hours + 1, hours + 2, hours + 4, hours + 5})
        if (!isDigit(text[i]))
            return false;
    return text.left(hours).toInt() < 24 && text[hours + 1] < u'6' && text[hours + 4] < u'6';
}

} // namespace

bool isDecimalText(const QString &text)
{
    // -digits[sep digits][E[-]digits], the form of the general number format
    qsizetype i = text.startsWith(u'-') ? 1 : 0;
    const qsizetype n = text.size();
    auto digits = [&] {
        const qsizetype from = i;
        while (i < n && isDigit(text[i]))
            ++i;
        return i > from;
    };
    if (!digits())
        return false;
    if (i < n && (text[i] == u',' || text[i] == u'.')) {
        ++i;
        if (!digits())
            return false;
    }
    if (i < n && text[i] == u'E') {
        ++i;
        if (i < n && text[i] == u'-')
            ++i;
        if (!digits())
            return false;
    }
    return i == n;
}

std::optional<double> parseDecimal(const QString &text)
{
    if (!isDecimalText(text))
        return std::nullopt;
    // The characters are ASCII now: narrowed on the stack unless very long.
    QVarLengthArray<char, 64> plain(text.size());
    std::transform(text.begin(), text.end(), plain.begin(), [](QChar c) { return c == u',' ? '.' : char(c.unicode()); });
    return readCNotation(std::string_view(plain.constData(), plain.size()));
}

std::optional<QString> fieldProblem(int index, const QString &value)
{
    const ResultLine &line = resultLines()[index];
    const FieldRule &rule = line.rule;
    const QString &name = line.field;
    switch (rule.kind) {
    case FieldKind::Text:
    case FieldKind::RegionalDate:
    case FieldKind::RegionalTime:
        return std::nullopt; // the sending computer's formats are not known here
    case FieldKind::TypedDate:
        if (parseWrittenDate(value))
            return std::nullopt;
        return QStringLiteral("%1 is %2, not a date day.month.year").arg(name, quoted(value));
    case FieldKind::Duration:
        if (isDuration(value))
            return std::nullopt;
        return QStringLiteral("%1 is %2, not a duration H:mm:ss").arg(name, quoted(value));
    case FieldKind::Code:
        if (rule.hasCode(value))
            return std::nullopt;
        return QStringLiteral("%1 is %2, not one of %3").arg(name, quoted(value), codeList(rule.codes));
    case FieldKind::Integer:
    case FieldKind::Decimal: {
        if (rule.hasCode(value))
            return std::nullopt;
        std::optional<double> number;
        if (rule.kind == FieldKind::Decimal)
            number = parseDecimal(value);
        else if (const auto whole = parseWhole(value))
            number = double(*whole);
        if (!number)
            return QStringLiteral("%1 is %2, not a %3").arg(name, quoted(value),
                                                           rule.kind == FieldKind::Integer ? QStringLiteral("whole number")
                                                                                           : QStringLiteral("number"));
        if (*number < rule.minimum || *number > rule.maximum)
            return QStringLiteral("%1 is %2, outside %3").arg(name, value, rangeText(rule));
        return std::nullopt;
    }
    }
    return std::nullopt;
}
