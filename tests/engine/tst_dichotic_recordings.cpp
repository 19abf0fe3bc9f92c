#include "engine/DichoticWords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

namespace {

constexpr int sampleRate = 48000;
constexpr double shortestPause = 0.3;   // s of digital silence between words
constexpr double maxOnsetGap = 0.005;   // s between the vowel onsets of a pair
constexpr double pairSpacing = 1.5;     // s from one pair's vowel onset to the next
constexpr double spacingTolerance = 0.005;
constexpr double maxDurationGap = 0.040; // s
constexpr double maxLevelGap = 0.5;     // dB
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
    if (wave.channels != 2 || wave.bits != 16)
        return wave;
    for (qsizetype at = 0; at + 4 <= data.size(); at += 4) {
        wave.left << qFromLittleEndian<qint16>(data.constData() + at);
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

// A second-order Butterworth low- or high-pass filter (a[0] = 1).
struct Biquad
{
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;

    static Biquad butterworth(bool highPass, double cutoff)
    {
        const double w0 = 2 * std::numbers::pi * cutoff / sampleRate;
        const double cosine = std::cos(w0);
        const double alpha = std::sin(w0) / std::sqrt(2.0);
        const double a0 = 1 + alpha;
        const double edge = (highPass ? 1 + cosine : 1 - cosine) / 2;
        const double middle = highPass ? -(1 + cosine) : 1 - cosine;
        return {edge / a0, middle / a0, edge / a0, -2 * cosine / a0, (1 - alpha) / a0};
    }

    double operator()(double x)
    {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// Where a word rises into its vowel: the first sample at which the word's
// power in the 300-1500 Hz band, averaged over the 10 ms around the sample,
// reaches a quarter of its highest value (half the highest amplitude). The
// band holds a vowel's first formant but little of a fricative or a stop
// burst, and nasals, liquids and glides before a vowel stay below a quarter,
// so the measure falls on the consonant-vowel transition. The generator
// (tools/sound/word_measures.py) places the words of a pair by it.
qsizetype vowelOnset(const QList<qint16> &samples, const Word &word)
{
    Biquad highPass = Biquad::butterworth(true, 300);
    Biquad lowPass = Biquad::butterworth(false, 1500);
    const qsizetype n = word.length();
    std::vector<double> sums(n + 1, 0.0);
    for (qsizetype i = 0; i < n; ++i) {
        const double band = lowPass(highPass(samples[word.first + i]));
        sums[i + 1] = sums[i] + band * band;
    }
    const qsizetype half = qsizetype(0.010 * sampleRate / 2);
    std::vector<double> power(n);
    for (qsizetype i = 0; i < n; ++i) {
        const qsizetype from = std::max<qsizetype>(0, i - half), to = std::min(n, i + half + 1);
        power[i] = (sums[to] - sums[from]) / double(to - from);
    }
    const double threshold = 0.25 * *std::max_element(power.begin(), power.end());
    return word.first + (std::find_if(power.begin(), power.end(), [&](double p) { return p >= threshold; })
                         - power.begin());
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

double levelOf(const QList<qint16> &samples, const Word &word)
{
    double sum = 0;
    for (qsizetype i = word.first; i <= word.last; ++i)
        sum += double(samples[i]) * samples[i];
    return decibels(std::sqrt(sum / double(word.length())));
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

// Everything in which a recording of the listening test breaks its bounds.
QStringList recordingFaults(const Recording &wave)
{
    QStringList faults = formatFaults(wave);
    if (!faults.isEmpty())
        return faults;
    const QList<Word> a = wordsOf(wave.left);
    const QList<Word> b = wordsOf(wave.right);
    if (a.size() != 4 || b.size() != 4)
        return {QStringLiteral("words: %1 on the left, %2 on the right").arg(a.size()).arg(b.size())};
    double previousOnset = 0;
    for (int i = 0; i < 4; ++i) {
        const QString pair = QStringLiteral("pair %1").arg(i + 1);
        const qsizetype onsetA = vowelOnset(wave.left, a[i]);
        const qsizetype onsetB = vowelOnset(wave.right, b[i]);
        if (std::abs(onsetA - onsetB) > maxOnsetGap * sampleRate)
            faults << pair + QStringLiteral(": vowel onsets %1 apart").arg(milliseconds(double(std::abs(onsetA - onsetB))));
        const double onset = double(onsetA + onsetB) / 2 / sampleRate;
        if (i > 0 && std::fabs(onset - previousOnset - pairSpacing) > spacingTolerance)
            faults << pair + QStringLiteral(": spacing %1 s from the pair before").arg(onset - previousOnset);
        previousOnset = onset;
        const qsizetype durationGap = std::abs(a[i].length() - b[i].length());
        if (durationGap > maxDurationGap * sampleRate)
            faults << pair + QStringLiteral(": durations %1 apart").arg(milliseconds(double(durationGap)));
        const double levelGap = std::fabs(levelOf(wave.left, a[i]) - levelOf(wave.right, b[i]));
        if (levelGap > maxLevelGap)
            faults << pair + QStringLiteral(": levels %1 dB apart").arg(levelGap);
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

std::optional<Recording> committed(const QString &name)
{
    return readWave(checkout().filePath(QStringLiteral("sound/") + name));
}

// The lines of a table of the sound generator, split at tabs, comments left out.
QList<QStringList> generatorTable(const QString &name)
{
    QFile file(checkout().filePath(QStringLiteral("tools/sound/") + name));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QList<QStringList> rows;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n'))
        if (!line.isEmpty() && !line.startsWith(u'#'))
            rows << line.split(u'\t');
    return rows;
}

QString written(const ChannelWords &words)
{
    QStringList forms;
    for (const StimulusWord &word : words)
        forms << word.written;
    return forms.join(u' ');
}

void scale(QList<qint16> &samples, double factor)
{
    for (qint16 &v : samples)
        v = qint16(std::clamp(std::lround(v * factor), -32768L, 32767L));
}

// Ways of spoiling recording 1, each with the bound it must then break.
struct Tampering
{
    const char *name;
    const char *breaks;
    void (*apply)(Recording &);
};

const Tampering tamperings[] = {
    {"right channel 10 ms late", "vowel onsets", [](Recording &w) {
         w.right.insert(0, 480, 0);
         w.right.resize(w.left.size());
     }},
    {"left word cut off in its vowel", "no fade", [](Recording &w) {
         const Word word = wordsOf(w.left)[0];
         std::fill(w.left.begin() + vowelOnset(w.left, word) + 1440, w.left.begin() + word.last + 1, 0);
     }},
    {"left word 100 ms longer", "durations", [](Recording &w) {
         const Word word = wordsOf(w.left)[1];
         const qsizetype at = vowelOnset(w.left, word) + 960;
         const QList<qint16> repeated = w.left.mid(at, 4800);
         w.left = w.left.mid(0, at) + repeated + w.left.mid(at);
         w.left.remove(word.last + 4800 + 1, 4800);
     }},
    {"left 1 dB louder", "levels", [](Recording &w) { scale(w.left, std::pow(10.0, 1 / 20.0)); }},
    {"peaks near full scale", "peak", [](Recording &w) {
         scale(w.left, std::pow(10.0, 2 / 20.0));
         scale(w.right, std::pow(10.0, 2 / 20.0));
     }},
    {"left mixed into right at -6 dB", "crosstalk", [](Recording &w) {
         for (qsizetype i = 0; i < w.right.size(); ++i)
             w.right[i] = qint16(std::clamp(w.right[i] + w.left[i] / 2, -32768, 32767));
     }},
    {"tail cut to 0.3 s", "tail", [](Recording &w) {
         const qsizetype end = std::max(wordsOf(w.left).last().last, wordsOf(w.right).last().last) + 14400;
         w.left.resize(end);
         w.right.resize(end);
     }},
    {"16 kHz", "format", [](Recording &w) { w.rate = 16000; }},
};

} // namespace

// The recordings in sound/ and the tables of the generator that made them
// (tools/sound/): thirteen recordings with channel A on the left, channel B on
// the right, each pair's vowel onsets together, and the headphone check.
class DichoticRecordingsTest : public QObject
{
    Q_OBJECT

private slots:
    void generatorWordsAreTheProgramsWords()
    {
        const QList<QStringList> rows = generatorTable(QStringLiteral("recordings.txt"));
        QCOMPARE(rows.size(), recordingCount);
        for (int r = 0; r < recordingCount; ++r) {
            QCOMPARE(rows[r].value(0), QString::number(r + 1));
            QCOMPARE(rows[r].value(1), written(dichoticWords()[r].channelA));
            QCOMPARE(rows[r].value(2), written(dichoticWords()[r].channelB));
        }
    }

    // The synthesiser inserts a vowel (@) before р and drops a final soft
    // sign; the phonemes the generator asks for must do neither.
    void generatorPhonemesKeepSoftSignsAndAddNoVowel()
    {
        QHash<QString, QString> phonemes;
        for (const QStringList &row : generatorTable(QStringLiteral("phonemes.txt")))
            phonemes.insert(row.value(0), row.value(1));
        for (const RecordingWords &recording : dichoticWords()) {
            for (const ChannelWords *channel : {&recording.channelA, &recording.channelB}) {
                for (const StimulusWord &word : *channel) {
                    const QString spoken = phonemes.value(word.written);
                    QVERIFY2(!spoken.isEmpty() && !spoken.contains(u'@'), qPrintable(word.written + u' ' + spoken));
                    if (word.written.endsWith(u'ь'))
                        QVERIFY2(spoken.endsWith(u';') || spoken.endsWith(QStringLiteral("I^")),
                                 qPrintable(word.written + u' ' + spoken));
                }
            }
        }
    }

    void recordingMeetsBounds_data()
    {
        QTest::addColumn<int>("number");
        for (int n = 1; n <= recordingCount; ++n)
            QTest::newRow(qPrintable(QStringLiteral("%1.wav").arg(n))) << n;
    }

    void recordingMeetsBounds()
    {
        QFETCH(int, number);
        const std::optional<Recording> wave = committed(QStringLiteral("%1.wav").arg(number));
        QVERIFY2(wave, "recording missing or not a RIFF WAVE file");
        const QStringList faults = recordingFaults(*wave);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
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
        std::optional<Recording> wave = committed(QStringLiteral("1.wav"));
        QVERIFY(wave);
        tamperings[tampering].apply(*wave);
        const QString faults = recordingFaults(*wave).join(QStringLiteral("; "));
        QVERIFY2(faults.contains(QLatin1String(tamperings[tampering].breaks)), qPrintable(faults));
    }

    void headphoneCheckSpeaksLeftThenRight()
    {
        std::optional<Recording> wave = committed(QStringLiteral("headphones.wav"));
        QVERIFY2(wave, "headphone check missing or not a RIFF WAVE file");
        const QStringList faults = headphoneCheckFaults(*wave);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));

        // Even a leak of the left phrase into the right channel at -60 dB shows.
        for (qsizetype i = 0; i < wave->right.size(); ++i)
            wave->right[i] = qint16(wave->right[i] + wave->left[i] / 1000);
        QVERIFY(headphoneCheckFaults(*wave).join(u' ').contains(QLatin1String("separation")));
    }
};

QTEST_GUILESS_MAIN(DichoticRecordingsTest)
#include "tst_dichotic_recordings.moc"
