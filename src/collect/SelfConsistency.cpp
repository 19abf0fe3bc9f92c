#include "collect/SelfConsistency.h"

#include "collect/FoldedText.h"
#include "collect/PlainFileName.h"
#include "engine/DateTime.h"
#include "engine/DichoticScoring.h"
#include "engine/FieldChecks.h"
#include "engine/HandednessScore.h"
#include "engine/Numbers.h"
#include "engine/ResultLines.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>

namespace {

// The values are written with 15 significant digits.
bool sameNumber(double written, double derived)
{
    return std::fabs(written - derived) <= 1e-12 * std::max(1.0, std::fabs(derived));
}

// The index of a field's line, by its name, without a copy of the name.
int indexOf(const char *field)
{
    static const QHash<QByteArray, int> indexes = [] {
        QHash<QByteArray, int> byName;
        for (int i = 0; i < resultsLineCount; ++i)
            byName.insert(resultLines()[i].field.toLatin1(), i);
        return byName;
    }();
    const auto found = indexes.constFind(QByteArray::fromRawData(field, qsizetype(qstrlen(field))));
    return found != indexes.constEnd() ? *found : lineIndex(field); // the engine's own message for a name it lacks
}

class Lines
{
public:
    Lines(const QString &path, const QStringList &lines)
        : path(path)
        , lines(lines)
    {
    }

    QString text(const char *field) const { return lines[indexOf(field)]; }

    std::optional<int> integer(const char *field) const { return parseInteger(text(field)); }

    std::optional<double> decimal(const char *field) const { return parseDecimal(text(field)); }

    // "lines 58 to 62", "line 41, 42"
    static QString numbers(std::initializer_list<const char *> fields)
    {
        QStringList shown;
        for (const char *field : fields)
            shown << QString::number(indexOf(field) + 1);
        return (shown.size() == 1 ? QStringLiteral("line ") : QStringLiteral("lines ")) + shown.join(QStringLiteral(", "));
    }

    void contradiction(const char *field, const QString &why)
    {
        const int index = indexOf(field);
        found.append({path, index + 1, QString::fromLatin1(field) + u' ' + why + QStringLiteral(": the file was edited or damaged"),
                      QString::fromLatin1(field), lines[index]});
    }

