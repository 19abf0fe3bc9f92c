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

} // namespace test
