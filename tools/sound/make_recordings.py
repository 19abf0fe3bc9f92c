"""Writes the thirteen recordings of the listening test, 1.wav to 13.wav,
the headphone check, headphones.wav, all 48 kHz 16-bit stereo PCM, and
timing.txt, where each word starts, where its vowel starts and where it
ends, all measured on the written sound.

    make_recordings.py [VOICE [FOLDER]]

VOICE is festival (the default), espeak, or a folder holding one WAV file a
word (voices.py); FOLDER is where the files go (sound/ by default).

A recording holds the four pairs of recordings.txt: channel A on the left,
channel B on the right, nothing of one channel in the other. Each word is
taken from its source recording from its first to its last sound within
50 dB of its loudest, faded in and out over 8 ms, and measured by its
acoustic landmarks (landmarks.py), never by what made it. Then, pair by
pair:

- after a final voiceless consonant at most 20 ms of voice is kept (a
  voiced tail is heard as another syllable);
- the time from each word's start to its vowel onset is brought to the
  same length, the shorter of the two where their sounds allow: the steady middle of
  a sonorant's murmur (kept at least 40 ms) or of a fricative's noise (at
  least 50 ms) is cut or lengthened, the silent closure of a voiceless
  stop inside the word shortened to 30 ms, the prevoicing of a voiced stop
  cut to 20 ms;
- the longer word's vowel is shortened in its steady part (then the steady
  middle of a final fricative, kept at least 50 ms, or a final stop's
  closure, kept at least 30 ms), or the shorter one's vowel lengthened,
  until their lengths are within 25 ms;
- a vowel that rises to half its strength more than 8 ms sooner than its
  partner's gets a gain ramp over its first 35 ms, as deep as brings it
  within 8 ms without moving its onset;
- the pair is brought to -23 dBFS RMS with its loudest 50 ms within 1 dB
  and its whole-word levels within 0.5 dB;
- the finished words are measured as they will stand in the recording
  (with silence around them), and the fitting is made again, aimed by what
  they measured, until their times from start to vowel onset are within
  4 ms (three attempts at most);
- the two words are placed where the largest of their gaps in vowel
  onset, in P-centre by Marcus's rule and in P-centre by the 300-3000 Hz
  envelope is smallest, with the vowel onsets at most 4 ms apart; a pair
  whose vowel onsets stay over 5 ms apart is not written, and neither is a
  recording in whose written sound a pair's vowel onsets, measured again,
  lie over 5 ms apart.

Successive pairs lie 1.5 s apart; 0.75 s of silence ends the file. The
headphone check says "левое ухо" on the left only, then "правое ухо" on the
right only.
"""

import math
import os
import sys
import wave

import numpy as np

from landmarks import HOP, RATE, Landmarks, measured_as_written, moving_average, rise_time
from spoken_word import FADE, MS, VOWELS, SpokenWord, runs
from voices import spoken_words, table

HERE = os.path.dirname(os.path.abspath(__file__))

WORD_RMS_DB = -23.0
FIRST_ONSET = 0.6                 # s, vowel onset of the first pair
PAIR_SPACING = 1.5                # s between successive pairs
TAIL = round(0.75 * RATE)
PHRASE_LEAD = round(0.3 * RATE)   # headphone check: before the left phrase
PHRASE_GAP = round(0.5 * RATE)    # between the left and the right phrase
HEADPHONE_PHRASES = ("левое ухо", "правое ухо")
RISE_TOLERANCE = 8 * MS
RISE_RAMP = 35 * MS
LOWEST_RAMP_GAIN = 0.3            # a deeper ramp would move the vowel onset itself
DURATION_TOLERANCE = 20 * MS
LENGTH_ATTEMPTS = 5
ONSET_TOLERANCE = 4 * MS          # between the finished words' times from start to vowel onset
ATTEMPTS = 3

MAX_VOWEL_GAP_MS = 5.0
PLACED_VOWEL_GAP_MS = 4.0         # kept from the bound: measured in the written file, a landmark moves by a frame
MEASURING_MARGIN = round(0.060 * RATE)   # of silence around a word measured in a written channel
MAX_LEVEL_GAP_DB = 0.5
MAX_VOWEL_LEVEL_GAP_DB = 1.0
MAX_PEAK_DB = -1.0
LEVEL_MARGIN_DB = 0.05            # kept from the bounds, for rounding to 16 bits
LOUDEST_SPAN = 50 * MS
COMPRESSION_SPAN = 10 * MS        # on either side of a sample
COMPRESSION_FLOOR = 10 ** (-40 / 10)
LARGEST_COMPRESSION = 0.5
LEVELLING_STEPS = 40              # of 0.2 dB off the higher crest
SHORTEST_INITIAL = 40 * MS        # an initial sonorant or fricative
LONGEST_VOICE_BEFORE_R = 20 * MS
WANTED_GAPS_MS = {"P-centre (Marcus)": 5.0, "P-centre (envelope)": 10.0, "word start": 10.0, "duration": 25.0}
VOICE_BEFORE_R_RANGE_DB = 15.0


