#pragma once

#include "engine/CalculatorRules.h"

#include <QString>
#include <QStringList>
#include <optional>

// The fixed ids of the items, the same whatever order the subject meets them
// in: the windows report by them and the item file names its rows by them.

namespace task {
inline const QString handedness = QStringLiteral("handedness");
inline const QString expression = QStringLiteral("expression");
inline const QString dichotic = QStringLiteral("dichotic");
inline const QString math = QStringLiteral("math");
inline const QString calculator = QStringLiteral("calculator");
inline const QString rules = QStringLiteral("rules");
inline const QString matrices = QStringLiteral("matrices");
// Events of the whole run, not of one window's task.
inline const QString session = QStringLiteral("session");
} // namespace task

// The event of a run taken up again after an interruption: its stimulus the
// window it went on at, its response the gap in seconds.
inline const QString resumedEvent = QStringLiteral("resumed");

// The five practical tests of the hand and eye window ("thumb", "arm",
// "clap", "wink", "sight"), then its twelve questions "hand01" to "hand12",
// in page order.
const QStringList &handednessItems();

inline const QString expressionItem = QStringLiteral("expression");

// A recording of a listening series as played: "dichotic1-03".
QString dichoticRecordingItem(int series, int recording);
// An answer field of a recording, field 1 to 8: "dichotic1-03-field5".
QString dichoticFieldItem(int series, int recording, int field);
// A word of a recording, channel 'A' or 'B', position 1 to 4: "dichotic1-03A2".
QString dichoticWordItem(int series, int recording, QChar channel, int position);

// Problem 1 to 15 of the mathematics sheet: "math01" … "math15".
QString mathItem(int problem);

// An operation of the calculator: "calculator-lasm", "-vadl", "-parm".
QString calculatorItem(Operation operation);

// A rule button of the rule window, "rule-lasm-less-difference", and the
// cancel of an operation's group, "rule-lasm-cancel".
QString ruleItem(Operation operation, Comparison comparison, Expression expression);
QString ruleCancelItem(Operation operation);

// What a rule item stands for; no comparison for a cancel, nothing for an id
// that is no rule item.
struct RuleChoice
{
    Operation operation;
    std::optional<Comparison> comparison;
    Expression expression = Expression::Sum;
};
std::optional<RuleChoice> ruleChoiceOf(const QString &item);

// Item 1 to 15 of the matrices: "matrix01" … "matrix15".
QString matrixItem(int item);
