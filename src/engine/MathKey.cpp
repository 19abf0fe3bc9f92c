#include "engine/MathKey.h"

#include "engine/Numbers.h"

std::optional<double> mathAnswer(const QString &text)
{
    if (text.isEmpty())
        return emptyAnswer;
    return parseReal(text);
}

std::optional<MathAnswers> mathAnswers(const QStringList &sheetTexts, double expressionAnswer)
{
    MathAnswers answers;
    for (int index = 0; index < mathItemCount - 1; ++index) {
        const std::optional<double> answer = mathAnswer(sheetTexts.value(index));
        if (!answer)
            return std::nullopt;
        answers[index] = *answer;
    }
    answers[mathItemCount - 1] = expressionAnswer;
    return answers;
}

MathAnswers mathKey(int nameLength, int surnameLength)
{
    // In doubles: every product here is a whole number far below 2^53, so the
    // arithmetic is exact and long names cannot overflow it.
    const double i = nameLength;
    const double f = surnameLength;
    const double k3 = roundHalfUp(30000 / (230 * i * f));
    const double k7 = roundHalfUp((10 * f + 12 * i + 11) / 10);
    const double k10 = roundHalfUp(i - 1);
    const double k12 = roundHalfUp(100 * ((i + f) * (i + f) - 1) / ((i + 4) * (i + 4) * (i + 4) + f * f * f - 3));
    const double k15 = roundHalfUp(40 / (2 - 1 / f));
    return {35, 10, k3, 0, 863, -1, k7, -2, 75, k10, 280, k12, 56, 990, k15, 15};
}

bool isExpressionItem(int index)
{
    return index % 2 == 1; // items are numbered from 1, indices from 0
}

MathScore scoreMath(const MathAnswers &answers, int nameLength, int surnameLength)
{
    const MathAnswers key = mathKey(nameLength, surnameLength);
    MathScore score;
    for (int index = 0; index < mathItemCount; ++index) {
        if (answers[index] != key[index])
            continue;
        ++score.total;
        ++(isExpressionItem(index) ? score.expressions : score.problems);
    }
    return score;
}
