"""Writes the thirteen recordings of the listening test, sound/1.wav to 13.wav,
and the headphone check, sound/headphones.wav, all 48 kHz 16-bit stereo PCM.

A recording holds the four pairs of recordings.txt: channel A on the left,
channel B on the right, nothing of one channel in the other. Every word is
spoken from its phonemes in phonemes.txt, and nothing is written unless the
synthesiser reports exactly those phonemes. A word runs from the first to
the last sample of the synthesiser's output above -50 dBFS, fades in and
out over its first and last 8 ms (raised cosine), and is brought to -23 dBFS
RMS. When the two words of a pair differ in length by more than 10 ms, both
are brought to their mean length: spoken again at the speaking rate that
comes closest, then stretched in time for the rest (neither changes the
pitch). The two words of a pair are placed so that their vowel onsets
(word_measures.vowel_onset) fall on the same sample, successive pairs'
onsets 1.5 s apart; 0.75 s of silence ends the file.

The headphone check says "левое ухо" on the left only, then "правое ухо" on
the right only, shaped the same way.
"""

import array
import math
import os
import sys
import wave

import speech
from word_measures import RATE, level_db, peak_db, vowel_onset

HERE = os.path.dirname(os.path.abspath(__file__))

NORMAL_WPM = 140
WPM_RANGE = (100, 200)            # where a word's rate is sought to match its partner
TRIM_LEVEL = 10 ** (-50 / 20)     # of full scale
FADE = round(0.008 * RATE)
WORD_RMS = 32768 * 10 ** (-23 / 20)
DURATION_TOLERANCE = round(0.010 * RATE)
STRETCH_ATTEMPTS = 4
FIRST_ONSET = 0.6                 # s, vowel onset of the first pair
PAIR_SPACING = 1.5                # s between the vowel onsets of successive pairs
TAIL = round(0.75 * RATE)
PHRASE_LEAD = round(0.3 * RATE)   # headphone check: before the left phrase
PHRASE_GAP = round(0.5 * RATE)    # between the left and the right phrase
HEADPHONE_PHRASES = ("левое ухо", "правое ухо")

# What the written files must meet; the test suite tst_dichotic_recordings
# checks them too.
MAX_DURATION_GAP_MS = 40.0
MAX_LEVEL_GAP_DB = 0.5
MAX_PEAK_DB = -1.0


def table(name):
    """The tab-separated lines of a table beside this script, comments left out."""
    with open(os.path.join(HERE, name), encoding="utf-8") as file:
        return [line.rstrip("\n").split("\t") for line in file
                if line.strip() and not line.startswith("#")]


def checked_phonemes(needed):
    """The phoneme table, once the synthesiser has confirmed every entry."""
    phonemes = dict(table("phonemes.txt"))
    faults = [f"{text}: no phonemes" for text in needed if text not in phonemes]
    for text, wanted in phonemes.items():
        reported = speech.reported_phonemes(wanted)
        if reported != wanted:
            faults.append(f"{text}: asked for {wanted}, the synthesiser reports {reported}")
        elif speech.own_reading(text) != wanted:
            print(f"{text}: {wanted} (its own reading: {speech.own_reading(text)})")
    if faults:
        sys.exit("nothing written:\n" + "\n".join(faults))
    return phonemes


def shaped(samples):
    """A word's 16-bit samples: trimmed, faded in and out, brought to level."""
    loud = [i for i, v in enumerate(samples) if abs(v) > TRIM_LEVEL]
    word = list(samples[loud[0]:loud[-1] + 1])
    for k in range(FADE):
        gain = 0.5 - 0.5 * math.cos(math.pi * k / FADE)
        word[k] *= gain
        word[-1 - k] *= gain
    scale = WORD_RMS / math.sqrt(sum(v * v for v in word) / len(word))
    quantised = [round(v * scale) for v in word]
    first = next(i for i, v in enumerate(quantised) if v)
    last = max(i for i, v in enumerate(quantised) if v)
    return quantised[first:last + 1]


def spoken(phonemes, words_per_minute=NORMAL_WPM, tempo=1.0):
    return shaped(speech.speak(phonemes, words_per_minute, tempo))


