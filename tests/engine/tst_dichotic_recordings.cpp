#include "engine/DichoticWords.h"
#include "support/SpeechMeasures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <tuple>
#include <vector>

namespace {

constexpr int sampleRate = test::speechRate;
constexpr double shortestPause = 0.3;   // s of digital silence between words
constexpr double maxSoundOffset = 0.005; // s between where a word's sound starts or ends and the table
constexpr double maxVoicingOffset = 0.010; // s between the voice's onset and the stated vowel start
constexpr double searchMargin = 0.060;  // s around a word's stated span where its sound is sought
constexpr double maxVowelGap = 0.005;   // s between the stated vowel starts of a pair
constexpr double maxLandmarkGap = 0.010; // s between a pair's vowel onsets by this check's own landmarks
constexpr double maxMarcusGap = 0.005;  // s between a pair's P-centres by Marcus's rule
constexpr double maxEnvelopeGap = 0.010; // s between a pair's P-centres by the 300-3000 Hz envelope
constexpr double maxStartGap = 0.010;   // s between the sound starts of a pair
constexpr double pairSpacing = 1.5;     // s from one pair's vowel start to the next
constexpr double spacingTolerance = 0.005;
constexpr double maxDurationGap = 0.025; // s
constexpr double shortestInitial = 0.040; // s of an initial sonorant or fricative before the vowel
constexpr double longestVoicedTail = 0.020; // s of voice after a final voiceless consonant
constexpr double maxLevelGap = 0.5;     // dB
constexpr double maxVowelLevelGap = 1.0; // dB, over the loudest 50 ms of each word
constexpr double peakCeiling = -1.0;    // dBFS
constexpr double shortestFade = 0.005;  // s
constexpr double fadeFloor = 0.001;     // -60 dB of a word's peak: no click at that level
constexpr double shortestTail = 0.5;    // s of silence after the last word
constexpr double maxCorrelation = 0.3;  // between the channels of a recording

struct Recording
{
    int format = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
    QList<qint16> left;
    QList<qint16> right;
};

// The fmt and data chunks of a RIFF WAVE file; nothing on a malformed file.
std::optional<Recording> readWave(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return {};
    Recording wave;
    QByteArray data;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype size = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        const char *chunk = bytes.constData() + at + 8;
        if (at + 8 + size > bytes.size())
            return {};
        if (id == "fmt " && size >= 16) {
            wave.format = qFromLittleEndian<quint16>(chunk);
            wave.channels = qFromLittleEndian<quint16>(chunk + 2);
            wave.rate = int(qFromLittleEndian<quint32>(chunk + 4));
            wave.bits = qFromLittleEndian<quint16>(chunk + 14);
        } else if (id == "data") {
            data = QByteArray(chunk, size);
        }
        at += 8 + size + (size & 1);
    }
    if (wave.channels < 1 || wave.channels > 2 || wave.bits != 16)
        return wave;
    // a mono file's samples are all "left"
    const qsizetype frame = 2 * wave.channels;
    for (qsizetype at = 0; at + frame <= data.size(); at += frame) {
        wave.left << qFromLittleEndian<qint16>(data.constData() + at);
        if (wave.channels == 2)
            wave.right << qFromLittleEndian<qint16>(data.constData() + at + 2);
    }
    return wave;
}

struct Word
{
    qsizetype first; // first sample that is not silent
    qsizetype last;  // last sample that is not silent

    qsizetype length() const { return last - first + 1; }
};

// The words of one channel: runs of sound apart by at least the shortest pause.
QList<Word> wordsOf(const QList<qint16> &samples)
{
    const qsizetype pause = qsizetype(shortestPause * sampleRate);
    QList<Word> words;
    for (qsizetype i = 0; i < samples.size(); ++i) {
        if (samples[i] == 0)
            continue;
        if (!words.isEmpty() && i - words.last().last <= pause)
            words.last().last = i;
        else
            words << Word{i, i};
    }
    return words;
}

double peakOf(const QList<qint16> &samples, const Word &word)
{
    int peak = 0;
    for (qsizetype i = word.first; i <= word.last; ++i)
        peak = std::max(peak, std::abs(int(samples[i])));
    return peak;
}

double decibels(double amplitude)
{
    return 20 * std::log10(amplitude / 32768.0);
}

// The level of the word's loudest `span` samples: of the whole word, or of
// its loudest 50 ms, which lie in its vowel.
double levelOf(const QList<qint16> &samples, const Word &word, qsizetype span)
{
    span = std::min(span, word.length());
    double sum = 0, loudest = 0;
    for (qsizetype i = word.first; i <= word.last; ++i) {
        sum += double(samples[i]) * samples[i];
        if (i - word.first >= span)
            sum -= double(samples[i - span]) * samples[i - span];
        loudest = std::max(loudest, sum);
    }
    return decibels(std::sqrt(loudest / double(span)));
}

