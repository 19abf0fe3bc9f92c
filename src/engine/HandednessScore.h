#pragma once

#include <QString>
#include <array>

// The hand-preference questionnaire of the hand and eye window: twelve
// questions, each answered on the same five-step scale.
constexpr int handQuestionCount = 12;

// The value of a choice of the scale, in display order: "Всегда правой" +2,
// "Чаще правой, но иногда левой" +1, "Любой" 0, "Чаще левой, но иногда
// правой" -1, "Всегда левой" -2.
double handItemValue(int choiceIndex);

// The sum of the twelve item values: a whole number from -24 to +24.
double handScore(const std::array<double, handQuestionCount> &itemValues);

// The score as stored: a plain whole number with a minus sign where negative.
QString handScoreText(double score);

// The class of a score: "-1" below -8, "1" above 8, "0" between.
QString handClass(double score);
