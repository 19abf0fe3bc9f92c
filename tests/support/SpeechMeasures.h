#pragma once

#include <QList>
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

// Two landmarks of a vowel's onset, neither measured the way the recordings'
// generator measures it (which takes voice as 80-400 Hz energy against the
// noise above 3.5 kHz, and inside the voice the sharpest change of the
// 0.3-4 kHz spectrum in 20 ms frames). The word lies in [from, to); -1 where none is found.
//
// The steepest rise: where the 0.3-1 kHz level (the first formant's) rises
// fastest over 10 ms into a level within 10 dB of its loudest, the moment
// the mouth opens into the vowel (a stop's burst, a murmur's or a
// fricative's start is too weak there to count).
qsizetype steepestRiseOnset(const QList<qint16> &channel, qsizetype from, qsizetype to);
// The strong voice: the first sample from which, for 20 ms, the sound both
// repeats with a voice's period (pitch strength 0.5) and comes within 10 dB
// of its loudest (50 Hz to 8 kHz).
qsizetype strongVoiceOnset(const QList<qint16> &channel, qsizetype from, qsizetype to);

// Where the 300-3000 Hz envelope first reaches half its maximum amplitude
// (power over 50 ms): a P-centre model of where a word is heard to occur.
qsizetype envelopeCentre(const QList<qint16> &channel, qsizetype from, qsizetype to);

// How long the voice (pitch strength 0.5) sounds at the end of [from, to),
// after the last sound too quiet to measure: after a final voiceless
// consonant, a voiced tail heard as one more syllable.
qsizetype voicedTail(const QList<qint16> &channel, qsizetype from, qsizetype to);

} // namespace test