// Whether the first and last 5 ms of the word stay under a raised-cosine ramp
// of 5 ms that rises from -60 dB to the word's peak (the floor allows for a
// fade that began a few samples before the first that rounds to non-zero).
// A word that starts or stops abruptly breaks out of it at once. A shorter
// fade passes where the edge it shapes is too quiet to click (of the
// synthesiser's words faded over 3 ms, one breaks out); 5 to 10 ms keep well
// under.
bool fadesInAndOut(const QList<qint16> &samples, const Word &word)
{
    const double fade = shortestFade * sampleRate;
    const double peak = peakOf(samples, word);
    for (qsizetype k = 0; k < qsizetype(fade) && k < word.length(); ++k) {
        const double ramp = 0.5 - 0.5 * std::cos(std::numbers::pi * double(k) / fade);
        const double ceiling = peak * (ramp + fadeFloor);
        if (std::abs(samples[word.first + k]) > ceiling || std::abs(samples[word.last - k]) > ceiling)
            return false;
    }
    return true;
}

double correlation(const QList<qint16> &x, const QList<qint16> &y)
{
    double xy = 0, xx = 0, yy = 0;
    for (qsizetype i = 0; i < x.size(); ++i) {
        xy += double(x[i]) * y[i];
        xx += double(x[i]) * x[i];
        yy += double(y[i]) * y[i];
    }
    return xy / std::sqrt(xx * yy);
}

QString milliseconds(double samples)
{
    return QString::number(samples * 1000 / sampleRate, 'f', 1) + QStringLiteral(" ms");
}

// One row of sound/timing.txt: where the generator placed a word, in samples
// from the start of its recording.
struct TimedWord
{
    QString written;
    qsizetype start = 0;
    qsizetype vowel = 0;
    qsizetype end = 0; // the sample after the word's last
};

// The rows of one recording, left channel and right channel, in order.
struct RecordingTiming
{
    QList<TimedWord> left;
    QList<TimedWord> right;
};

// Whether the sounds before the word's first vowel letter are all voiceless,
// so that the voice first sounds where the vowel starts.
bool startsVoicelessUpToVowel(const QString &written)
{
    static const QString voiceless = QStringLiteral("пфктшсхцчщ");
    static const QString vowels = QStringLiteral("аеёиоуыэюя");
    for (const QChar letter : written) {
        if (vowels.contains(letter))
            return true;
        if (!voiceless.contains(letter))
            return false;
    }
    return false;
}

// Where the table says a word lies against where its sound lies: its energy
// starts and ends within 5 ms of the stated start and end, and its voice
// starts within 10 ms of the stated vowel start when only voiceless sounds
// come before the vowel, and no later than that otherwise (a voiced
// consonant before the vowel starts the voice earlier).
QStringList timingFaults(const QList<qint16> &samples, const TimedWord &word, const QString &name)
{
    const qsizetype margin = qsizetype(searchMargin * sampleRate);
    const qsizetype from = std::max<qsizetype>(0, word.start - margin);
    const qsizetype to = std::min(samples.size(), word.end + margin);
    const test::EnergySpan sound = test::energySpan(samples, from, to);
    const qsizetype voice = test::voicingOnset(samples, from, to);
    QStringList faults;
    if (std::abs(sound.start - word.start) > maxSoundOffset * sampleRate)
        faults << name + QStringLiteral(": sound starts %1 from its stated start").arg(milliseconds(double(sound.start - word.start)));
    if (std::abs(sound.end - word.end) > maxSoundOffset * sampleRate)
        faults << name + QStringLiteral(": sound ends %1 from its stated end").arg(milliseconds(double(sound.end - word.end)));
    const qsizetype voiceOffset = voice < 0 ? word.end - word.vowel : voice - word.vowel;
    const bool voicelessBefore = startsVoicelessUpToVowel(word.written);
    if (voiceOffset > maxVoicingOffset * sampleRate || (voicelessBefore && -voiceOffset > maxVoicingOffset * sampleRate))
        faults << name + QStringLiteral(": voice starts %1 from its stated vowel start").arg(milliseconds(double(voiceOffset)));
    return faults;
}

// Where this check hears a word: its sound's span, its vowel onset by two
// landmarks, and its P-centres by Marcus's rule (0.65 of the way from the
// start to the vowel onset by the band step, plus 0.25 of the rest) and by
// the envelope.
struct HeardWord
{
    test::EnergySpan sound;
    qsizetype bandStep = -1;
    qsizetype bestSplit = -1;
    double marcus = 0;
    qsizetype envelope = -1;
    qsizetype voicedTail = 0;
};

