#include "engine/ResultLines.h"

#include "engine/Numbers.h"

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

#define TEXT(field, rule) ResultLine{QStringLiteral(#field), [](const RunRecord &r) { return r.field; }, rule}
#define INTEGER(field, rule) \
    ResultLine{QStringLiteral(#field), [](const RunRecord &r) { return QString::number(r.field); }, rule}
#define DECIMAL(field, rule) \
    ResultLine{QStringLiteral(#field), [](const RunRecord &r) { return formatGeneral(r.field); }, rule}
#define SIBLING(n, rule) \
    ResultLine{QStringLiteral("SibDescription" #n), [](const RunRecord &r) { return r.SibDescription[n - 1]; }, rule}

} // namespace

const std::array<ResultLine, resultsLineCount> &resultLines()
{
    static const std::array<ResultLine, resultsLineCount> lines = {
        TEXT(InfoSurname, text()),                               // 1
        TEXT(InfoName, text()),
        TEXT(InfoSex, codes({QStringLiteral("0"), QStringLiteral("1")})),
        TEXT(InfoBirthDate, text()),
        TEXT(InfoTestDate, text()),                              // 5
        TEXT(InfoStartTime, text()),
        TEXT(InfoSchool, text()),
        TEXT(InfoGrade, text()),
        TEXT(InfoHandedness, codes(leftBothRight)),
        TEXT(InfoNervousDisorder, codes({QStringLiteral("1"), QStringLiteral("-1"), QString()})), // 10
        TEXT(InfoConcussion, text()),
        TEXT(InfoHeadInjury, text()),
        TEXT(InfoHasSiblings, codes(yesNo)),
        TEXT(InfoHearingProblem, text()),
        INTEGER(InfoAgeDays, integer(0)),                        // 15
        DECIMAL(InfoAgeYears, decimal(0, std::numeric_limits<int>::max())),
        INTEGER(SibBirthOrder, integer(0, 11)),
        SIBLING(1, text()),
        SIBLING(2, text()),
        SIBLING(3, text()),                                      // 20
        SIBLING(4, text()),
        SIBLING(5, text()),
        SIBLING(6, text()),
        SIBLING(7, text()),
        SIBLING(8, text()),                                      // 25
        SIBLING(9, text()),
        SIBLING(10, text()),
        INTEGER(SibWithYearCount, integer(0, 10)),
        INTEGER(SibSameMonthCount, integer(0, 10)),
        INTEGER(SibWithoutYearCount, integer(0, 10)),            // 30
        TEXT(LatThumbCode, codes(yesNo)),
        TEXT(LatArmCode, codes(yesNo)),
        TEXT(LatClapCode, codes(yesNo)),
        TEXT(LatWinkCode, codes(leftBothRight)),
        TEXT(LatSightCode, codes(leftBothRight)),                // 35
        TEXT(LatHandScore, integer(-24, 24)),
        TEXT(LatHandClass, codes(leftBothRight)),
        TEXT(DichTotalCoefText,
             decimal(-100, 100, {QStringLiteral("дихотическое прослушивание пройдено неправильно")})),
        TEXT(DichSeriesAgreement,
             codes({QStringLiteral("расхождения нет"), QStringLiteral("есть расхождение между сериями")})),
        TEXT(DichEarAdvantage, codes(leftBothRight)),            // 40
        INTEGER(DichS1EarA, integer(0, 52)),
        INTEGER(DichS1EarB, integer(0, 52)),
        INTEGER(DichS2EarA, integer(0, 52)),
        INTEGER(DichS2EarB, integer(0, 52)),
        DECIMAL(DichS1Coef, decimal(-100, 100)),                 // 45
        DECIMAL(DichS2Coef, decimal(-100, 100)),
        INTEGER(MathCorrectTotal, integer(0, 16)),
        INTEGER(MathCorrectExpressions, integer(0, 8)),
        INTEGER(MathCorrectProblems, integer(0, 8)),
        INTEGER(CalcUseCount, integer(0)),                       // 50
        TEXT(CalcLasmResult, codes(yesNo)),
        TEXT(CalcVadlResult, codes(yesNo)),
        TEXT(CalcParmResult, codes(yesNo)),
        INTEGER(CalcCorrectCount, integer(0, 3)),
        TEXT(ExprFormulaUse, codes({QStringLiteral("-1"), QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("2")})), // 55
        TEXT(RavenDurationText, text()),
        INTEGER(RavenTotal, integer(0, 15)),
        INTEGER(RavenBlock1, integer(0, 3)),
        INTEGER(RavenBlock2, integer(0, 3)),
        INTEGER(RavenBlock3, integer(0, 3)),                     // 60
        INTEGER(RavenBlock4, integer(0, 3)),
        INTEGER(RavenBlock5, integer(0, 3)),
        TEXT(FinalFinishTime, text()),
        TEXT(FinalDuration, text()),
        TEXT(FinalMusicalInstrument, codes(yesNo)),              // 65
        TEXT(FinalCareer, text()),
        TEXT(FinalContact, text()),
        TEXT(FinalAlgebraMark, codes(marks)),
        TEXT(FinalGeometryMark, codes(marks)),                   // 69
    };
    return lines;
}

#undef TEXT
#undef INTEGER
#undef DECIMAL
#undef SIBLING
