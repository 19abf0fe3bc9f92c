#include "support/SpeechMeasures.h"

#include <QRegularExpression>
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

// Where a level changes fastest over 10 ms (rising when sign is 1, falling
// when -1) within [first, last) ms; `first` when the range is empty.
qsizetype fastestChange(const std::vector<double> &level, qsizetype first, qsizetype last, int sign)
{
    constexpr qsizetype half = 5;
    first = std::max(first, half);
    qsizetype best = first;
    double fastest = -1e9;
    for (qsizetype k = first; k < std::min(last, qsizetype(level.size()) - half); ++k) {
        const double change = sign * (level[size_t(k + half)] - level[size_t(k - half)]);
        if (change > fastest) {
            fastest = change;
            best = k;
        }
    }
    return best;
}

qsizetype firstVowel(const QString &written)
{
    static const QRegularExpression vowel(QStringLiteral("[аеёиоуыэюя]"));
    return written.indexOf(vowel);
}

} // namespace

QList<double> bandLevels(const QList<qint16> &channel, qsizetype from, qsizetype to, double low, double high, int window)
{
    QList<double> levels;
    for (double power : bandPower(channel, from, to, low, high, window * millisecond))
        levels << decibels(power);
    return levels;
}

OnsetKind onsetKind(const QString &written)
{
    const qsizetype vowel = firstVowel(written);
    QString consonants = written.left(vowel < 0 ? written.size() : vowel);
    consonants.remove(u'ь').remove(u'ъ');
    if (consonants.isEmpty() || QStringLiteral("пткфсшщхцч").contains(consonants.back()))
        return OnsetKind::AfterVoiceless;
    if (QStringLiteral("бдг").contains(consonants.back()))
        return OnsetKind::AfterVoicedStop;
    if (QStringLiteral("зж").contains(consonants.back()))
        return OnsetKind::AfterVoicedFricative;
    if (consonants.back() == u'р')
        return OnsetKind::AfterTap;
    return OnsetKind::AfterSonorant;
}

namespace {

// The six bands the vowel-onset landmarks compare.
constexpr double bandEdges[] = {80, 300, 700, 1200, 2000, 3500, 8000};
constexpr int bandCount = 6;
constexpr qsizetype span = 10; // ms on either side of a change
// ms after the sound's start before a landmark is sought: the word's own
// start is a rise of every band
constexpr qsizetype settled = 20;

double powerSum(const std::vector<double> &levels)
{
    double power = 0;
    for (double level : levels)
        power += std::pow(10.0, level / 10);
    return 10 * std::log10(power);
}

// What the two landmarks look at, in ms from the word's first sample: the
// six bands' levels and their sum, the stretch of voice the vowel lies in,
// the vowel's loudest part, and where a landmark may lie.
struct VowelSearch
{
    std::vector<std::vector<double>> bands; // [ms][band], dB
    std::vector<double> whole;
    double loudest = 0;
    qsizetype voiceStart = -1; // the first of the voiced milliseconds around the nucleus
    qsizetype nucleus = -1;    // the loudest 50 ms of 300-1200 Hz (the first formant's)
    qsizetype voiceEnd = -1;
    qsizetype first = -1; // where a consonant's opening may be sought
    qsizetype last = -1;
    qsizetype size() const { return qsizetype(whole.size()); }
    qsizetype reach() const { return voiceStart + (voiceEnd - voiceStart) * 6 / 10; }
};

// A stop before the last consonant of a cluster (бр, кр, тр, ...) is released
// before the vowel: the opening is sought after its release.
bool stopBeforeLastConsonant(const QString &written)
{
    return firstVowel(written) > 1 && QStringLiteral("бдгптк").contains(written[0]);
}

VowelSearch vowelSearch(const QList<qint16> &channel, qsizetype from, qsizetype to, const QString &written)
{
    VowelSearch search;
    std::vector<QList<double>> levels;
    for (int b = 0; b < bandCount; ++b)
        levels.push_back(bandLevels(channel, from, to, bandEdges[b], bandEdges[b + 1], 10));
    const QList<double> firstFormant = bandLevels(channel, from, to, 300, 1200, 50);
    const QList<double> strength = pitchStrength(channel, from, to);
    const qsizetype size = std::min({levels[0].size(), firstFormant.size(), strength.size()});
    for (qsizetype k = 0; k < size; ++k) {
        std::vector<double> at;
        for (const QList<double> &band : levels)
            at.push_back(band[k]);
        search.whole.push_back(powerSum(at));
        search.bands.push_back(std::move(at));
    }
    if (size == 0)
        return search;
    search.loudest = *std::max_element(search.whole.begin(), search.whole.end());
    search.nucleus = std::max_element(firstFormant.begin(), firstFormant.begin() + size) - firstFormant.begin();
    // back from the nucleus over voiced milliseconds, gaps under 10 ms bridged
    constexpr qsizetype bridged = 10;
    search.voiceStart = search.voiceEnd = search.nucleus;
    for (qsizetype k = search.nucleus, gap = 0; k >= 0 && gap < bridged; --k) {
        gap = strength[k] >= 0.5 ? 0 : gap + 1;
        if (!gap)
            search.voiceStart = k;
    }
    for (qsizetype k = search.nucleus, gap = 0; k < size && gap < bridged; ++k) {
        gap = strength[k] >= 0.5 ? 0 : gap + 1;
        if (!gap)
            search.voiceEnd = k;
    }
    // from where the word has come within 10 dB of its loudest (or, in a
    // cluster, from 10 ms after the release of its stop), 60% of the way to
    // the end of the voice
    search.first = search.voiceStart;
    while (search.first < search.voiceEnd && search.whole[size_t(search.first)] < search.loudest - 10)
        ++search.first;
    if (stopBeforeLastConsonant(written)) {
        std::vector<double> burst;
        for (const std::vector<double> &at : search.bands)
            burst.push_back(at[bandCount - 2]);
        search.first = std::max(search.first, fastestChange(burst, settled, search.reach(), 1) + span);
    }
    search.last = std::min(search.first + (search.voiceEnd - search.first) * 6 / 10, search.nucleus + 40);
    return search;
}

} // namespace