HeardWord heard(const QList<qint16> &samples, const TimedWord &word)
{
    const qsizetype margin = qsizetype(searchMargin * sampleRate);
    const qsizetype from = std::max<qsizetype>(0, word.start - margin);
    const qsizetype to = std::min(samples.size(), word.end + margin);
    HeardWord w;
    w.sound = test::energySpan(samples, from, to);
    w.bandStep = test::bandStepOnset(samples, w.sound.start, w.sound.end, word.written);
    w.bestSplit = test::bestSplitOnset(samples, w.sound.start, w.sound.end, word.written);
    w.marcus = double(w.sound.start) + 0.65 * double(w.bandStep - w.sound.start) + 0.25 * double(w.sound.end - w.bandStep);
    w.envelope = test::envelopeCentre(samples, w.sound.start, w.sound.end);
    w.voicedTail = test::voicedTail(samples, w.sound.start, w.sound.end);
    return w;
}

// Whether the word ends in a consonant said voiceless (a final voiced
// obstruent is devoiced), after which no voice should follow.
bool endsVoiceless(const QString &written)
{
    static const QString obstruents = QStringLiteral("пфктшсхцчщбвгджз");
    const QString ending = written.endsWith(u'ь') ? written.chopped(1) : written;
    return !ending.isEmpty() && obstruents.contains(ending.back());
}

// Whether the word starts with a sonorant or a fricative, which must sound
// long enough to be heard.
bool startsHeld(const QString &written)
{
    return QStringLiteral("мнлрйвзжсшфхц").contains(written.front());
}

// The acoustic bounds of a pair: vowel onsets, P-centres, starts and lengths
// as this check hears them, and each word whole.
QStringList heardFaults(const QList<qint16> &left, const QList<qint16> &right, const TimedWord &a, const TimedWord &b,
                        const QString &pair)
{
    const HeardWord x = heard(left, a), y = heard(right, b);
    QStringList faults;
    const auto apart = [&](const QString &what, double gap, double bound) {
        if (std::fabs(gap) > bound * sampleRate)
            faults << pair + QStringLiteral(": %1 %2 apart").arg(what, milliseconds(gap));
    };
    apart(QStringLiteral("vowel onsets by the band step"), double(x.bandStep - y.bandStep), maxLandmarkGap);
    apart(QStringLiteral("vowel onsets by the best split"), double(x.bestSplit - y.bestSplit), maxLandmarkGap);
    apart(QStringLiteral("P-centres by Marcus's rule"), x.marcus - y.marcus, maxMarcusGap);
    apart(QStringLiteral("P-centres by the envelope"), double(x.envelope - y.envelope), maxEnvelopeGap);
    apart(QStringLiteral("word starts"), double(x.sound.start - y.sound.start), maxStartGap);
    apart(QStringLiteral("durations"), double((x.sound.end - x.sound.start) - (y.sound.end - y.sound.start)), maxDurationGap);
    for (const auto &[word, w, side] : {std::tuple{a, x, QStringLiteral(" left")}, std::tuple{b, y, QStringLiteral(" right")}}) {
        const qsizetype initial = std::max(w.bandStep, w.bestSplit) - w.sound.start;
        if (startsHeld(word.written) && initial < shortestInitial * sampleRate)
            faults << pair + side + QStringLiteral(": %1 before the vowel").arg(milliseconds(double(initial)));
        if (endsVoiceless(word.written) && w.voicedTail > longestVoicedTail * sampleRate)
            faults << pair + side + QStringLiteral(": voiced tail of %1").arg(milliseconds(double(w.voicedTail)));
    }
    return faults;
}

QStringList formatFaults(const Recording &wave)
{
    if (wave.format == 1 && wave.channels == 2 && wave.bits == 16 && wave.rate == sampleRate)
        return {};
    return {QStringLiteral("format: %1 Hz, %2 channels, %3 bits, format tag %4")
                .arg(wave.rate).arg(wave.channels).arg(wave.bits).arg(wave.format)};
}

// Peak and fades of one word or phrase.
QStringList wordFaults(const QList<qint16> &samples, const Word &word, const QString &name)
{
    QStringList faults;
    if (decibels(peakOf(samples, word)) >= peakCeiling)
        faults << name + QStringLiteral(": peak at %1 dBFS").arg(decibels(peakOf(samples, word)));
    if (!fadesInAndOut(samples, word))
        faults << name + QStringLiteral(": no fade in or out");
    return faults;
}

QStringList tailFaults(const Recording &wave, qsizetype lastSound)
{
    const qsizetype tail = wave.left.size() - 1 - lastSound;
    if (tail >= shortestTail * sampleRate)
        return {};
    return {QStringLiteral("tail: %1 of silence after the last word").arg(milliseconds(double(tail)))};
}

