#include "engine/HandednessScore.h"

#include <cmath>
#include <numeric>

double handItemValue(int choiceIndex)
{
    static constexpr double values[] = {2, 1, 0, -1, -2};
    return values[choiceIndex];
}

double handScore(const std::array<double, handQuestionCount> &itemValues)
{
    return std::accumulate(itemValues.begin(), itemValues.end(), 0.0);
}

QString handScoreText(double score)
{
    return QString::number(static_cast<long long>(std::llround(score)));
}

QString handClass(double score)
{
    // Three tests in this order, a later one overwriting an earlier one.
    QString handClass;
    if (score < -8)
        handClass = QStringLiteral("-1");
    if (-9 < score && score < 9)
        handClass = QStringLiteral("0");
    if (score > 8)
        handClass = QStringLiteral("1");
    return handClass;
}
