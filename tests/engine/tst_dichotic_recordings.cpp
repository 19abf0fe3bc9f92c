#include "engine/DichoticWords.h"

#include <QFile>
#include <QTest>
#include <QtEndian>
#include <cmath>

namespace {

constexpr double shortestPause = 0.3; // seconds of digital silence between words

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
};

// The words of one channel: runs of sound apart by at least the shortest pause.
QList<Word> wordsOf(const QList<qint16> &samples, int rate)
{
    const qsizetype pause = qsizetype(shortestPause * rate);
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

double rmsDecibels(const QList<qint16> &samples, const Word &word)
{
    double sum = 0;
    for (qsizetype i = word.first; i <= word.last; ++i)
        sum += double(samples[i]) * samples[i];
    return 10 * std::log10(sum / double(word.last - word.first + 1));
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

} // namespace

// The thirteen recordings shipped in sound/: channel A on the left, channel B
// on the right, four words each, paired on the same sample and matched in
// level, with silence at the end for a player that cuts the last moments.
class DichoticRecordingsTest : public QObject
{
    Q_OBJECT

private slots:
    void recording_data()
    {
        QTest::addColumn<int>("number");
        for (int n = 1; n <= recordingCount; ++n)
            QTest::newRow(qPrintable(QStringLiteral("%1.wav").arg(n))) << n;
    }

    void recording()
    {
        QFETCH(int, number);
        const QString path = QFINDTESTDATA(QStringLiteral("../sound/%1.wav").arg(number));
        QVERIFY2(!path.isEmpty(), "recording not found");
        const std::optional<Recording> wave = readWave(path);
        QVERIFY2(wave, "not a RIFF WAVE file");
        QCOMPARE(wave->format, 1); // PCM
        QCOMPARE(wave->channels, 2);
        QCOMPARE(wave->bits, 16);
        QVERIFY(wave->rate >= 16000);

        const QList<Word> a = wordsOf(wave->left, wave->rate);
        const QList<Word> b = wordsOf(wave->right, wave->rate);
        QCOMPARE(a.size(), 4);
        QCOMPARE(b.size(), 4);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(a[i].first, b[i].first);
            QVERIFY2(std::fabs(rmsDecibels(wave->left, a[i]) - rmsDecibels(wave->right, b[i])) <= 1.0,
                     qPrintable(QStringLiteral("pair %1 differs in level").arg(i + 1)));
            if (i > 0) {
                const double apart = double(a[i].first - a[i - 1].first) / wave->rate;
                QVERIFY2(apart >= 1.3 && apart <= 1.7, qPrintable(QString::number(apart)));
            }
        }
        const qsizetype lastSound = std::max(a.last().last, b.last().last);
        QVERIFY((wave->left.size() - 1 - lastSound) >= wave->rate / 2);

        // Two different words on the two sides, not one word on both.
        QVERIFY(std::fabs(correlation(wave->left, wave->right)) < 0.3);
    }
};

QTEST_GUILESS_MAIN(DichoticRecordingsTest)
#include "tst_dichotic_recordings.moc"