// Everything in which a recording of the listening test breaks its bounds,
// against the rows of the timing table that place its words.
QStringList recordingFaults(const Recording &wave, const RecordingTiming &timing)
{
    QStringList faults = formatFaults(wave);
    if (!faults.isEmpty())
        return faults;
    const QList<Word> a = wordsOf(wave.left);
    const QList<Word> b = wordsOf(wave.right);
    if (a.size() != 4 || b.size() != 4)
        return {QStringLiteral("words: %1 on the left, %2 on the right").arg(a.size()).arg(b.size())};
    if (timing.left.size() != 4 || timing.right.size() != 4)
        return {QStringLiteral("timing table: %1 rows on the left, %2 on the right").arg(timing.left.size()).arg(timing.right.size())};
    for (int i = 0; i < 4; ++i) {
        const QString pair = QStringLiteral("pair %1").arg(i + 1);
        const TimedWord &timedA = timing.left[i];
        const TimedWord &timedB = timing.right[i];
        faults << timingFaults(wave.left, timedA, pair + QStringLiteral(" left"))
               << timingFaults(wave.right, timedB, pair + QStringLiteral(" right"));
        if (std::abs(timedA.vowel - timedB.vowel) > maxVowelGap * sampleRate)
            faults << pair + QStringLiteral(": vowel starts %1 apart").arg(milliseconds(double(std::abs(timedA.vowel - timedB.vowel))));
        faults << heardFaults(wave.left, wave.right, timedA, timedB, pair);
        if (i > 0) {
            const double spacing = double(timedA.vowel - timing.left[i - 1].vowel) / sampleRate;
            if (std::fabs(spacing - pairSpacing) > spacingTolerance)
                faults << pair + QStringLiteral(": spacing %1 s from the pair before").arg(spacing);
        }
        const double levelGap = std::fabs(levelOf(wave.left, a[i], a[i].length()) - levelOf(wave.right, b[i], b[i].length()));
        if (levelGap > maxLevelGap)
            faults << pair + QStringLiteral(": levels %1 dB apart").arg(levelGap);
        const qsizetype vowel = sampleRate / 20;
        const double vowelLevelGap = std::fabs(levelOf(wave.left, a[i], vowel) - levelOf(wave.right, b[i], vowel));
        if (vowelLevelGap > maxVowelLevelGap)
            faults << pair + QStringLiteral(": vowel levels %1 dB apart").arg(vowelLevelGap);
        faults << wordFaults(wave.left, a[i], pair + QStringLiteral(" left"))
               << wordFaults(wave.right, b[i], pair + QStringLiteral(" right"));
    }
    faults << tailFaults(wave, std::max(a.last().last, b.last().last));
    // The two channels carry different words: a channel mixed into the other
    // at -6 dB or more correlates them beyond this.
    const double shared = correlation(wave.left, wave.right);
    if (std::fabs(shared) >= maxCorrelation)
        faults << QStringLiteral("crosstalk: channels correlate at %1").arg(shared);
    return faults;
}

// Everything in which the headphone check breaks its bounds: one phrase on
// the left, then one on the right, each side digitally silent while the
// other speaks.
QStringList headphoneCheckFaults(const Recording &wave)
{
    QStringList faults = formatFaults(wave);
    if (!faults.isEmpty())
        return faults;
    const QList<Word> left = wordsOf(wave.left);
    const QList<Word> right = wordsOf(wave.right);
    if (left.size() != 1 || right.size() != 1)
        return {QStringLiteral("separation: %1 sounds on the left, %2 on the right").arg(left.size()).arg(right.size())};
    if (left[0].last >= right[0].first)
        faults << QStringLiteral("separation: the right phrase starts before the left one ends");
    faults << wordFaults(wave.left, left[0], QStringLiteral("left phrase"))
           << wordFaults(wave.right, right[0], QStringLiteral("right phrase"))
           << tailFaults(wave, right[0].last);
    return faults;
}

// The checkout: the nearest folder above this source file that holds the
// recordings and their generator.
QDir checkout()
{
    QDir dir = QFileInfo(QStringLiteral(__FILE__)).absoluteDir();
    while (!dir.exists(QStringLiteral("tools/sound")) && dir.cdUp()) {
    }
    return dir;
}

// A committed recording: N.wav of the listening test, or for 0 the headphone check.
std::optional<Recording> committed(int number)
{
    const QString name = number ? QStringLiteral("%1.wav").arg(number) : QStringLiteral("headphones.wav");
    return readWave(checkout().filePath(QStringLiteral("sound/") + name));
}

