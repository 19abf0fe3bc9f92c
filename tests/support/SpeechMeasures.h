#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// Acoustic measures of speech in one channel of 16-bit samples at 48 kHz,
// each within the stretch [from, to) of the channel. They look only at the
// sound: where energy is, and where the voice's pitch is.
namespace test {

constexpr int speechRate = 48000;

// Where sound starts and ends: the first sample, and the sample after the
// last, of the 1 ms windows whose power comes within 50 dB of the loudest
// 10 ms of the stretch. -1, -1 for a silent stretch.
struct EnergySpan
{
    qsizetype start = -1;
    qsizetype end = -1;
};
EnergySpan energySpan(const QList<qint16> &channel, qsizetype from, qsizetype to);

// How strongly the 25 ms of sound centred on each millisecond repeat with a
// voice's period (2.5 to 12.5 ms): the highest normalised autocorrelation at
// such a lag once the autocorrelation has first turned negative, 0 where the sound is more than 35 dB below the loudest 10 ms of the
// stretch. Element k belongs to sample from + k * 48.
QList<double> pitchStrength(const QList<qint16> &channel, qsizetype from, qsizetype to);

// The first sample from which the voice sounds for at least 20 ms (pitch
// strength 0.5 or more), or -1.
qsizetype voicingOnset(const QList<qint16> &channel, qsizetype from, qsizetype to);

// The level of the band low..high Hz (a fourth-order Butterworth band-pass)
// over the `window` ms centred on each millisecond, in dB (power of 16-bit
// samples). Element k belongs to sample from + k * 48.
QList<double> bandLevels(const QList<qint16> &channel, qsizetype from, qsizetype to, double low, double high, int window);

// What comes right before a word's first vowel, by its written form: a
// voiceless consonant or none (the vowel starts where the voice does), a
// voiced stop (where it is released), з or ж (where their noise stops), р
// (where its tap opens) or another sonorant or в (where the mouth opens into
// the vowel). A soft consonant's glide into the vowel is the vowel's: the
// vowel starts where the soft consonant opens.
enum class OnsetKind { AfterVoiceless, AfterVoicedStop, AfterVoicedFricative, AfterTap, AfterSonorant };
OnsetKind onsetKind(const QString &written);

// Two landmarks of a vowel's onset in the word [from, to), neither measured
// the way the recordings' generator measures it (which compares FFT spectra
// against the vowel's own and takes voice as 80-400 Hz energy against the
// noise above 3.5 kHz). Both look at the levels of six bands (fourth-order
// Butterworth, 80 Hz to 8 kHz, over 10 ms), at the voice's pitch
// (autocorrelation) and at the vowel's loudest 50 ms of 300-1200 Hz; an
// opening is sought from where the word comes within 10 dB of its loudest
// (in a cluster, from a stop's release) to 60% of the way to the voice's end
// and no more than 40 ms past the vowel's loudest part. -1 where none is found.
//
// The band step, by the steepest or largest change: the 80-300 Hz voice
// bar's steepest rise where the voice starts; a voiced stop's steepest rise
// into the vowel's level; the steepest fall of з's or ж's noise above 3.5
// kHz against the rest; after a sonorant or р, the last change (10 ms before
// against 10 ms after) of the spectrum's shape, the whole level and the first
// formant's level that is at least 85% of the largest.
qsizetype bandStepOnset(const QList<qint16> &channel, qsizetype from, qsizetype to, const QString &written);
// The best split, by least squares: the millisecond that divides a stretch
// into two parts each closest to its own mean levels (noise or silence from
// voice, prevoicing from vowel, з's or ж's noise from the vowel, a sonorant
// from the vowel); after р, where its tap (the deepest dip of the level)
// ends. Where the stretch is too short to split, where the voice starts.
qsizetype bestSplitOnset(const QList<qint16> &channel, qsizetype from, qsizetype to, const QString &written);

// Where the 300-3000 Hz envelope first reaches half its maximum amplitude
// (power over 50 ms): a P-centre model of where a word is heard to occur.
qsizetype envelopeCentre(const QList<qint16> &channel, qsizetype from, qsizetype to);

// How long the voice (pitch strength 0.5) sounds at the end of [from, to),
// after the last sound too quiet to measure: after a final voiceless
// consonant, a voiced tail heard as one more syllable.
qsizetype voicedTail(const QList<qint16> &channel, qsizetype from, qsizetype to);

} // namespace test
