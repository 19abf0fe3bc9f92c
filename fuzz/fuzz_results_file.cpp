// Any record, its texts holding any characters and line breaks of every kind,
// its numbers any values: the results file is always 69 lines, each ending in
// CR LF, with no CR or LF anywhere else.

#include "Property.h"
#include "engine/ResultsFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// UTF-8 for most texts; raw UTF-16 for some, so that lone surrogates occur too.
QString anyText(FuzzedDataProvider &input)
{
    if (input.ConsumeBool()) {
        const std::vector<uint8_t> units = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(0, 64));
        QString text(qsizetype(units.size() / 2), Qt::Uninitialized);
        if (!text.isEmpty())
            std::memcpy(text.data(), units.data(), units.size() / 2 * 2);
        return text;
    }
    return QString::fromStdString(input.ConsumeRandomLengthString(64));
}

double anyDouble(FuzzedDataProvider &input)
{
    const auto bits = input.ConsumeIntegral<uint64_t>();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

RunRecord anyRecord(FuzzedDataProvider &input)
{
    RunRecord r;
    for (QString *text : {&r.InfoSurname, &r.InfoName, &r.InfoSex, &r.InfoBirthDate, &r.InfoTestDate, &r.InfoStartTime,
                          &r.InfoSchool, &r.InfoGrade, &r.InfoHandedness, &r.InfoNervousDisorder, &r.InfoConcussion,
                          &r.InfoHeadInjury, &r.InfoHasSiblings, &r.InfoHearingProblem, &r.LatThumbCode, &r.LatArmCode,
                          &r.LatClapCode, &r.LatWinkCode, &r.LatSightCode, &r.LatHandScore, &r.LatHandClass,
                          &r.ExprFormulaUse, &r.DichTotalCoefText, &r.DichSeriesAgreement, &r.DichEarAdvantage,
                          &r.CalcLasmResult, &r.CalcVadlResult, &r.CalcParmResult, &r.RavenDurationText,
                          &r.FinalFinishTime, &r.FinalDuration, &r.FinalMusicalInstrument, &r.FinalCareer,
                          &r.FinalContact, &r.FinalAlgebraMark, &r.FinalGeometryMark})
        *text = anyText(input);
    for (QString &sibling : r.SibDescription)
        sibling = anyText(input);
    for (int *number : {&r.InfoAgeDays, &r.SibBirthOrder, &r.SibWithYearCount, &r.SibSameMonthCount,
                        &r.SibWithoutYearCount, &r.DichS1EarA, &r.DichS1EarB, &r.DichS2EarA, &r.DichS2EarB,
                        &r.MathCorrectTotal, &r.MathCorrectExpressions, &r.MathCorrectProblems, &r.CalcUseCount,
                        &r.CalcCorrectCount, &r.RavenTotal, &r.RavenBlock1, &r.RavenBlock2, &r.RavenBlock3,
                        &r.RavenBlock4, &r.RavenBlock5})
        *number = input.ConsumeIntegral<int>();
    for (double *number : {&r.InfoAgeYears, &r.DichS1Coef, &r.DichS2Coef})
        *number = anyDouble(input);
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QByteArray content = resultsFileContent(anyRecord(input));
    int lines = 0;
    for (qsizetype i = 0; i < content.size(); ++i) {
        if (content[i] == '\r') {
            require(i + 1 < content.size() && content[i + 1] == '\n', "a CR only before an LF");
            ++lines;
            ++i;
        } else {
            require(content[i] != '\n', "an LF only after a CR");
        }
    }
    require(lines == resultsLineCount, "69 lines");
    require(content.endsWith("\r\n"), "the last line ends in CR LF");
    return 0;
}