// The lines of a tab-separated table of the checkout, split at tabs, comments left out.
QList<QStringList> tableRows(const QString &path)
{
    QFile file(checkout().filePath(path));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QList<QStringList> rows;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n'))
        if (!line.isEmpty() && !line.startsWith(u'#'))
            rows << line.split(u'\t');
    return rows;
}

// The rows of sound/timing.txt for recording N.wav.
RecordingTiming committedTiming(int number)
{
    RecordingTiming timing;
    for (const QStringList &fields : tableRows(QStringLiteral("sound/timing.txt"))) {
        if (fields.size() != 6 || fields[1] != QStringLiteral("%1.wav").arg(number))
            continue;
        const TimedWord word{fields[0], fields[3].toLongLong(), fields[4].toLongLong(), fields[5].toLongLong()};
        (fields[2] == QLatin1String("left") ? timing.left : timing.right) << word;
    }
    return timing;
}

// The bounds that recording N.wav is known to miss (sound/shortfalls.txt).
QStringList knownShortfalls(int number)
{
    QStringList known;
    for (const QStringList &fields : tableRows(QStringLiteral("sound/shortfalls.txt")))
        if (fields.size() == 2 && fields[0] == QStringLiteral("%1.wav").arg(number))
            known << fields[1];
    return known;
}

// Everything in which a committed recording breaks its bounds, but for the
// shortfalls known as they are.
QStringList faultsOf(int number, const Recording &wave, const RecordingTiming &timing)
{
    QStringList faults = number ? recordingFaults(wave, timing) : headphoneCheckFaults(wave);
    for (const QString &known : knownShortfalls(number))
        faults.removeOne(known);
    return faults;
}

// The written forms of words in order: of the program's or of the timing table's.
template <class Words>
QStringList writtenForms(const Words &words)
{
    QStringList forms;
    for (const auto &word : words)
        forms << word.written;
    return forms;
}

void scale(QList<qint16> &samples, double factor)
{
    for (qint16 &v : samples)
        v = qint16(std::clamp(std::lround(v * factor), -32768L, 32767L));
}

// Adds a part of the left channel to the right.
void mixLeftIntoRight(Recording &wave, int divisor)
{
    for (qsizetype i = 0; i < wave.right.size(); ++i)
        wave.right[i] = qint16(std::clamp(wave.right[i] + wave.left[i] / divisor, -32768, 32767));
}

// Moves a channel by `shift` samples (later when positive), keeping its length.
void shifted(QList<qint16> &channel, qsizetype shift)
{
    const qsizetype length = channel.size();
    if (shift > 0)
        channel.insert(0, shift, 0);
    else
        channel.remove(0, -shift);
    channel.resize(length);
}

// Ways of spoiling a recording or its timing, each with the bound it must
// then break.
struct Tampering
{
    const char *name;
    int recording;
    const char *breaks;
    void (*apply)(Recording &, RecordingTiming &);
};

