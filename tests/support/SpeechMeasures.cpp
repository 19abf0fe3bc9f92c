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

// One second-order Butterworth section (high- or low-pass at `corner` Hz)
// run over x in place.
void butterworth(std::vector<double> &x, double corner, bool highPass)
{
    const double w0 = 2 * std::numbers::pi * corner / speechRate;
    const double alpha = std::sin(w0) / std::sqrt(2.0);
    const double a0 = 1 + alpha, c = std::cos(w0);
    const double b0 = (highPass ? (1 + c) : (1 - c)) / 2 / a0;
    const double b1 = (highPass ? -(1 + c) : (1 - c)) / a0;
    const double a1 = -2 * c / a0, a2 = (1 - alpha) / a0;
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

// Mean power of the band over `window` samples centred on each millisecond.
std::vector<double> bandPower(const QList<qint16> &channel, qsizetype from, qsizetype to, double low, double high,
                              qsizetype window)
{
    std::vector<double> x(channel.begin() + from, channel.begin() + to);
    for (int pass = 0; pass < 2; ++pass) {
        butterworth(x, low, true);
        butterworth(x, high, false);
    }
    std::vector<double> sums(x.size() + 1, 0.0);
    for (size_t i = 0; i < x.size(); ++i)
        sums[i + 1] = sums[i] + x[i] * x[i];
    std::vector<double> power;
    for (qsizetype centre = 0; centre < to - from; centre += millisecond) {
        const qsizetype first = std::max<qsizetype>(0, centre - window / 2);
        const qsizetype last = std::min<qsizetype>(to - from, centre + window / 2);
        power.push_back((sums[size_t(last)] - sums[size_t(first)]) / double(std::max<qsizetype>(1, last - first)));
    }
    return power;
}

// A fourth-order low-pass at 2.4 kHz (two Butterworth sections), so that a
// quarter of the samples keep the voice's pitch without aliasing.
std::vector<double> downsampled(const QList<qint16> &channel, qsizetype from, qsizetype to)
{
    std::vector<double> x(channel.begin() + from, channel.begin() + to);
    butterworth(x, 2400, false);
    butterworth(x, 2400, false);
    std::vector<double> quarter;
    for (size_t i = 0; i < x.size(); i += 4)
        quarter.push_back(x[i]);
    return quarter;
}

double decibels(double power)
{
    return 10 * std::log10(power + 1e-3);
}

} // namespace

QList<double> bandLevels(const QList<qint16> &channel, qsizetype from, qsizetype to, double low, double high, int window)
{
    QList<double> levels;
    for (double power : bandPower(channel, from, to, low, high, window * millisecond))
        levels << decibels(power);
    return levels;
}

qsizetype steepestRiseOnset(const QList<qint16> &channel, qsizetype from, qsizetype to)
{
    constexpr qsizetype step = 10; // ms over which the rise is taken
    constexpr double range = 10;   // dB below the loudest that the rise must reach
    const QList<double> level = bandLevels(channel, from, to, 300, 1000, 10);
    if (level.isEmpty())
        return -1;
    const qsizetype loudest = std::max_element(level.begin(), level.end()) - level.begin();
    qsizetype best = -1;
    double steepest = 0;
    for (qsizetype k = 0; k + step <= loudest; ++k) {
        const double rise = level[k + step] - level[k];
        if (level[k + step] >= level[loudest] - range && rise > steepest) {
            steepest = rise;
            best = k + step / 2;
        }
    }
    return best < 0 ? -1 : from + best * millisecond;
}

qsizetype strongVoiceOnset(const QList<qint16> &channel, qsizetype from, qsizetype to)
{
    constexpr double voiced = 0.5, range = 10;
    constexpr qsizetype held = 20;
    const QList<double> strength = pitchStrength(channel, from, to);
    const QList<double> level = bandLevels(channel, from, to, 50, 8000, 10);
    const double loudest = *std::max_element(level.begin(), level.end());
    qsizetype run = 0;
    for (qsizetype k = 0; k < std::min(strength.size(), level.size()); ++k) {
        run = strength[k] >= voiced && level[k] >= loudest - range ? run + 1 : 0;
        if (run == held)
            return from + (k - held + 1) * millisecond;
    }
    return -1;
}

qsizetype envelopeCentre(const QList<qint16> &channel, qsizetype from, qsizetype to)
{
    const std::vector<double> power = bandPower(channel, from, to, 300, 3000, 50 * millisecond);
    const double loudest = *std::max_element(power.begin(), power.end());
    for (size_t k = 0; k < power.size(); ++k)
        if (power[k] >= loudest / 4)
            return from + qsizetype(k) * millisecond;
    return -1;
}

qsizetype voicedTail(const QList<qint16> &channel, qsizetype from, qsizetype to)
{
    const QList<double> strength = pitchStrength(channel, from, to);
    qsizetype k = strength.size();
    while (k > 0 && strength[k - 1] == 0)
        --k;
    qsizetype run = 0;
    while (k > 0 && strength[k - 1] >= 0.5) {
        --k;
        ++run;
    }
    return run * millisecond;
}

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
