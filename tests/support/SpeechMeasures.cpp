#include "support/SpeechMeasures.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace test {

namespace {

constexpr qsizetype millisecond = speechRate / 1000;

// Power of each window of `width` samples starting at from, from + 1, ...
std::vector<double> slidingPower(const QList<qint16> &channel, qsizetype from, qsizetype to, qsizetype width)
{
    std::vector<double> power;
    double sum = 0;
    for (qsizetype i = from; i < to; ++i) {
        sum += double(channel[i]) * channel[i];
        if (i - from >= width)
            sum -= double(channel[i - width]) * channel[i - width];
        if (i - from >= width - 1)
            power.push_back(std::max(0.0, sum) / double(width));
    }
    return power;
}

double loudestTenMilliseconds(const QList<qint16> &channel, qsizetype from, qsizetype to)
{
    const std::vector<double> power = slidingPower(channel, from, to, 10 * millisecond);
    return power.empty() ? 0 : *std::max_element(power.begin(), power.end());
}

// A fourth-order low-pass at 2.4 kHz (two Butterworth sections), so that a
// quarter of the samples keep the voice's pitch without aliasing.
std::vector<double> downsampled(const QList<qint16> &channel, qsizetype from, qsizetype to)
{
    const double w0 = 2 * std::numbers::pi * 2400 / speechRate;
    const double alpha = std::sin(w0) / std::sqrt(2.0);
    const double a0 = 1 + alpha;
    const double b0 = (1 - std::cos(w0)) / 2 / a0, b1 = (1 - std::cos(w0)) / a0;
    const double a1 = -2 * std::cos(w0) / a0, a2 = (1 - alpha) / a0;
    std::vector<double> x(channel.begin() + from, channel.begin() + to);
    for (int section = 0; section < 2; ++section) {
        double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        for (double &v : x) {
            const double y = b0 * v + b1 * x1 + b0 * x2 - a1 * y1 - a2 * y2;
            x2 = x1;
            x1 = v;
            y2 = y1;
            y1 = y;
            v = y;
        }
    }
    std::vector<double> quarter;
    for (size_t i = 0; i < x.size(); i += 4)
        quarter.push_back(x[i]);
    return quarter;
}

} // namespace

EnergySpan energySpan(const QList<qint16> &channel, qsizetype from, qsizetype to)
{
    const double threshold = loudestTenMilliseconds(channel, from, to) * 1e-5;
    const std::vector<double> power = slidingPower(channel, from, to, millisecond);
    EnergySpan span;
    for (size_t i = 0; i < power.size(); ++i) {
        if (threshold > 0 && power[i] >= threshold) {
            if (span.start < 0)
                span.start = from + qsizetype(i);
            span.end = from + qsizetype(i) + millisecond;
        }
    }
    return span;
}

QList<double> pitchStrength(const QList<qint16> &channel, qsizetype from, qsizetype to)
{
    constexpr int factor = 4;
    constexpr qsizetype half = 25 * millisecond / factor / 2;
    constexpr qsizetype shortestPeriod = 5 * millisecond / 2 / factor;
    constexpr qsizetype longestPeriod = 25 * millisecond / 2 / factor;
    const double quietest = loudestTenMilliseconds(channel, from, to) * std::pow(10.0, -3.5);
    const std::vector<double> x = downsampled(channel, from, to);
    const qsizetype n = qsizetype(x.size());
    QList<double> strength;
    for (qsizetype centre = 0; centre * factor < to - from; centre += millisecond / factor) {
        const qsizetype first = centre - half, last = centre + half;
        const qsizetype begin = std::max<qsizetype>(0, first), end = std::min(n, last);
        double energy = 0;
        for (qsizetype i = begin; i < end; ++i)
            energy += x[i] * x[i];
        if (end <= begin || energy / double(end - begin) < quietest) {
            strength << 0.0;
            continue;
        }
        // The highest correlation past the first lag at which it turns
        // negative: noise, even low-pass noise, stays correlated only at
        // lags shorter than that, a voice repeats beyond it.
        double best = 0;
        bool turnedNegative = false;
        for (qsizetype lag = 1; lag <= longestPeriod; ++lag) {
            double xy = 0, xx = 0, yy = 0;
            for (qsizetype i = begin; i + lag < end; ++i) {
                xy += x[i] * x[i + lag];
                xx += x[i] * x[i];
                yy += x[i + lag] * x[i + lag];
            }
            const double r = xx > 0 && yy > 0 ? xy / std::sqrt(xx * yy) : 0;
            turnedNegative = turnedNegative || r < 0;
            if (turnedNegative && lag >= shortestPeriod)
                best = std::max(best, r);
        }
        strength << best;
    }
    return strength;
}

qsizetype voicingOnset(const QList<qint16> &channel, qsizetype from, qsizetype to)
{
    constexpr double voiced = 0.5;
    constexpr qsizetype held = 20;
    const QList<double> strength = pitchStrength(channel, from, to);
    qsizetype run = 0;
    for (qsizetype k = 0; k < strength.size(); ++k) {
        run = strength[k] >= voiced ? run + 1 : 0;
        if (run == held)
            return from + (k - held + 1) * millisecond;
    }
    return -1;
}

} // namespace test