const Tampering tamperings[] = {
    {"right channel 10 ms late", 1, "right: sound starts", [](Recording &w, RecordingTiming &) { shifted(w.right, 480); }},
    {"left channel 10 ms early", 1, "left: sound starts", [](Recording &w, RecordingTiming &) { shifted(w.left, -480); }},
    {"right channel 10 ms late, voice after a voiceless start", 11, "pair 1 right: sound starts", [](Recording &w, RecordingTiming &) {
         shifted(w.right, 480);
     }},
    {"stated vowel start 15 ms early", 11, "pair 1 left: voice starts", [](Recording &, RecordingTiming &t) { t.left[0].vowel -= 720; }},
    {"stated vowel start 15 ms late", 11, "pair 1 left: voice starts", [](Recording &, RecordingTiming &t) { t.left[0].vowel += 720; }},
    {"left word stated 50 ms earlier than it starts", 1, "pair 1 left: sound starts", [](Recording &, RecordingTiming &t) { t.left[0].start -= 2400; }},
    {"left channel and its timing 20 ms late", 1, "pair 1: vowel starts", [](Recording &w, RecordingTiming &t) {
         shifted(w.left, 960);
         for (TimedWord &word : t.left)
             word = {word.written, word.start + 960, word.vowel + 960, word.end + 960};
     }},
    {"left word cut off in its vowel", 1, "no fade", [](Recording &w, RecordingTiming &t) {
         const Word word = wordsOf(w.left)[0];
         std::fill(w.left.begin() + t.left[0].vowel + 1440, w.left.begin() + word.last + 1, 0);
     }},
    {"left word 100 ms longer", 1, "durations", [](Recording &w, RecordingTiming &t) {
         const Word word = wordsOf(w.left)[1];
         const qsizetype at = t.left[1].vowel + 960;
         const QList<qint16> repeated = w.left.mid(at, 4800);
         w.left = w.left.mid(0, at) + repeated + w.left.mid(at);
         w.left.remove(word.last + 4800 + 1, 4800);
     }},
    {"left 1 dB louder", 1, "levels", [](Recording &w, RecordingTiming &) { scale(w.left, std::pow(10.0, 1 / 20.0)); }},
    {"left vowel 2.5 dB louder", 1, "vowel levels", [](Recording &w, RecordingTiming &t) {
         const qsizetype from = t.left[2].vowel, to = std::min(t.left[2].end, from + 4800);
         QList<qint16> vowel = w.left.mid(from, to - from);
         scale(vowel, std::pow(10.0, 2.5 / 20.0));
         std::copy(vowel.begin(), vowel.end(), w.left.begin() + from);
     }},
    {"a sample at full scale", 1, "peak", [](Recording &w, RecordingTiming &t) { w.left[t.left[0].vowel + 480] = 32767; }},
    {"left mixed into right at -6 dB", 1, "crosstalk", [](Recording &w, RecordingTiming &) { mixLeftIntoRight(w, 2); }},
    {"tail cut to 0.3 s", 1, "tail", [](Recording &w, RecordingTiming &) {
         const qsizetype end = std::max(wordsOf(w.left).last().last, wordsOf(w.right).last().last) + 14400;
         w.left.resize(end);
         w.right.resize(end);
     }},
    {"right channel and its timing 10 ms late", 11, "pair 3: P-centres by Marcus's rule", [](Recording &w, RecordingTiming &t) {
         shifted(w.right, 480);
         for (TimedWord &word : t.right)
             word = {word.written, word.start + 480, word.vowel + 480, word.end + 480};
     }},
    {"right word's first consonant cut to 10 ms", 11, "pair 3 right", [](Recording &w, RecordingTiming &t) {
         const TimedWord word = t.right[2];
         w.right.remove(word.start + 480, word.vowel - word.start - 480);
         w.right.resize(w.left.size());
     }},
    {"voiced tail after the right word's final consonant", 11, "pair 4 right: voiced tail", [](Recording &w, RecordingTiming &t) {
         for (qsizetype i = 0; i < 3000; ++i)
             w.right[t.right[3].end + i] = qint16(3000 * std::sin(2 * std::numbers::pi * 120 * double(i) / sampleRate) * (1 - double(i) / 3000));
     }},
    {"16 kHz", 1, "format", [](Recording &w, RecordingTiming &) { w.rate = 16000; }},
    // Even a leak of the left phrase into the right channel at -60 dB shows.
    {"headphone check's left phrase in the right channel", 0, "separation", [](Recording &w, RecordingTiming &) { mixLeftIntoRight(w, 1000); }},
};

// A made-up syllable with known landmarks: 100 ms of silence, a stretch of
// noise at -27 dBFS RMS (white, or low-passed below about 100 Hz, which stays
// correlated over a voice's period as the low part of a stop burst does),
// 200 ms of a voice at `pitch` Hz (ten harmonics falling 6 dB an octave), then
// silence.
QList<qint16> syntheticSyllable(double noiseSeconds, bool lowPassedNoise, double pitch)
{
    QList<qint16> samples(qsizetype(0.1 * sampleRate), 0);
    std::vector<double> noise;
    quint32 seed = 12345;
    double once = 0, twice = 0;
    for (qsizetype i = 0; i < qsizetype(noiseSeconds * sampleRate); ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double white = double(seed >> 8) / double(1 << 24) * 2 - 1;
        once += (white - once) * 0.01;
        twice += (once - twice) * 0.01;
        noise.push_back(lowPassedNoise ? twice : white);
    }
    double power = 0;
    for (double v : noise)
        power += v * v / double(noise.size());
    for (double v : noise)
        samples << qint16(1500 * v / std::sqrt(power));
    for (qsizetype i = 0; i < qsizetype(0.2 * sampleRate); ++i) {
        double voice = 0;
        for (int k = 1; k <= 10; ++k)
            voice += std::sin(2 * std::numbers::pi * k * pitch * double(i) / sampleRate) / k;
        samples << qint16(4000 * voice);
    }
    samples.resize(samples.size() + qsizetype(0.1 * sampleRate), 0);
    return samples;
}

// The check's two vowel-onset landmarks, by name.
struct OnsetLandmark
{
    const char *name;
    qsizetype (*find)(const QList<qint16> &, qsizetype, qsizetype, const QString &);
};

const OnsetLandmark onsetLandmarks[] = {{"band step", test::bandStepOnset}, {"best split", test::bestSplitOnset}};

