"""Writes the thirteen recordings of the listening test, sound/1.wav to 13.wav,
the headphone check, sound/headphones.wav, all 48 kHz 16-bit stereo PCM, and
sound/timing.txt, where each word of the recordings starts, where its vowel
starts and where it ends.

A recording holds the four pairs of recordings.txt: channel A on the left,
channel B on the right, nothing of one channel in the other. Every word is
spoken from its phonemes in phonemes.txt through espeak-ng's library, which
reports the sample at which each phoneme starts; nothing is written unless
the synthesiser reports exactly the phonemes asked for. Every change to a
word moves those times with it:

- the short vowel the synthesiser says before р (@) is cut out at its
  phoneme boundaries, with a 4 ms crossfade;
- a consonant before the vowel longer than 100 ms is shortened to 100 ms by
  taking out a whole number of voice periods from its steady part, which
  leaves its last 60 ms, its transition into the vowel, as spoken;
- the two words are spoken at the rates that bring them closest to their
  mean length (or to the length of the one that cannot reach it);
- when the consonants before the vowels of a pair then differ in length by
  more than 35 ms, the longer word's longest such consonant that can be
  held (not a stop) is shortened to bring them within 35 ms, so that with
  the vowels aligned the words start within 40 ms of each other;
- what remains of the difference in length beyond 25 ms is taken out of
  the longer word's longest sounds from its vowel on, never more than half
  of one sound;
- a word runs from the first to the last sample above -50 dBFS, fades in
  and out over its first and last 8 ms (raised cosine), and the pair is
  brought to -23 dBFS RMS with its loudest 50 ms (the vowel) within 1 dB
  and its whole-word levels within 0.5 dB.

A word's vowel starts at its first vowel phoneme, or at the soft glide (;)
the synthesiser puts before it after a soft consonant, which is the vowel's
voiced onset. The two words of a pair are placed with their vowel starts on
the same sample, successive pairs' vowel starts 1.5 s apart; 0.75 s of
silence ends the file.

The headphone check says "левое ухо" on the left only, then "правое ухо" on
the right only, shaped the same way.
"""

import array
import math
import os
import sys
import wave

import speech
from spoken_word import INSERTED_VOWEL, SpokenWord, is_vowel
from word_measures import RATE, level_db, loudest_db, peak_db

HERE = os.path.dirname(os.path.abspath(__file__))

NORMAL_WPM = 140
WPM_RANGE = (80, 200)             # where a word's rate is sought to match its partner
TRIM_LEVEL = 10 ** (-50 / 20)     # of full scale
FADE = round(0.008 * RATE)
WORD_RMS_DB = -23.0
LONGEST_ONSET_CONSONANT = round(0.100 * RATE)
TRANSITION = round(0.060 * RATE)  # the end of a consonant before a vowel, kept whole
ONSET_TOLERANCE = round(0.035 * RATE)   # within the 40 ms bound on word starts
DURATION_TOLERANCE = round(0.025 * RATE)  # within the 40 ms bound on durations
HELD_SOUNDS = ("m", "n", "l", "r", "j", "v", "z", "Z", "s", "S", "x", "f", "ts", "tS", ";")
FIRST_ONSET = 0.6                 # s, vowel start of the first pair
PAIR_SPACING = 1.5                # s between the vowel starts of successive pairs
TAIL = round(0.75 * RATE)
PHRASE_LEAD = round(0.3 * RATE)   # headphone check: before the left phrase
PHRASE_GAP = round(0.5 * RATE)    # between the left and the right phrase
HEADPHONE_PHRASES = ("левое ухо", "правое ухо")

# What the written files must meet; the test suite tst_dichotic_recordings
# checks them too.
MAX_START_GAP_MS = 40.0
MAX_DURATION_GAP_MS = 40.0
MAX_LEVEL_GAP_DB = 0.5
MAX_VOWEL_LEVEL_GAP_DB = 1.0
MAX_PEAK_DB = -1.0
LEVEL_MARGIN_DB = 0.05            # kept from the bounds, for rounding to 16 bits
COMPRESSION_SPAN = round(0.010 * RATE)   # on either side of a sample
COMPRESSION_FLOOR = 10 ** (-40 / 10)     # of the loudest power: silence is not raised


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


def spoken(phonemes, words_per_minute=NORMAL_WPM):
    """The word as the synthesiser says it, without the vowel before р, its
    consonants before the vowel no longer than natural, trimmed."""
    word = SpokenWord(*speech.speak(phonemes, words_per_minute))
    while any(name == INSERTED_VOWEL for name, _ in word.phonemes):
        word.remove_phoneme(next(k for k, (name, _) in enumerate(word.phonemes)
                                 if name == INSERTED_VOWEL))
    for k in word.onset_phonemes():
        word.shorten_phoneme(k, LONGEST_ONSET_CONSONANT, TRANSITION)
    word.trim(TRIM_LEVEL)
    return word