qsizetype bandStepOnset(const QList<qint16> &channel, qsizetype from, qsizetype to, const QString &written)
{
    const VowelSearch s = vowelSearch(channel, from, to, written);
    if (s.voiceStart < 0)
        return -1;
    const auto at = [&](qsizetype k) { return from + k * millisecond; };
    std::vector<double> voiceBar, noise;
    for (const std::vector<double> &bands : s.bands) {
        voiceBar.push_back(bands[0]);
        noise.push_back(bands[bandCount - 1] - powerSum(bands));
    }
    switch (onsetKind(written)) {
    case OnsetKind::AfterVoiceless: // the voice bar's rise where the voice starts
        return at(fastestChange(voiceBar, s.voiceStart - 5, s.voiceStart + 15, 1));
    case OnsetKind::AfterVoicedStop: { // the release: the steepest rise into the vowel's level
        std::vector<double> intoVowel = s.whole;
        for (size_t k = 0; k + 5 < intoVowel.size(); ++k)
            if (s.whole[k + 5] < s.loudest - 6)
                intoVowel[k] = -1e3 * double(k + 1); // no rise ends here
        return at(fastestChange(intoVowel, settled, s.reach(), 1));
    }
    case OnsetKind::AfterVoicedFricative: // the noise falling against the rest
        return at(fastestChange(noise, settled, s.nucleus + 1, -1));
    case OnsetKind::AfterTap:
    case OnsetKind::AfterSonorant:
        break;
    }
    // The opening: of the changes between 10 ms before and 10 ms after of the
    // six levels against the whole (the shape of the spectrum), of the whole
    // level and of the first formant's (300-1200 Hz), the last that is at
    // least 85% of the largest: a change within the vowel (a glide, a formant
    // moving) comes after the opening and is smaller.
    const auto shape = [&](qsizetype k, int b) { return s.bands[size_t(k)][size_t(b)] - s.whole[size_t(k)]; };
    const auto firstFormant = [&](qsizetype k) { return powerSum({s.bands[size_t(k)][1], s.bands[size_t(k)][2]}); };
    std::vector<double> steps(size_t(s.size()), 0.0);
    const qsizetype first = s.first + span + 5, last = std::min(s.last, s.size() - span);
    for (qsizetype k = first; k < last; ++k) {
        double step = std::fabs(s.whole[size_t(k + span)] - s.whole[size_t(k - span)]) + firstFormant(k + span) - firstFormant(k - span);
        for (int b = 0; b < bandCount; ++b)
            step += std::fabs(shape(k + span, b) - shape(k - span, b));
        steps[size_t(k)] = step;
    }
    if (last <= first)
        return at(s.voiceStart);
    const double largest = *std::max_element(steps.begin() + first, steps.begin() + last);
    for (qsizetype k = last - 1; k >= first; --k)
        if (steps[size_t(k)] >= 0.85 * largest && (k + 1 >= last || steps[size_t(k)] >= steps[size_t(k + 1)])
            && (k == first || steps[size_t(k)] >= steps[size_t(k - 1)]))
            return at(k);
    return at(s.voiceStart);
}

