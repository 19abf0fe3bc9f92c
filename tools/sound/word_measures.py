"""Levels of one spoken word, the same that the test suite
tst_dichotic_recordings takes of the committed recordings: a word is the run
of 16-bit samples from its first to its last non-zero sample, at 48 kHz."""

import math

RATE = 48000
LOUDEST_SPAN = round(0.050 * RATE)   # the vowel's level: the loudest 50 ms of the word


def _db(power):
    return 10 * math.log10(power / 32768.0 ** 2)


def level_db(word):
    """RMS level over the whole word, in dB relative to full scale."""
    return _db(sum(v * v for v in word) / len(word))


def loudest_db(word):
    """RMS level of the loudest 50 ms of the word (its vowel), in dBFS."""
    span = min(LOUDEST_SPAN, len(word))
    power = sum(v * v for v in word[:span])
    loudest = power
    for i in range(span, len(word)):
        power += word[i] * word[i] - word[i - span] * word[i - span]
        loudest = max(loudest, power)
    return _db(loudest / span)


def peak_db(word):
    return 20 * math.log10(max(abs(v) for v in word) / 32768.0)
