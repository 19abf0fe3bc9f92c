#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The hidden operations of the unusual calculator and the scoring of the rules
// the subject names for them.

enum class Operation { Lasm, Vadl, Parm };

// How A compares with B, exactly as doubles.
enum class Comparison { Less, Equal, Greater };

// What a rule computes from A and B.
enum class Expression { Sum, SumPlusOne, Difference, ReverseDifference };

// The name of an operation as its button and the rule window show it.
QString operationName(Operation operation);

Comparison compare(double a, double b);

// The expression an operation applies when A and B compare so.
Expression trueRule(Operation operation, Comparison comparison);

double evaluate(Expression expression, double a, double b);

// The result of an operation on A and B; nothing when it lies beyond the range
// of a double.
std::optional<double> operate(Operation operation, double a, double b);

// The caption of a rule button, e.g. "ЕСЛИ А<В, ТО А+В" (Cyrillic А and В).
QString ruleCaption(Comparison comparison, Expression expression);

// What the subject has pressed in the rule buttons of one operation.
struct RuleFlags
{
    int LessPicked = 0;    // its true rule for A < B
    int EqualPicked = 0;   // its true rule for A = B
    int GreaterPicked = 0; // its true rule for A > B
    int WrongPicked = 0;   // any of the eight false rules
};

// The flag that the rule "if A compares so, then the expression" sets when
// pressed among the rules of the operation.
int &flagOf(RuleFlags &flags, Operation operation, Comparison comparison, Expression expression);

// "1" when the operation was identified exactly: its three true rules
// pressed and no false one; else "-1".
QString ruleVerdict(const RuleFlags &flags);

// How many of the operations' verdicts say "identified exactly".
int correctCount(const QStringList &verdicts);
