#include "engine/CalculatorRules.h"

#include <cmath>

QString operationName(Operation operation)
{
    switch (operation) {
    case Operation::Lasm:
        return QStringLiteral("ЛАСМ");
    case Operation::Vadl:
        return QStringLiteral("ВАДЛ");
    case Operation::Parm:
        return QStringLiteral("ПАРМ");
    }
    return {};
}

Comparison compare(double a, double b)
{
    if (a < b)
        return Comparison::Less;
    if (a == b)
        return Comparison::Equal;
    return Comparison::Greater;
}

Expression trueRule(Operation operation, Comparison comparison)
{
    using enum Expression;
    // Each row in the order A < B, A = B, A > B.
    static const Expression lasm[] = {Difference, Sum, SumPlusOne};
    static const Expression vadl[] = {SumPlusOne, Difference, Sum};
    static const Expression parm[] = {Sum, SumPlusOne, Difference};
    const Expression *row = operation == Operation::Lasm ? lasm : operation == Operation::Vadl ? vadl : parm;
    return row[static_cast<int>(comparison)];
}

double evaluate(Expression expression, double a, double b)
{
    switch (expression) {
    case Expression::Sum:
        return a + b;
    case Expression::SumPlusOne:
        return a + b + 1.0;
    case Expression::Difference:
        return a - b;
    case Expression::ReverseDifference:
        return b - a;
    }
    return 0;
}

std::optional<double> operate(Operation operation, double a, double b)
{
    const double result = evaluate(trueRule(operation, compare(a, b)), a, b);
    if (!std::isfinite(result))
        return std::nullopt;
    return result;
}

QString ruleCaption(Comparison comparison, Expression expression)
{
    static const QString relations[] = {QStringLiteral("А<В"), QStringLiteral("А=В"), QStringLiteral("А>В")};
    static const QString expressions[] = {QStringLiteral("А+В"), QStringLiteral("А+В+1"), QStringLiteral("А-В"),
                                          QStringLiteral("В-А")};
    QString caption = QStringLiteral("ЕСЛИ ") + relations[static_cast<int>(comparison)] + QStringLiteral(", ТО ")
        + expressions[static_cast<int>(expression)];
    // The window has always shown this one caption with a trailing blank.
    if (comparison == Comparison::Greater && expression == Expression::SumPlusOne)
        caption += u' ';
    return caption;
}

int &flagOf(RuleFlags &flags, Operation operation, Comparison comparison, Expression expression)
{
    if (expression != trueRule(operation, comparison))
        return flags.WrongPicked;
    switch (comparison) {
    case Comparison::Less:
        return flags.LessPicked;
    case Comparison::Equal:
        return flags.EqualPicked;
    case Comparison::Greater:
        break;
    }
    return flags.GreaterPicked;
}

QString ruleVerdict(const RuleFlags &flags)
{
    const bool identified =
        flags.LessPicked == 1 && flags.EqualPicked == 1 && flags.GreaterPicked == 1 && flags.WrongPicked != 1;
    return identified ? QStringLiteral("1") : QStringLiteral("-1");
}

int correctCount(const QStringList &verdicts)
{
    // The verdict of an operation whose three true rules, and no false one, were named.
    const QString identified = ruleVerdict({1, 1, 1, 0});
    return int(verdicts.count(identified));
}