    const QString &path;
    const QStringList &lines;
    QList<Problem> found;
};

void checkSums(Lines &file)
{
    const auto math = file.integer("MathCorrectTotal");
    const auto expressions = file.integer("MathCorrectExpressions");
    const auto problems = file.integer("MathCorrectProblems");
    if (math && expressions && problems && *math != *expressions + *problems)
        file.contradiction("MathCorrectTotal", QStringLiteral("is %1, but %2 add up to %3")
                                                   .arg(*math)
                                                   .arg(Lines::numbers({"MathCorrectExpressions", "MathCorrectProblems"}))
                                                   .arg(*expressions + *problems));

    const auto raven = file.integer("RavenTotal");
    int blocks = 0;
    bool allBlocks = true;
    for (const char *block : {"RavenBlock1", "RavenBlock2", "RavenBlock3", "RavenBlock4", "RavenBlock5"}) {
        const auto value = file.integer(block);
        allBlocks = allBlocks && value;
        blocks += value.value_or(0);
    }
    if (raven && allBlocks && *raven != blocks)
        file.contradiction("RavenTotal", QStringLiteral("is %1, but %2 add up to %3")
                                             .arg(*raven)
                                             .arg(Lines::numbers({"RavenBlock1", "RavenBlock2", "RavenBlock3", "RavenBlock4", "RavenBlock5"}))
                                             .arg(blocks));

    const auto found = file.integer("CalcCorrectCount");
    int ones = 0;
    for (const char *operation : {"CalcLasmResult", "CalcVadlResult", "CalcParmResult"})
        ones += file.text(operation) == u"1";
    if (found && *found != ones)
        file.contradiction("CalcCorrectCount", QStringLiteral("is %1, but %2 hold %3 operations found")
                                                   .arg(*found)
                                                   .arg(Lines::numbers({"CalcLasmResult", "CalcVadlResult", "CalcParmResult"}))
                                                   .arg(ones));
}

void checkDerivations(Lines &file)
{
    const auto score = file.integer("LatHandScore");
    if (score && file.text("LatHandClass") != handClass(*score))
        file.contradiction("LatHandClass", QStringLiteral("is \"%1\", but the score %2 on %3 makes it \"%4\"")
                                               .arg(file.text("LatHandClass"))
                                               .arg(*score)
                                               .arg(Lines::numbers({"LatHandScore"}), handClass(*score)));

    const auto days = file.integer("InfoAgeDays");
    const auto years = file.decimal("InfoAgeYears");
    if (days && years && *days >= 0 && !sameNumber(*years, ageInYears(*days)))
        file.contradiction("InfoAgeYears", QStringLiteral("is %1, but %2 days on %3 make %4 years")
                                               .arg(file.text("InfoAgeYears"))
                                               .arg(*days)
                                               .arg(Lines::numbers({"InfoAgeDays"}))
                                               .arg(ageInYears(*days)));

    const auto s1a = file.integer("DichS1EarA");
    const auto s1b = file.integer("DichS1EarB");
    const auto s2a = file.integer("DichS2EarA");
    const auto s2b = file.integer("DichS2EarB");
    if (!s1a || !s1b || !s2a || !s2b)
        return;
    const double s1 = earCoefficient(*s1a, *s1b);
    const double s2 = earCoefficient(*s2a, *s2b);
    for (const auto &[field, derived, counts] : {std::tuple{"DichS1Coef", s1, std::pair{"DichS1EarA", "DichS1EarB"}},
                                                 std::tuple{"DichS2Coef", s2, std::pair{"DichS2EarA", "DichS2EarB"}}}) {
        const auto written = file.decimal(field);
        if (written && !sameNumber(*written, derived))
            file.contradiction(field, QStringLiteral("is %1, but the word counts on %2 make %3")
                                          .arg(file.text(field), Lines::numbers({counts.first, counts.second}),
                                               formatGeneral(derived)));
    }
    const BothSeriesResult both = overBothSeries(*s1a, *s1b, s1, *s2a, *s2b, s2);
    // Named only in a contradiction, which is rare: the numbers are looked up then.
    const auto allCounts = [] { return Lines::numbers({"DichS1EarA", "DichS1EarB", "DichS2EarA", "DichS2EarB"}); };
    const QString totalText = file.text("DichTotalCoefText");
    const auto total = parseDecimal(totalText);
    const bool totalHolds = total ? parseDecimal(both.totalCoefText) && sameNumber(*total, both.totalCoef)
                                  : totalText == both.totalCoefText;
    if (!totalHolds)
        file.contradiction("DichTotalCoefText", QStringLiteral("is \"%1\", but the word counts on %2 make \"%3\"")
                                                    .arg(totalText, allCounts(), both.totalCoefText));
    else if (file.text("DichEarAdvantage") != both.earAdvantage)
        file.contradiction("DichEarAdvantage", QStringLiteral("is \"%1\", but the coefficient %2 on %3 makes it \"%4\"")
                                                   .arg(file.text("DichEarAdvantage"), totalText,
                                                        Lines::numbers({"DichTotalCoefText"}), both.earAdvantage));
    if (file.text("DichSeriesAgreement") != both.seriesAgreement)
        file.contradiction("DichSeriesAgreement", QStringLiteral("is \"%1\", but the word counts on %2 make it \"%3\"")
                                                      .arg(file.text("DichSeriesAgreement"), allCounts(), both.seriesAgreement));
}

// A file named surname_name_N.txt, or a copy "… (M).txt", names its subject.
void checkFileName(Lines &file)
{
    static const QRegularExpression numbered(QStringLiteral("^(.+)_[0-9]+(?: ?\\([0-9]+\\))?\\.txt$"),
                                             QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    QList<int> indexes = linesDisclosing(Disclosure::Name);
    for (const int index : indexes)
        names << file.lines[index];
    const QString joined = names.join(u'_');
    const QString fileName = QFileInfo(file.path).fileName();
    if (plainResultsFileStem(fileName) == QStringView(joined))
        return; // the names as they are, before any pattern or folding
    const auto match = numbered.match(fileName);
    if (!match.hasMatch())
        return;
    if (folded(match.captured(1)) == folded(joined))
        return;
    const int first = indexes.first();
    file.found.append({file.path, first + 1,
                       QStringLiteral("the file's name is %1, but lines %2 and %3 hold %4: the file was edited or damaged")
                           .arg(match.captured(1) + QStringLiteral("_…"))
                           .arg(indexes.first() + 1)
                           .arg(indexes.last() + 1)
                           .arg(names.join(u' ')),
                       resultLines()[first].field, file.lines[first]});
}

} // namespace

QList<Problem> contradictions(const QString &path, const QStringList &lines)
{
    Lines file(path, lines);
    checkSums(file);
    checkDerivations(file);
    checkFileName(file);
    return file.found;
}
