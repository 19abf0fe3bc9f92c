#include "engine/ItemRecount.h"

#include "engine/CalculatorRules.h"
#include "engine/ItemFile.h"
#include "engine/ItemIds.h"
#include "engine/MathKey.h"
#include "engine/ResultLines.h"

#include <QRegularExpression>

namespace {

// Items 1 to 15 of the sheet are indices 0 to 14; the expression item is the sixteenth.
int mathIndexOf(const QStringList &row)
{
    if (row[TaskColumn] == task::expression)
        return mathItemCount - 1;
    return row[ItemIdColumn].mid(4).toInt() - 1;
}

// A listening answer field's row, beside the word rows that count.
bool isAnswerField(const QStringList &row)
{
    return row[ItemIdColumn].contains(QStringLiteral("-field"));
}

// "dichotic2-…" is series 2; the stimulus names the ear: "кот (channel A, ear B)".
QString dichoticCountOf(const QStringList &row)
{
    static const QRegularExpression ear(QStringLiteral("ear ([AB])\\)$"));
    const QString series = row[ItemIdColumn].mid(8, 1);
    return QStringLiteral("DichS%1Ear%2").arg(series, ear.match(row[StimulusColumn]).captured(1));
}

// The rule window's presses replayed: a rule marks its flag, a cancel clears
// its operation's group.
int operationsIdentified(const QList<QStringList> &rows)
{
    RuleFlags flags[3];
    for (const QStringList &row : rows) {
        if (row[TaskColumn] != task::rules || row[KindColumn] == u"event")
            continue;
        const std::optional<RuleChoice> choice = ruleChoiceOf(row[ItemIdColumn]);
        if (!choice)
            continue;
        RuleFlags &group = flags[static_cast<int>(choice->operation)];
        if (choice->comparison)
            flagOf(group, choice->operation, *choice->comparison, choice->expression) = 1;
        else
            group = {};
    }
    return int(std::count_if(std::begin(flags), std::end(flags),
                             [](const RuleFlags &group) { return ruleVerdict(group) == u"1"; }));
}

} // namespace

QList<SummaryFigure> summaryFromItems(const QList<QStringList> &rows)
{
    QHash<QString, int> count;
    for (const QStringList &row : rows) {
        if (row[KindColumn] == u"event")
            continue;
        const QString &task = row[TaskColumn];
        const bool correct = row[CorrectColumn] == u"1";
        if (task == task::matrices && correct)
            ++count[QStringLiteral("RavenTotal")];
        if ((task == task::math || task == task::expression) && correct) {
            ++count[QStringLiteral("MathCorrectTotal")];
            ++count[isExpressionItem(mathIndexOf(row)) ? QStringLiteral("MathCorrectExpressions")
                                                       : QStringLiteral("MathCorrectProblems")];
        }
        if (task == task::dichotic && correct && !isAnswerField(row))
            ++count[dichoticCountOf(row)];
        if (task == task::calculator)
            ++count[QStringLiteral("CalcUseCount")];
    }
    QList<SummaryFigure> figures;
    for (const char *field : {"RavenTotal", "MathCorrectTotal", "MathCorrectExpressions", "MathCorrectProblems",
                              "DichS1EarA", "DichS1EarB", "DichS2EarA", "DichS2EarB", "CalcUseCount"})
        figures.append({QLatin1String(field), count.value(QLatin1String(field))});
    figures.append({QStringLiteral("CalcCorrectCount"), operationsIdentified(rows)});
    return figures;
}

QList<SummaryMismatch> summaryMismatches(const QList<QStringList> &rows, const QStringList &summaryLines)
{
    QList<SummaryMismatch> mismatches;
    for (const SummaryFigure &figure : summaryFromItems(rows)) {
        const auto &lines = resultLines();
        const int index = int(std::find_if(lines.begin(), lines.end(),
                                           [&](const ResultLine &line) { return line.field == figure.field; })
                              - lines.begin());
        bool isNumber = false;
        const QString &summary = summaryLines.value(index);
        if (summary.trimmed().toInt(&isNumber) != figure.fromItems || !isNumber)
            mismatches.append({figure.field, index + 1, figure.fromItems, summary});
    }
    return mismatches;
}
