#include "engine/ItemIds.h"

namespace {

QString numbered(const char *prefix, int number)
{
    return QLatin1String(prefix) + QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

const Operation operations[] = {Operation::Lasm, Operation::Vadl, Operation::Parm};
const Comparison comparisons[] = {Comparison::Less, Comparison::Equal, Comparison::Greater};
const Expression expressions[] = {Expression::Sum, Expression::SumPlusOne, Expression::Difference,
                                  Expression::ReverseDifference};

QString idOf(Operation operation)
{
    static const char *const ids[] = {"lasm", "vadl", "parm"};
    return QLatin1String(ids[static_cast<int>(operation)]);
}

} // namespace

const QStringList &handednessItems()
{
    static const QStringList items = [] {
        QStringList ids{QStringLiteral("thumb"), QStringLiteral("arm"), QStringLiteral("clap"), QStringLiteral("wink"),
                        QStringLiteral("sight")};
        for (int question = 1; question <= 12; ++question)
            ids << numbered("hand", question);
        return ids;
    }();
    return items;
}

QString dichoticRecordingItem(int series, int recording)
{
    return QStringLiteral("dichotic%1-").arg(series) + QStringLiteral("%1").arg(recording, 2, 10, QLatin1Char('0'));
}

QString dichoticFieldItem(int series, int recording, int field)
{
    return dichoticRecordingItem(series, recording) + QStringLiteral("-field%1").arg(field);
}

QString dichoticWordItem(int series, int recording, QChar channel, int position)
{
    return dichoticRecordingItem(series, recording) + channel + QString::number(position);
}

QString mathItem(int problem)
{
    return numbered("math", problem);
}

QString calculatorItem(Operation operation)
{
    return QStringLiteral("calculator-") + idOf(operation);
}

QString ruleItem(Operation operation, Comparison comparison, Expression expression)
{
    static const char *const comparisonIds[] = {"less", "equal", "greater"};
    static const char *const expressionIds[] = {"sum", "sum-plus-one", "difference", "reverse-difference"};
    return QStringLiteral("rule-%1-%2-%3")
        .arg(idOf(operation), QLatin1String(comparisonIds[static_cast<int>(comparison)]),
             QLatin1String(expressionIds[static_cast<int>(expression)]));
}

QString ruleCancelItem(Operation operation)
{
    return QStringLiteral("rule-%1-cancel").arg(idOf(operation));
}

std::optional<RuleChoice> ruleChoiceOf(const QString &item)
{
    for (const Operation operation : operations) {
        if (item == ruleCancelItem(operation))
            return RuleChoice{operation, std::nullopt};
        for (const Comparison comparison : comparisons)
            for (const Expression expression : expressions)
                if (item == ruleItem(operation, comparison, expression))
                    return RuleChoice{operation, comparison, expression};
    }
    return std::nullopt;
}

QString matrixItem(int item)
{
    return numbered("matrix", item);
}