def level_db(x):
    return 10 * math.log10(np.mean(np.square(x, dtype=float)) / 32768.0 ** 2)


def loudest_db(x):
    sums = np.concatenate([[0.0], np.cumsum(np.square(x, dtype=float))])
    power = sums[LOUDEST_SPAN:] - sums[:-LOUDEST_SPAN]
    return 10 * math.log10(power.max() / LOUDEST_SPAN / 32768.0 ** 2)


def peak_db(x):
    return 20 * math.log10(np.abs(x).max() / 32768.0)


def fitted_onsets(a, b, correction=0):
    """Brings the pair's times from word start to vowel onset together; A's
    is aimed `correction` samples shorter than B's (what the finished words
    measured apart the last time)."""
    (a_low, a_high), (b_low, b_high) = a.onset_range(), b.onset_range()
    low, high = max(a_low, b_low), min(a_high, b_high)
    if low <= high:
        target = min(max(min(a.onset(), b.onset()), low), high)
        a.set_onset(min(max(target - correction // 2, a_low), a_high))
        b.set_onset(min(max(target + correction - correction // 2, b_low), b_high))
    elif a_low > b_high:
        a.set_onset(a_low)
        b.set_onset(b_high)
    else:
        a.set_onset(a_high)
        b.set_onset(b_low)


def length(word):
    return word.marks.end - word.marks.start


def fitted_lengths(a, b):
    for _ in range(LENGTH_ATTEMPTS):
        gap = length(a) - length(b)
        if abs(gap) <= DURATION_TOLERANCE:
            return
        longer, shorter = (a, b) if gap > 0 else (b, a)
        before = length(longer)
        longer.change_length(-(abs(gap) - DURATION_TOLERANCE // 2))
        if length(longer) == before:
            shorter.change_length(abs(gap) - DURATION_TOLERANCE // 2)


def fitted_rises(a, b):
    """Slows the faster of the two vowel rises with a gain ramp."""
    rise_a, rise_b = rise_time(a.samples, a.marks.vowel), rise_time(b.samples, b.marks.vowel)
    if abs(rise_a - rise_b) <= RISE_TOLERANCE:
        return
    faster, target = (a, rise_b) if rise_a < rise_b else (b, rise_a)
    original, vowel = faster.samples.copy(), faster.marks.vowel
    low, high = LOWEST_RAMP_GAIN, 1.0
    for _ in range(12):
        gain = (low + high) / 2
        faster.samples = original.copy()
        faster.ramp_vowel(gain, RISE_RAMP)
        if (abs(faster.marks.vowel - vowel) <= MS
                and target - rise_time(faster.samples, faster.marks.vowel) > RISE_TOLERANCE):
            low = gain
        else:
            high = gain
    faster.samples = original
    faster.ramp_vowel(high, RISE_RAMP)


def crest_db(x):
    return loudest_db(x) - level_db(x)


def compressed(x, amount):
    """x with its louder stretches turned down against its quieter ones: each
    sample scaled by the power of the 20 ms around it, relative to the
    loudest, raised to -amount (too slow to change the sound of a vowel)."""
    width = 2 * COMPRESSION_SPAN
    local = moving_average(np.square(x), width)
    loudest = local.max()
    return x * (np.maximum(local, loudest * COMPRESSION_FLOOR) / loudest) ** (-amount / 2)


def with_crest(x, crest):
    """x compressed by as little as brings its crest to `crest` dB, but by
    no more than half (which raises sound 40 dB down by 20 dB at most)."""
    low, high = 0.0, LARGEST_COMPRESSION
    for _ in range(20):
        amount = (low + high) / 2
        if crest_db(compressed(x, amount)) > crest:
            low = amount
        else:
            high = amount
    return compressed(x, high)


def shaped(x, gain_db):
    """16-bit samples at -23 dBFS RMS raised by gain_db, faded in and out
    over 8 ms (again: compression raises a faded edge); leading and trailing
    samples that round to zero left out."""
    x = x.copy()
    ramp = 0.5 - 0.5 * np.cos(np.pi * np.arange(FADE) / FADE)
    x[:FADE] *= ramp
    x[-FADE:] *= ramp[::-1]
    scale = 32768 * 10 ** ((WORD_RMS_DB + gain_db) / 20) / math.sqrt(np.mean(np.square(x)))
    quantised = np.round(x * scale).astype(np.int64)
    loud = np.flatnonzero(quantised)
    return quantised[loud[0]:loud[-1] + 1]


def levelled_pair(a, b):
    """Both words as 16-bit samples: their crests brought close enough that
    one gain puts their loudest 50 ms within 1 dB and their whole words
    within 0.5 dB, then B raised against A by as little as does it."""
    room = MAX_LEVEL_GAP_DB - LEVEL_MARGIN_DB
    vowel_room = MAX_VOWEL_LEVEL_GAP_DB - LEVEL_MARGIN_DB
    x, y = a.samples, b.samples
    if crest_db(x) - crest_db(y) > room + vowel_room:
        x = with_crest(x, crest_db(y) + room + vowel_room - LEVEL_MARGIN_DB)
    elif crest_db(y) - crest_db(x) > room + vowel_room:
        y = with_crest(y, crest_db(x) + room + vowel_room - LEVEL_MARGIN_DB)
    for _ in range(LEVELLING_STEPS):
        vowel_gap = loudest_db(shaped(x, 0.0)) - loudest_db(shaped(y, 0.0))
        raise_b = max(-room, min(room, vowel_gap))
        a_out, b_out = shaped(x, -raise_b / 2), shaped(y, raise_b / 2)
        if (abs(level_db(a_out) - level_db(b_out)) <= room
                and abs(loudest_db(a_out) - loudest_db(b_out)) <= vowel_room):
            break
        # the crests are still too far apart: bring the higher one down
        if crest_db(x) > crest_db(y):
            x = with_crest(x, crest_db(x) - 0.2)
        else:
            y = with_crest(y, crest_db(y) - 0.2)
    return a_out, b_out


def whole_word_faults(written, marks, spoken_initial):
    """Where a finished word is not whole: an initial sonorant or fricative
    shorter than 40 ms (or than the voice said it), a voiced stretch over
    20 ms within 15 dB of the vowel before the р of a cluster."""
    faults = []
    first = marks.kinds()[:(marks.vowel - marks.start) // HOP]
    initial = runs(first)[0][2] - runs(first)[0][1] if first else 0
    if written[0] not in VOWELS + "пткбдг" and initial < min(SHORTEST_INITIAL // HOP, spoken_initial - 2):
        faults.append(f"{written}: its first consonant lasts {initial} ms")
    if len(written) > 1 and written[1] == "р" and written[0] not in VOWELS:
        vowel_level = marks.total[marks.nucleus]
        loud_voice = "".join("V" if c == "v" and marks.total[marks.start // HOP + k] >= vowel_level - VOICE_BEFORE_R_RANGE_DB
                             else "." for k, c in enumerate(first))
        longest = max((len(run) for run in loud_voice.split(".")), default=0)
        # the р itself and the vowel's onset are loud and voiced: only a
        # stretch before the tap counts, which is the longest minus the tap
        if longest * HOP > LONGEST_VOICE_BEFORE_R + 30 * MS:
            faults.append(f"{written}: {longest} ms of loud voice before the vowel")
    return faults


class Pair:
    """A finished pair: both words' 16-bit samples and landmarks, and where
    the second is placed against the first."""

    def __init__(self, a_text, a_samples, b_text, b_samples):
        self.texts = (a_text, b_text)
        # The words are fitted, levelled and measured as they will stand in
        # the recording (with silence around); levelling and the cuts' joins
        # move the landmarks a little, so the fitting is made again, aimed by
        # what the finished words measured, until their times from start to
        # vowel onset are within 4 ms.
        correction = 0
        for _ in range(ATTEMPTS):
            a, b = SpokenWord(a_text, a_samples), SpokenWord(b_text, b_samples)
            for word in (a, b):
                word.trimmed()
                word.cut_voiced_tail()
            self.spoken_initials = tuple(word.initial_length() for word in (a, b))
            fitted_onsets(a, b, correction)
            fitted_lengths(a, b)
            fitted_rises(a, b)
            self.samples = levelled_pair(a, b)
            measured = [measured_as_written(x, text) for x, text in zip(self.samples, self.texts)]
            self.marks = tuple(marks for marks, _ in measured)
            self.lead = tuple(lead for _, lead in measured)
            apart = (self.marks[0].vowel - self.marks[0].start) - (self.marks[1].vowel - self.marks[1].start)
            if abs(apart) <= ONSET_TOLERANCE:
                break
            correction += apart
        self.offset = self._placement()

    def _landmarks(self, marks):
        return {"vowel onset": marks.vowel, "P-centre (Marcus)": marks.marcus(),
                "P-centre (envelope)": marks.envelope_centre()}

    def _placement(self):
        """Where B starts against A: the smallest largest gap, with the vowel
        onsets at most 4 ms apart (5 ms is the bound; measured again in the
        written sound, a landmark may move by a frame)."""
        a, b = (self._landmarks(m) for m in self.marks)
        differences = [a[name] - b[name] for name in a]
        best = (min(differences) + max(differences)) / 2
        vowel = a["vowel onset"] - b["vowel onset"]
        return round(min(max(best, vowel - PLACED_VOWEL_GAP_MS * MS), vowel + PLACED_VOWEL_GAP_MS * MS))

    def gaps(self):
        """Each measure of A minus that of B as placed, in ms."""
        a, b = (self._landmarks(m) for m in self.marks)
        gaps = {name: (a[name] - b[name] - self.offset) / MS for name in a}
        ma, mb = self.marks
        gaps["word start"] = (ma.start - mb.start - self.offset) / MS
        gaps["duration"] = ((ma.end - ma.start) - (mb.end - mb.start)) / MS
        x, y = self.samples
        gaps["level"] = level_db(x) - level_db(y)
        gaps["loudest 50 ms"] = loudest_db(x) - loudest_db(y)
        return gaps

    def faults(self):
        """What keeps the pair from being written: vowel onsets over 5 ms
        apart, levels apart, a peak at -1 dBFS."""
        gaps = self.gaps()
        faults = []
        if abs(gaps["vowel onset"]) > MAX_VOWEL_GAP_MS:
            faults.append(f"vowel onsets {gaps['vowel onset']:+.1f} ms apart")
        if abs(gaps["level"]) > MAX_LEVEL_GAP_DB or abs(gaps["loudest 50 ms"]) > MAX_VOWEL_LEVEL_GAP_DB:
            faults.append(f"levels {gaps['level']:+.2f} dB, loudest 50 ms {gaps['loudest 50 ms']:+.2f} dB apart")
        if max(peak_db(x) for x in self.samples) >= MAX_PEAK_DB:
            faults.append("peaks at -1 dBFS or above")
        return faults

    def shortfalls(self):
        """Bounds the pair misses that the voice's own sounds set: words
        not whole, P-centres, starts and lengths further apart than wanted."""
        gaps = self.gaps()
        out = [f"{name} {gaps[name]:+.1f} ms apart" for name, bound in WANTED_GAPS_MS.items()
               if abs(gaps[name]) > bound]
        for text, marks, initial in zip(self.texts, self.marks, self.spoken_initials):
            out += whole_word_faults(text, marks, initial)
        return out


def write_wave(path, left, right):
    frames = np.empty(2 * len(left), dtype="<i2")
    frames[0::2], frames[1::2] = left, right
    with wave.open(path, "wb") as out:
        out.setnchannels(2)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames.tobytes())


def placed(words, length):
    channel = np.zeros(length, dtype=np.int64)
    for start, x in words:
        channel[start:start + len(x)] = x
    return channel


def measured_in(channel, start, length, text):
    """The start, vowel onset and end of the word written at `start` of a
    channel, measured there as the check measures it (with the silence
    around it)."""
    first = max(0, start - MEASURING_MARGIN)
    marks = Landmarks(channel[first:start + length + MEASURING_MARGIN], text)
    return first + marks.start, first + marks.vowel, first + marks.end


def make_recording(path, pairs):
    """Writes one recording of finished pairs; returns its timing rows, as
    measured in the written sound. A pair whose vowel onsets lie further
    apart there than where it was placed is moved by as much, up to three
    times."""
    name = os.path.basename(path)
    starts = []
    for k, pair in enumerate(pairs):
        reference = round((FIRST_ONSET + k * PAIR_SPACING) * RATE)
        # where the first samples go: the landmarks count from the silence
        # measured before each word
        a_start = reference - (pair.marks[0].vowel - pair.lead[0])
        starts.append([a_start, a_start + pair.lead[1] - pair.lead[0] + pair.offset])
    for _ in range(ATTEMPTS):
        total = max(start + len(x) for pair, pair_starts in zip(pairs, starts)
                    for start, x in zip(pair_starts, pair.samples)) + TAIL
        channels = tuple(placed([(pair_starts[side], pair.samples[side]) for pair, pair_starts in zip(pairs, starts)],
                                total) for side in (0, 1))
        measured = [[measured_in(channels[side], pair_starts[side], len(pair.samples[side]), pair.texts[side])
                     for side in (0, 1)] for pair, pair_starts in zip(pairs, starts)]
        moved = False
        for (a, b), pair_starts in zip(measured, starts):
            gap = a[1] - b[1]
            allowed = round(PLACED_VOWEL_GAP_MS * MS)
            if abs(gap) > allowed:
                pair_starts[1] += gap - (allowed if gap > 0 else -allowed)
                moved = True
        if not moved:
            break
    for k, (a, b) in enumerate(measured):
        if abs(a[1] - b[1]) > MAX_VOWEL_GAP_MS * MS:
            sys.exit(f"{name} pair {k + 1} ({'/'.join(pairs[k].texts)}) not written: its vowel onsets "
                     f"are {(a[1] - b[1]) / MS:+.1f} ms apart in the written sound")
    write_wave(path, *channels)
    return [(pair.texts[side], name, ("left", "right")[side], *measured[k][side])
            for k, pair in enumerate(pairs) for side in (0, 1)]


def make_headphone_check(path, spoken):
    left, right = (levelled_pair(SpokenWord(text, spoken[text]), SpokenWord(text, spoken[text]))[0]
                   for text in HEADPHONE_PHRASES)
    for word in (left, right):
        if peak_db(word) >= MAX_PEAK_DB:
            sys.exit(f"{path} not written: a phrase peaks at -1 dBFS or above")
    right_start = PHRASE_LEAD + len(left) + PHRASE_GAP
    total = right_start + len(right) + TAIL
    write_wave(path, placed([(PHRASE_LEAD, left)], total), placed([(right_start, right)], total))


TIMING_HEADER = """\
# Where the generator (tools/sound/make_recordings.py) placed each word of the
# recordings, in samples at 48 kHz from the start of the file, as measured on
# the sound it wrote (tools/sound/landmarks.py): the word's first sample, its
# vowel onset, and the sample after its last.
# word\tfile\tchannel\tstart\tvowel start\tend
"""


def write_timing(path, rows):
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write(TIMING_HEADER)
        for row in rows:
            out.write("\t".join(str(v) for v in row) + "\n")


def print_report(report):
    names = list(report[0][3])
    for name in names:
        worst = max(report, key=lambda r: abs(r[3][name]))
        values = sorted(abs(r[3][name]) for r in report)
        print(f"{name}: median {values[len(values) // 2]:.2f}, worst {worst[3][name]:+.2f} "
              f"({worst[0]} pair {worst[1]}, {'/'.join(worst[2])})")


def main(voice, out_dir):
    recordings = [(number, a.split(), b.split()) for number, a, b in table("recordings.txt")]
    words = sorted({w for _, a, b in recordings for w in a + b} | set(HEADPHONE_PHRASES))
    spoken = spoken_words(voice, words)
    os.makedirs(out_dir, exist_ok=True)
    made = [(number, [Pair(a, spoken[a], b, spoken[b]) for a, b in zip(a_words, b_words)])
            for number, a_words, b_words in recordings]
    faults = [f"{number}.wav pair {k + 1} ({'/'.join(pair.texts)}): {fault}"
              for number, pairs in made for k, pair in enumerate(pairs) for fault in pair.faults()]
    print_report([(f"{number}.wav", k + 1, pair.texts, pair.gaps())
                  for number, pairs in made for k, pair in enumerate(pairs)])
    for number, pairs in made:
        for k, pair in enumerate(pairs):
            for shortfall in pair.shortfalls():
                print(f"short of a bound: {number}.wav pair {k + 1} ({'/'.join(pair.texts)}): {shortfall}")
    if faults:
        sys.exit("nothing written:\n" + "\n".join(faults))
    rows = []
    for number, pairs in made:
        rows += make_recording(os.path.join(out_dir, f"{number}.wav"), pairs)
    write_timing(os.path.join(out_dir, "timing.txt"), rows)
    make_headphone_check(os.path.join(out_dir, "headphones.wav"), spoken)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "festival",
         sys.argv[2] if len(sys.argv) > 2 else os.path.join(HERE, "..", "..", "sound"))
