#include "collect/FieldRules.h"

#include <charconv>
#include <limits>

namespace {

FieldRule text()
{
    return {};
}

FieldRule codes(QStringList allowed)
{
    return {FieldKind::Code, std::move(allowed)};
}

FieldRule integer(double minimum, double maximum = std::numeric_limits<int>::max())
{
    return {FieldKind::Integer, {}, minimum, maximum};
}

FieldRule decimal(double minimum, double maximum, QStringList instead = {})
{
    return {FieldKind::Decimal, std::move(instead), minimum, maximum};
}

const QStringList yesNo = {QStringLiteral("1"), QStringLiteral("-1")};
const QStringList leftBothRight = {QStringLiteral("-1"), QStringLiteral("0"), QStringLiteral("1")};
const QStringList marks = {QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5")};

const FieldRule rules[resultsLineCount] = {
    text(),                                                  // 1 InfoSurname
    text(),                                                  // InfoName
    codes({QStringLiteral("0"), QStringLiteral("1")}),       // InfoSex
    text(),                                                  // InfoBirthDate
    text(),                                                  // 5 InfoTestDate
    text(),                                                  // InfoStartTime
    text(),                                                  // InfoSchool
    text(),                                                  // InfoGrade
    codes(leftBothRight),                                    // InfoHandedness
    codes({QStringLiteral("1"), QStringLiteral("-1"), QString()}), // 10 InfoNervousDisorder
    text(),                                                  // InfoConcussion: "-1" or the years
    text(),                                                  // InfoHeadInjury: "-1" or the years
    codes(yesNo),                                            // InfoHasSiblings
    text(),                                                  // InfoHearingProblem: "-1" or the reason
    integer(0),                                              // 15 InfoAgeDays
    decimal(0, std::numeric_limits<int>::max()),             // InfoAgeYears
    integer(0, 11),                                          // SibBirthOrder
    text(), text(), text(), text(), text(),                  // 18-22 SibDescription1-5
    text(), text(), text(), text(), text(),                  // 23-27 SibDescription6-10
    integer(0, 10),                                          // SibWithYearCount
    integer(0, 10),                                          // SibSameMonthCount
    integer(0, 10),                                          // 30 SibWithoutYearCount
    codes(yesNo),                                            // LatThumbCode
    codes(yesNo),                                            // LatArmCode
    codes(yesNo),                                            // LatClapCode
    codes(leftBothRight),                                    // LatWinkCode
    codes(leftBothRight),                                    // 35 LatSightCode
    integer(-24, 24),                                        // LatHandScore
    codes(leftBothRight),                                    // LatHandClass
    decimal(-100, 100, {QStringLiteral("дихотическое прослушивание пройдено неправильно")}), // DichTotalCoefText
    codes({QStringLiteral("расхождения нет"), QStringLiteral("есть расхождение между сериями")}), // DichSeriesAgreement
    codes(leftBothRight),                                    // 40 DichEarAdvantage
    integer(0, 52),                                          // DichS1EarA
    integer(0, 52),                                          // DichS1EarB
    integer(0, 52),                                          // DichS2EarA
    integer(0, 52),                                          // DichS2EarB
    decimal(-100, 100),                                      // 45 DichS1Coef
    decimal(-100, 100),                                      // DichS2Coef
    integer(0, 16),                                          // MathCorrectTotal
    integer(0, 8),                                           // MathCorrectExpressions
    integer(0, 8),                                           // MathCorrectProblems
    integer(0),                                              // 50 CalcUseCount
    codes(yesNo),                                            // CalcLasmResult
    codes(yesNo),                                            // CalcVadlResult
    codes(yesNo),                                            // CalcParmResult
    integer(0, 3),                                           // CalcCorrectCount
    codes({QStringLiteral("-1"), QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("2")}), // 55 ExprFormulaUse
    text(),                                                  // RavenDurationText
    integer(0, 15),                                          // RavenTotal
    integer(0, 3),                                           // RavenBlock1
    integer(0, 3),                                           // RavenBlock2
    integer(0, 3),                                           // 60 RavenBlock3
    integer(0, 3),                                           // RavenBlock4
    integer(0, 3),                                           // RavenBlock5
    text(),                                                  // FinalFinishTime
    text(),                                                  // FinalDuration
    codes(yesNo),                                            // 65 FinalMusicalInstrument
    text(),                                                  // FinalCareer
    text(),                                                  // FinalContact
    codes(marks),                                            // FinalAlgebraMark
    codes(marks),                                            // 69 FinalGeometryMark
};

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

QString codeList(const QStringList &allowed)
{
    QStringList shown;
    for (const QString &code : allowed)
        shown << (code.isEmpty() ? QStringLiteral("empty") : quoted(code));
    return shown.join(QStringLiteral(", "));
}

} // namespace

const FieldRule &fieldRule(int index)
{
    return rules[index];
}

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
    QByteArray plain = text.toLatin1();
    plain.replace(',', '.');
    double value = 0;
    const auto [end, error] = std::from_chars(plain.constData(), plain.constData() + plain.size(), value);
    if (error != std::errc() || end != plain.constData() + plain.size())
        return std::nullopt;
    return value;
}

std::optional<QString> fieldProblem(int index, const QString &value)
{
    const FieldRule &rule = rules[index];
    const QString &name = resultsFieldNames()[index];
    switch (rule.kind) {
    case FieldKind::Text:
        return std::nullopt;
    case FieldKind::Code:
        if (rule.allowed.contains(value))
            return std::nullopt;
        return QStringLiteral("%1 is %2, not one of %3").arg(name, quoted(value), codeList(rule.allowed));
    case FieldKind::Integer:
    case FieldKind::Decimal: {
        if (rule.allowed.contains(value))
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
