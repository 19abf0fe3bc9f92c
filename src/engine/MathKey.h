#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The sixteen mathematics items: the fifteen problems of the sheet in order,
// then the expression item of the hand and eye window.
constexpr int mathItemCount = 16;
using MathAnswers = std::array<double, mathItemCount>;

// What an empty answer field stands for; it equals no key.
constexpr double emptyAnswer = 90009;

// A typed answer: an empty text gives emptyAnswer, any other text must be a
// number (see parseReal); nothing when it is not.
std::optional<double> mathAnswer(const QString &text);

// The sixteen answers: the sheet's fifteen typed answers, each read as
// mathAnswer reads it, and the value of the expression item; nothing when a
// typed answer is no number.
std::optional<MathAnswers> mathAnswers(const QStringList &sheetTexts, double expressionAnswer);

// The right answer of each item. Five keys depend on the number of characters
// of the subject's name (И) and surname (Ф).
MathAnswers mathKey(int nameLength, int surnameLength);

// Items 2, 4, ..., 14 and the expression item are expressions; the odd items
// are word problems.
bool isExpressionItem(int index);

struct MathScore
{
    int total = 0;
    int expressions = 0;
    int problems = 0;
};

// Counts the answers exactly equal to their keys, in total and by group.
MathScore scoreMath(const MathAnswers &answers, int nameLength, int surnameLength);