// Syllables on which a landmark is known to miss the onset by more than
// 10 ms: a vowel after a soft sonorant that starts with its glide (both find
// the glide's middle), у after л (the lateral and the vowel differ little),
// the noise of з (it weakens before it ends), and the split at the noise
// before у after к.
const QStringList knownMisses = {QStringLiteral("лу, band step"), QStringLiteral("лу, best split"),
                                 QStringLiteral("лё, band step"), QStringLiteral("лё, best split"),
                                 QStringLiteral("ди, band step"), QStringLiteral("ку, best split"),
                                 QStringLiteral("зо, best split")};

} // namespace

// The recordings in sound/, their timing table and the tables of the generator
// that made them (tools/sound/): thirteen recordings with channel A on the
// left, channel B on the right, each pair's vowel starts together, and the
// headphone check.
class DichoticRecordingsTest : public QObject
{
    Q_OBJECT

private slots:
    void generatorWordsAreTheProgramsWords()
    {
        const QList<QStringList> rows = tableRows(QStringLiteral("tools/sound/recordings.txt"));
        QCOMPARE(rows.size(), recordingCount);
        for (int r = 0; r < recordingCount; ++r) {
            QCOMPARE(rows[r].value(0), QString::number(r + 1));
            QCOMPARE(rows[r].value(1), writtenForms(dichoticWords()[r].channelA).join(u' '));
            QCOMPARE(rows[r].value(2), writtenForms(dichoticWords()[r].channelB).join(u' '));
        }
    }

    // The synthesiser says a short vowel (@) before р, which the generator
    // cuts out at its phoneme boundaries, and it says a final soft sign as
    // hard unless the soft consonant is followed by its non-syllabic i (I^);
    // only its т, с and ч stay soft at the end on their own.
    void generatorPhonemesKeepSoftSignsAndAddNoVowel()
    {
        QHash<QString, QString> phonemes;
        for (const QStringList &row : tableRows(QStringLiteral("tools/sound/phonemes.txt")))
            phonemes.insert(row.value(0), row.value(1));
        static const QStringList softEndings = {QStringLiteral(";I^"), QStringLiteral("t;"), QStringLiteral("s;"),
                                                QStringLiteral("tS;")};
        for (const RecordingWords &recording : dichoticWords()) {
            for (const ChannelWords *channel : {&recording.channelA, &recording.channelB}) {
                for (const StimulusWord &word : *channel) {
                    const QString spoken = phonemes.value(word.written);
                    QVERIFY2(!spoken.isEmpty() && !QString(spoken).remove(QStringLiteral("@r")).contains(u'@'),
                             qPrintable(word.written + u' ' + spoken));
                    if (word.written.endsWith(u'ь'))
                        QVERIFY2(std::any_of(softEndings.begin(), softEndings.end(),
                                             [&](const QString &ending) { return spoken.endsWith(ending); }),
                                 qPrintable(word.written + u' ' + spoken));
                }
            }
        }
    }