def spoken_in(phonemes, length):
    """The word brought closest to `length` samples: first by the speaking
    rate (a word grows shorter as it rises), then by stretching in time what
    the rate could not reach."""
    low, high = WPM_RANGE
    word = None
    while low <= high:
        rate = (low + high) // 2
        candidate = spoken(phonemes, rate)
        if word is None or abs(len(candidate) - length) < abs(len(word) - length):
            word, best_rate = candidate, rate
        if len(candidate) > length:
            low = rate + 1
        else:
            high = rate - 1
    tempo = 1.0
    for _ in range(STRETCH_ATTEMPTS):
        if abs(len(word) - length) <= DURATION_TOLERANCE // 2:
            break
        tempo = round(tempo * len(word) / length, 4)
        word = spoken(phonemes, best_rate, tempo)
    return word


def matched_pair(first, second):
    a, b = spoken(first), spoken(second)
    if abs(len(a) - len(b)) > DURATION_TOLERANCE:
        length = (len(a) + len(b)) // 2
        a, b = spoken_in(first, length), spoken_in(second, length)
    return a, b


def pair_figures(a, b):
    """Duration gap (ms), level gap (dB) and louder peak (dBFS) of a pair."""
    return (abs(len(a) - len(b)) * 1000 / RATE,
            abs(level_db(a) - level_db(b)),
            max(peak_db(a), peak_db(b)))


def broken_bounds(figures):
    duration, level, peak = figures
    return [name for name, broken in (("durations", duration > MAX_DURATION_GAP_MS),
                                      ("levels", level > MAX_LEVEL_GAP_DB),
                                      ("peak", peak >= MAX_PEAK_DB)) if broken]


def placed(channel_words, length):
    """One channel: each word copied in at its start sample."""
    channel = [0] * length
    for start, word in channel_words:
        channel[start:start + len(word)] = word
    return channel


def write_wave(path, left, right):
    frames = array.array("h", (v for frame in zip(left, right) for v in frame))
    if sys.byteorder == "big":
        frames.byteswap()
    with wave.open(path, "wb") as out:
        out.setnchannels(2)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames.tobytes())


def make_recording(path, pairs):
    """Writes one recording; returns the figures of its pairs."""
    left, right, figures = [], [], []
    for k, (a, b) in enumerate(pairs):
        onset = round((FIRST_ONSET + k * PAIR_SPACING) * RATE)
        left.append((onset - vowel_onset(a), a))
        right.append((onset - vowel_onset(b), b))
        figures.append(pair_figures(a, b))
        broken = broken_bounds(figures[-1])
        if broken:
            sys.exit(f"{path} not written: pair {k + 1} breaks the bounds of {', '.join(broken)}")
    length = max(start + len(word) for start, word in left + right) + TAIL
    write_wave(path, placed(left, length), placed(right, length))
    return figures


def make_headphone_check(path, phonemes):
    left_phrase, right_phrase = (spoken(phonemes[text]) for text in HEADPHONE_PHRASES)
    right_start = PHRASE_LEAD + len(left_phrase) + PHRASE_GAP
    length = right_start + len(right_phrase) + TAIL
    if max(peak_db(left_phrase), peak_db(right_phrase)) >= MAX_PEAK_DB:
        sys.exit(f"{path} not written: a phrase peaks at -1 dBFS or above")
    write_wave(path, placed([(PHRASE_LEAD, left_phrase)], length),
               placed([(right_start, right_phrase)], length))


def main(out_dir):
    recordings = [(number, a.split(), b.split()) for number, a, b in table("recordings.txt")]
    words = [w for _, a, b in recordings for w in a + b]
    phonemes = checked_phonemes(words + list(HEADPHONE_PHRASES))
    os.makedirs(out_dir, exist_ok=True)
    worst = [0.0, 0.0, -math.inf]
    for number, a_words, b_words in recordings:
        pairs = [matched_pair(phonemes[a], phonemes[b]) for a, b in zip(a_words, b_words)]
        path = os.path.join(out_dir, f"{number}.wav")
        for figures in make_recording(path, pairs):
            worst = [max(w, f) for w, f in zip(worst, figures)]
        print(f"{path}: {' '.join(a_words)} | {' '.join(b_words)}")
    make_headphone_check(os.path.join(out_dir, "headphones.wav"), phonemes)
    print("worst pair: durations %.1f ms apart, levels %.2f dB apart, "
          "peak %.2f dBFS" % tuple(worst))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "..", "sound"))