def spoken_in(phonemes, length):
    """The word at the speaking rate that brings it closest to `length`
    samples (a word grows shorter as the rate rises)."""
    low, high = WPM_RANGE
    best = None
    while low <= high:
        rate = (low + high) // 2
        candidate = spoken(phonemes, rate)
        if best is None or abs(len(candidate.samples) - length) < abs(len(best.samples) - length):
            best = candidate
        if len(candidate.samples) > length:
            low = rate + 1
        else:
            high = rate - 1
    return best


def longest(word, indices):
    """Of the phonemes `indices`, the longest one that can be held."""
    held = [k for k in indices if word.phonemes[k][0].startswith(HELD_SOUNDS)
            or is_vowel(word.phonemes[k][0])]
    return max(held, key=lambda k: word.span(k)[1] - word.span(k)[0], default=None)


def shorten_longest(word, indices, by, kept_end=0):
    """Takes up to `by` samples out of the longest of the phonemes `indices`
    that can be held, but never more than half of it."""
    k = longest(word, indices)
    if k is not None:
        start, end = word.span(k)
        word.shorten_phoneme(k, end - start - min(by, (end - start) // 2), kept_end)


def matched_pair(first, second):
    """The two words of a pair, their onsets and durations brought together:
    first by the speaking rate (a word that cannot reach the pair's mean
    length sets the length for the other), then by shortening the longer
    onset, then the longer word's longest sounds from its vowel on."""
    a, b = spoken(first), spoken(second)
    if abs(len(a.samples) - len(b.samples)) > DURATION_TOLERANCE:
        length = (len(a.samples) + len(b.samples)) // 2
        a, b = spoken_in(first, length), spoken_in(second, length)
        if abs(len(a.samples) - length) > abs(len(b.samples) - length):
            b = spoken_in(second, len(a.samples))
        else:
            a = spoken_in(first, len(b.samples))
    for _ in range(3):
        gap = a.vowel_start() - b.vowel_start()
        if abs(gap) <= ONSET_TOLERANCE:
            break
        longer = a if gap > 0 else b
        shorten_longest(longer, longer.onset_phonemes(), abs(gap) - ONSET_TOLERANCE, TRANSITION)
    for _ in range(3):
        gap = len(a.samples) - len(b.samples)
        if abs(gap) <= DURATION_TOLERANCE:
            break
        longer = a if gap > 0 else b
        shorten_longest(longer, range(longer.first_vowel(), len(longer.phonemes)), abs(gap))
    return a, b


def shaped(word, gain_db):
    """The word's 16-bit samples, faded in and out and raised by `gain_db`
    from -23 dBFS RMS, and its vowel start; leading and trailing samples
    that round to zero are left out."""
    samples = list(word.samples)
    for k in range(FADE):
        gain = 0.5 - 0.5 * math.cos(math.pi * k / FADE)
        samples[k] *= gain
        samples[-1 - k] *= gain
    rms = math.sqrt(sum(v * v for v in samples) / len(samples))
    scale = 32768 * 10 ** ((WORD_RMS_DB + gain_db) / 20) / rms
    quantised = [round(v * scale) for v in samples]
    first = next(i for i, v in enumerate(quantised) if v)
    last = max(i for i, v in enumerate(quantised) if v)
    return quantised[first:last + 1], word.vowel_start() - first


def crest_db(samples):
    """How far the loudest 50 ms stand above the whole word, in dB."""
    return loudest_db(samples) - level_db(samples)


def compressed(word, amount):
    """The word with its louder stretches turned down against its quieter
    ones: each sample scaled by the power of its surrounding 20 ms, relative
    to the word's loudest, raised to -amount (a slow compressor, too slow to
    change the sound of a vowel)."""
    span = COMPRESSION_SPAN
    power = [v * v for v in word.samples]
    sums = [0.0]
    for p in power:
        sums.append(sums[-1] + p)
    n = len(power)
    local = [(sums[min(n, i + span)] - sums[max(0, i - span)]) / (min(n, i + span) - max(0, i - span))
             for i in range(n)]
    loudest = max(local)
    floor = loudest * COMPRESSION_FLOOR
    result = SpokenWord(word.samples, word.phonemes)
    result.samples = [v * (max(p, floor) / loudest) ** (-amount / 2)
                      for v, p in zip(word.samples, local)]
    return result


def with_crest(word, crest):
    """The word compressed by as little as brings its crest to `crest` dB."""
    low, high = 0.0, 1.0
    for _ in range(20):
        amount = (low + high) / 2
        if crest_db(compressed(word, amount).samples) > crest:
            low = amount
        else:
            high = amount
    return compressed(word, high)


def levelled_pair(a, b):
    """Both words shaped: their crests brought close enough together that
    one gain puts their loudest 50 ms within 1 dB and their whole words
    within 0.5 dB, then B raised against A by as little as does it."""
    room = MAX_LEVEL_GAP_DB - LEVEL_MARGIN_DB
    vowel_room = MAX_VOWEL_LEVEL_GAP_DB - LEVEL_MARGIN_DB
    crest_a, crest_b = crest_db(a.samples), crest_db(b.samples)
    if crest_a - crest_b > room + vowel_room:
        a = with_crest(a, crest_b + room + vowel_room - LEVEL_MARGIN_DB)
    elif crest_b - crest_a > room + vowel_room:
        b = with_crest(b, crest_a + room + vowel_room - LEVEL_MARGIN_DB)
    a_samples, _ = shaped(a, 0.0)
    b_samples, _ = shaped(b, 0.0)
    vowel_gap = loudest_db(a_samples) - loudest_db(b_samples)
    raise_b = max(-room, min(room, vowel_gap))
    return shaped(a, -raise_b / 2), shaped(b, raise_b / 2)


class Figures:
    """The worst pair of all recordings, bound by bound."""
    BOUNDS = (("word starts", "ms", MAX_START_GAP_MS), ("durations", "ms", MAX_DURATION_GAP_MS),
              ("levels", "dB", MAX_LEVEL_GAP_DB), ("vowel levels", "dB", MAX_VOWEL_LEVEL_GAP_DB),
              ("peak", "dBFS", MAX_PEAK_DB))

    def __init__(self):
        self.worst = {name: -math.inf for name, _, _ in self.BOUNDS}

    def of_pair(self, a, a_vowel, b, b_vowel):
        figures = {"word starts": abs(a_vowel - b_vowel) * 1000 / RATE,
                   "durations": abs(len(a) - len(b)) * 1000 / RATE,
                   "levels": abs(level_db(a) - level_db(b)),
                   "vowel levels": abs(loudest_db(a) - loudest_db(b)),
                   "peak": max(peak_db(a), peak_db(b))}
        for name in figures:
            self.worst[name] = max(self.worst[name], figures[name])
        return [name for name, _, bound in self.BOUNDS if figures[name] > bound
                or (name == "peak" and figures[name] >= bound)]

    def __str__(self):
        return "worst pair: " + ", ".join(f"{name} {self.worst[name]:.2f} {unit}"
                                          for name, unit, _ in self.BOUNDS)


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


def make_recording(path, pairs, figures):
    """Writes one recording of (word A, phonemes A, word B, phonemes B)
    pairs; returns the rows of the timing table for it."""
    left, right, rows = [], [], []
    name = os.path.basename(path)
    for k, (a_text, a_phonemes, b_text, b_phonemes) in enumerate(pairs):
        (a, a_vowel), (b, b_vowel) = levelled_pair(*matched_pair(a_phonemes, b_phonemes))
        broken = figures.of_pair(a, a_vowel, b, b_vowel)
        if broken:
            sys.exit(f"{path} not written: pair {k + 1} breaks the bounds of {', '.join(broken)}")
        vowel = round((FIRST_ONSET + k * PAIR_SPACING) * RATE)
        for text, word, word_vowel, channel, side in ((a_text, a, a_vowel, left, "left"),
                                                      (b_text, b, b_vowel, right, "right")):
            start = vowel - word_vowel
            channel.append((start, word))
            rows.append((text, name, side, start, vowel, start + len(word)))
    length = max(start + len(word) for start, word in left + right) + TAIL
    write_wave(path, placed(left, length), placed(right, length))
    return rows


def make_headphone_check(path, phonemes):
    left_phrase, right_phrase = (shaped(spoken(phonemes[text]), 0.0)[0]
                                 for text in HEADPHONE_PHRASES)
    right_start = PHRASE_LEAD + len(left_phrase) + PHRASE_GAP
    length = right_start + len(right_phrase) + TAIL
    if max(peak_db(left_phrase), peak_db(right_phrase)) >= MAX_PEAK_DB:
        sys.exit(f"{path} not written: a phrase peaks at -1 dBFS or above")
    write_wave(path, placed([(PHRASE_LEAD, left_phrase)], length),
               placed([(right_start, right_phrase)], length))


TIMING_HEADER = """\
# Where the generator (tools/sound/make_recordings.py) placed each word of the
# recordings, in samples at 48 kHz from the start of the file: the word's first
# sample, the first sample of its vowel (by the synthesiser's own phoneme
# times, carried through every cut and trim), and the sample after its last.
# word\tfile\tchannel\tstart\tvowel start\tend
"""


def write_timing(path, rows):
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write(TIMING_HEADER)
        for row in rows:
            out.write("\t".join(str(v) for v in row) + "\n")


def main(out_dir):
    recordings = [(number, a.split(), b.split()) for number, a, b in table("recordings.txt")]
    words = [w for _, a, b in recordings for w in a + b]
    phonemes = checked_phonemes(words + list(HEADPHONE_PHRASES))
    os.makedirs(out_dir, exist_ok=True)
    figures = Figures()
    rows = []
    for number, a_words, b_words in recordings:
        pairs = [(a, phonemes[a], b, phonemes[b]) for a, b in zip(a_words, b_words)]
        rows += make_recording(os.path.join(out_dir, f"{number}.wav"), pairs, figures)
        print(f"{number}.wav: {' '.join(a_words)} | {' '.join(b_words)}")
    write_timing(os.path.join(out_dir, "timing.txt"), rows)
    make_headphone_check(os.path.join(out_dir, "headphones.wav"), phonemes)
    print(figures)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "..", "sound"))
