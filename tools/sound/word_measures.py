"""Measures of one spoken word, the same that the test suite
tst_dichotic_recordings takes of the committed recordings. A word is the run
of 16-bit samples from its first to its last non-zero sample, at 48 kHz."""

import math

RATE = 48000
ONSET_BAND = (300.0, 1500.0)  # Hz: a vowel's first formant, little of a fricative
ONSET_WINDOW = 0.010          # s: power is averaged over this span around a sample
ONSET_FRACTION = 0.25         # of the highest averaged power: half its amplitude


def _butterworth(kind, cutoff):
    """Second-order Butterworth low- or high-pass coefficients (b, a), a[0] = 1."""
    w0 = 2 * math.pi * cutoff / RATE
    cosine = math.cos(w0)
    alpha = math.sin(w0) / math.sqrt(2)
    a0 = 1 + alpha
    if kind == "low":
        b = ((1 - cosine) / 2, 1 - cosine, (1 - cosine) / 2)
    else:
        b = ((1 + cosine) / 2, -(1 + cosine), (1 + cosine) / 2)
    return [v / a0 for v in b], (1.0, -2 * cosine / a0, (1 - alpha) / a0)


def _filtered(samples, coefficients):
    (b0, b1, b2), (_, a1, a2) = coefficients
    out = []
    x1 = x2 = y1 = y2 = 0.0
    for x in samples:
        y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2
        x2, x1, y2, y1 = x1, x, y1, y
        out.append(y)
    return out


def vowel_onset(word):
    """Index of the sample where the word rises into its vowel: the first at
    which the power in the onset band, averaged over the window around it,
    reaches the fraction of its highest value. Fricatives and stop bursts
    lie mostly above the band; nasals, liquids and glides stay below the
    threshold, so it falls on the consonant-vowel transition."""
    band = _filtered(_filtered(word, _butterworth("high", ONSET_BAND[0])),
                     _butterworth("low", ONSET_BAND[1]))
    sums = [0.0]
    for v in band:
        sums.append(sums[-1] + v * v)
    half = int(ONSET_WINDOW * RATE / 2)
    n = len(band)
    power = [(sums[min(n, i + half + 1)] - sums[max(0, i - half)])
             / (min(n, i + half + 1) - max(0, i - half)) for i in range(n)]
    threshold = ONSET_FRACTION * max(power)
    return next(i for i, p in enumerate(power) if p >= threshold)


def level_db(word):
    """RMS level over the whole word, in dB relative to full scale."""
    return 10 * math.log10(sum(v * v for v in word) / len(word) / 32768.0 ** 2)


def peak_db(word):
    return 20 * math.log10(max(abs(v) for v in word) / 32768.0)