namespace {

// Where р's tap ends: after the deepest dip of the level (at least 3 dB under
// the highest level of the 15 ms on either side), the first millisecond back
// within 3 dB of the highest level of the 20 ms that follow; -1 if none.
qsizetype tapRelease(const VowelSearch &s)
{
    constexpr qsizetype side = 15, ahead = 20;
    constexpr double depth = 3;
    const auto highest = [&](qsizetype a, qsizetype z) {
        return *std::max_element(s.whole.begin() + std::max<qsizetype>(0, a), s.whole.begin() + std::min(s.size(), z));
    };
    qsizetype dip = -1;
    double deepest = depth;
    for (qsizetype k = s.first; k < std::min(s.last, s.size() - side); ++k) {
        const double below = std::min(highest(k - side, k), highest(k + 1, k + side + 1)) - s.whole[k];
        if (below >= deepest) {
            deepest = below;
            dip = k;
        }
    }
    for (qsizetype k = dip; dip >= 0 && k < s.size() - ahead; ++k)
        if (s.whole[k] >= highest(k, k + ahead) - depth)
            return k;
    return -1;
}

// The millisecond that splits [first, last) into two parts whose features
// ([ms][feature]) each differ least from their own mean (least squares).
qsizetype bestSplit(const std::vector<std::vector<double>> &features, qsizetype first, qsizetype last)
{
    constexpr qsizetype shortest = 10;
    first = std::max<qsizetype>(0, first);
    last = std::min(last, qsizetype(features.size()));
    if (last - first < 2 * shortest)
        return -1;
    // running sums of each feature and its square, so each split costs O(features)
    const size_t n = size_t(last - first), count = features[0].size();
    std::vector<std::vector<double>> sum(count, std::vector<double>(n + 1, 0.0)), square = sum;
    for (size_t f = 0; f < count; ++f)
        for (size_t i = 0; i < n; ++i) {
            const double v = features[size_t(first) + i][f];
            sum[f][i + 1] = sum[f][i] + v;
            square[f][i + 1] = square[f][i] + v * v;
        }
    const auto spread = [&](size_t a, size_t z) {
        double total = 0;
        for (size_t f = 0; f < count; ++f) {
            const double s1 = sum[f][z] - sum[f][a];
            total += square[f][z] - square[f][a] - s1 * s1 / double(z - a);
        }
        return total;
    };
    size_t best = 0;
    double least = 0;
    for (size_t k = shortest; k + shortest <= n; ++k) {
        const double cost = spread(0, k) + spread(k, n);
        if (best == 0 || cost < least) {
            least = cost;
            best = k;
        }
    }
    return first + qsizetype(best);
}

} // namespace

qsizetype bestSplitOnset(const QList<qint16> &channel, qsizetype from, qsizetype to, const QString &written)
{
    const VowelSearch s = vowelSearch(channel, from, to, written);
    if (s.voiceStart < 0)
        return -1;
    std::vector<std::vector<double>> noise;
    for (const std::vector<double> &bands : s.bands)
        noise.push_back({bands[bandCount - 1] - powerSum(bands)});
    const qsizetype releaseReach = std::min(s.reach(), s.nucleus + 40) + 10;
    qsizetype landmark = -1;
    switch (onsetKind(written)) {
    case OnsetKind::AfterVoiceless: // the noise or silence against the voice
        landmark = bestSplit(s.bands, s.voiceStart - 30, s.voiceStart + 30);
        break;
    case OnsetKind::AfterVoicedFricative: // the noise above 3.5 kHz, against the rest
        landmark = bestSplit(noise, settled, releaseReach);
        break;
    case OnsetKind::AfterVoicedStop: // its prevoicing against the vowel
        landmark = bestSplit(s.bands, settled + 15, releaseReach);
        break;
    case OnsetKind::AfterTap:
        landmark = tapRelease(s);
        if (landmark < 0)
            landmark = bestSplit(s.bands, s.first + 15, s.last + 10);
        break;
    case OnsetKind::AfterSonorant:
        landmark = bestSplit(s.bands, s.first + 15, s.last + 10);
        break;
    }
    // no split or tap found (too short a stretch): where the voice starts
    return from + (landmark < 0 ? s.voiceStart : landmark) * millisecond;
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
