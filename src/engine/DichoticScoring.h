#pragma once

#include "engine/DichoticWords.h"

#include <QString>
#include <QStringList>

// Words recalled from each channel over one series.
struct ChannelCounts
{
    int channelA = 0;
    int channelB = 0;
};

// Words recalled by each ear over one series, and the series' coefficient.
struct SeriesResult
{
    int earA = 0;
    int earB = 0;
    double coef = 0;
};

// What the two series say together.
struct BothSeriesResult
{
    QString seriesAgreement;
    double totalCoef = 0;
    QString totalCoefText;
    QString earAdvantage;
};

// Whether a word is among the eight answers of its recording. Comparison is
// exact: case, blanks and every letter count; an empty answer matches nothing;
// the "ё" and "е" forms of one word are one word.
bool isRecalled(const QStringList &recordingAnswers, const StimulusWord &word);

// The number of words of one channel list recalled among the eight answers of
// its recording; a word counts once however often it is typed.
int recordingScore(const QStringList &recordingAnswers, const ChannelWords &words);

// Both channel totals of a series from its 104 answers, eight per recording in
// recording order.
ChannelCounts seriesScore(const QStringList &answers);

// (a - b) / (a + b) * 100, or 0 when nothing was recalled: positive when ear A
// recalled more.
double earCoefficient(int earA, int earB);

// One series (1 or 2) from its 104 answers. In series 1 ear A hears channel
// A; for series 2 the headphones are turned around, so ear A hears channel B.
SeriesResult seriesResult(int series, const QStringList &answers);

// The agreement of the series, the coefficient over all four counts, its text
// and the ear advantage class. Counts are per ear: in series 2 ear A heard
// channel B.
BothSeriesResult overBothSeries(int series1EarA, int series1EarB, double series1Coef, int series2EarA,
                                int series2EarB, double series2Coef);
