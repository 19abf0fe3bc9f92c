#include "engine/DichoticScoring.h"

#include "engine/Numbers.h"

#include <algorithm>

bool isRecalled(const QStringList &recordingAnswers, const StimulusWord &word)
{
    return std::any_of(recordingAnswers.begin(), recordingAnswers.end(),
                       [&](const QString &answer) { return word.accepts(answer); });
}

int recordingScore(const QStringList &recordingAnswers, const ChannelWords &words)
{
    return int(std::count_if(words.begin(), words.end(),
                             [&](const StimulusWord &word) { return isRecalled(recordingAnswers, word); }));
}

ChannelCounts seriesScore(const QStringList &answers)
{
    ChannelCounts counts;
    for (int recording = 0; recording < recordingCount; ++recording) {
        const QStringList own = answers.mid(recording * fieldsPerRecording, fieldsPerRecording);
        counts.channelA += recordingScore(own, dichoticWords()[recording].channelA);
        counts.channelB += recordingScore(own, dichoticWords()[recording].channelB);
    }
    return counts;
}

double earCoefficient(int earA, int earB)
{
    const int sum = earA + earB;
    if (sum == 0)
        return 0;
    return double(earA - earB) / sum * 100;
}

SeriesResult seriesResult(int series, const QStringList &answers)
{
    const ChannelCounts counts = seriesScore(answers);
    SeriesResult result;
    result.earA = series == 1 ? counts.channelA : counts.channelB;
    result.earB = series == 1 ? counts.channelB : counts.channelA;
    result.coef = earCoefficient(result.earA, result.earB);
    return result;
}

BothSeriesResult overBothSeries(int series1EarA, int series1EarB, double series1Coef, int series2EarA,
                                int series2EarB, double series2Coef)
{
    BothSeriesResult result;
    const bool opposite = (series1Coef > 0 && series2Coef < 0) || (series1Coef < 0 && series2Coef > 0);
    result.seriesAgreement = opposite ? QStringLiteral("есть расхождение между сериями")
                                      : QStringLiteral("расхождения нет");

    const int earA = series1EarA + series2EarA;
    const int earB = series1EarB + series2EarB;
    if (earA + earB == 0) {
        result.totalCoef = 0;
        result.totalCoefText = QStringLiteral("дихотическое прослушивание пройдено неправильно");
    } else {
        result.totalCoef = earCoefficient(earA, earB);
        result.totalCoefText = formatGeneral(result.totalCoef);
    }

    if (result.totalCoef < -5)
        result.earAdvantage = QStringLiteral("-1");
    else if (result.totalCoef > 5)
        result.earAdvantage = QStringLiteral("1");
    else
        result.earAdvantage = QStringLiteral("0");
    return result;
}