    void recordingMeetsBounds_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("headphones.wav") << 0;
        for (int n = 1; n <= recordingCount; ++n)
            QTest::newRow(qPrintable(QStringLiteral("%1.wav").arg(n))) << n;
    }

    void recordingMeetsBounds()
    {
        QFETCH(int, number);
        const std::optional<Recording> wave = committed(number);
        QVERIFY2(wave, "recording missing or not a RIFF WAVE file");
        const RecordingTiming timing = committedTiming(number);
        if (number) {
            QCOMPARE(writtenForms(timing.left), writtenForms(dichoticWords()[number - 1].channelA));
            QCOMPARE(writtenForms(timing.right), writtenForms(dichoticWords()[number - 1].channelB));
        }
        const QStringList faults = faultsOf(number, *wave, timing);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
        if (number) {
            QStringList gone = knownShortfalls(number);
            for (const QString &fault : recordingFaults(*wave, timing))
                gone.removeOne(fault);
            QVERIFY2(gone.isEmpty(), qPrintable(QStringLiteral("no longer seen: ") + gone.join(QStringLiteral("; "))));
        }
    }

    void spoiledRecordingFails_data()
    {
        QTest::addColumn<int>("tampering");
        for (int i = 0; i < int(std::size(tamperings)); ++i)
            QTest::newRow(tamperings[i].name) << i;
    }

    void spoiledRecordingFails()
    {
        QFETCH(int, tampering);
        const int number = tamperings[tampering].recording;
        std::optional<Recording> wave = committed(number);
        QVERIFY(wave);
        RecordingTiming timing = committedTiming(number);
        QCOMPARE(timing.left.size(), number ? 4 : 0);
        tamperings[tampering].apply(*wave, timing);
        const QString faults = faultsOf(number, *wave, timing).join(QStringLiteral("; "));
        QVERIFY2(faults.contains(QLatin1String(tamperings[tampering].breaks)), qPrintable(faults));
    }

    // The measures the timing table is checked with, on sounds whose
    // landmarks are known by construction.
    // Syllables made of a consonant and a vowel said in different words
    // (sound/syllables/, tools/sound/make_syllables.py): the vowel starts
    // where the two were joined.
    void landmarksFindKnownVowelOnsets_data()
    {
        QTest::addColumn<int>("landmark");
        QTest::addColumn<QString>("written");
        QTest::addColumn<qsizetype>("start");
        QTest::addColumn<qsizetype>("onset");
        QTest::addColumn<qsizetype>("end");
        const QList<QStringList> rows = tableRows(QStringLiteral("sound/syllables/boundaries.txt"));
        QVERIFY(rows.size() >= 20);
        for (int landmark = 0; landmark < int(std::size(onsetLandmarks)); ++landmark)
            for (const QStringList &row : rows)
                // In UTF-8, as the tag is read back: Windows' local code page has no Cyrillic.
                QTest::newRow((row.value(0) + QStringLiteral(", ") + QLatin1String(onsetLandmarks[landmark].name)).toUtf8().constData())
                    << landmark << row.value(0) << row.value(1).toLongLong() << row.value(2).toLongLong() << row.value(3).toLongLong();
    }

    void landmarksFindKnownVowelOnsets()
    {
        QFETCH(int, landmark);
        QFETCH(QString, written);
        QFETCH(qsizetype, start);
        QFETCH(qsizetype, onset);
        QFETCH(qsizetype, end);
        static const std::optional<Recording> syllables = readWave(checkout().filePath(QStringLiteral("sound/syllables/syllables.wav")));
        QVERIFY2(syllables && syllables->channels == 1 && syllables->rate == sampleRate, "sound/syllables/syllables.wav missing or not 48 kHz mono");
        const qsizetype margin = qsizetype(searchMargin * sampleRate);
        const test::EnergySpan sound = test::energySpan(syllables->left, start - margin, std::min(syllables->left.size(), end + margin));
        const qsizetype found = onsetLandmarks[landmark].find(syllables->left, sound.start, sound.end, written);
        if (knownMisses.contains(QString::fromUtf8(QTest::currentDataTag())))
            QEXPECT_FAIL("", "a known miss", Continue);
        QVERIFY2(std::abs(found - onset) <= maxLandmarkGap * sampleRate, qPrintable(milliseconds(double(found - onset))));
    }

    void speechMeasuresFindKnownLandmarks_data()
    {
        QTest::addColumn<double>("noiseSeconds");
        QTest::addColumn<bool>("lowPassedNoise");
        QTest::addColumn<double>("pitch");
        QTest::newRow("voice alone, 120 Hz") << 0.0 << false << 120.0;
        QTest::newRow("white noise, then 100 Hz") << 0.06 << false << 100.0;
        QTest::newRow("low-passed noise, then 100 Hz") << 0.06 << true << 100.0;
        QTest::newRow("low-passed noise, then 220 Hz") << 0.12 << true << 220.0;
    }

    void speechMeasuresFindKnownLandmarks()
    {
        QFETCH(double, noiseSeconds);
        QFETCH(bool, lowPassedNoise);
        QFETCH(double, pitch);
        const QList<qint16> syllable = syntheticSyllable(noiseSeconds, lowPassedNoise, pitch);
        const qsizetype soundStart = qsizetype(0.1 * sampleRate);
        const qsizetype voiceStart = soundStart + qsizetype(noiseSeconds * sampleRate);
        const qsizetype soundEnd = voiceStart + qsizetype(0.2 * sampleRate);
        const test::EnergySpan sound = test::energySpan(syllable, 0, syllable.size());
        QVERIFY2(std::abs(sound.start - soundStart) <= sampleRate / 1000, qPrintable(milliseconds(double(sound.start - soundStart))));
        QVERIFY2(std::abs(sound.end - soundEnd) <= sampleRate / 1000, qPrintable(milliseconds(double(sound.end - soundEnd))));
        const qsizetype voice = test::voicingOnset(syllable, 0, syllable.size());
        QVERIFY2(std::abs(voice - voiceStart) <= 5 * sampleRate / 1000, qPrintable(milliseconds(double(voice - voiceStart))));
        const QString written = noiseSeconds > 0 ? QStringLiteral("са") : QStringLiteral("а");
        for (const qsizetype onset : {test::bandStepOnset(syllable, sound.start, sound.end, written),
                                      test::bestSplitOnset(syllable, sound.start, sound.end, written)})
            QVERIFY2(std::abs(onset - voiceStart) <= maxLandmarkGap * sampleRate, qPrintable(milliseconds(double(onset - voiceStart))));
    }
};

QTEST_GUILESS_MAIN(DichoticRecordingsTest)
#include "tst_dichotic_recordings.moc"
