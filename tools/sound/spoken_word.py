"""A spoken word being fitted to its partner: its samples (48 kHz, full
scale 1.0) and its landmarks, measured again on the sound after every
change. Changes are made only where the sound is steady: in the middle of
a sonorant's murmur or a fricative's noise, in the silent closure of a
voiceless stop, in the prevoicing of a voiced stop, and in the vowel's
steady part; a cut or a repeat in voice spans whole voice periods, so the
join is smooth."""

import numpy as np

from landmarks import HOP, RATE, Landmarks

MS = RATE // 1000
FADE = 8 * MS                      # raised-cosine fade at the word's edges
CROSSFADE = 8 * MS                 # at a join inside the word
MATCH = 10 * MS                    # compared on either side of a join
PERIOD_SEARCH = 13 * MS            # longest voice period sought for a join
SHORTEST_MURMUR = 40 * MS          # a sonorant at the start of a word
SHORTEST_FRICATION = 50 * MS
CLOSURE = (20 * MS, 30 * MS)       # a voiceless stop's silence inside a word
SHORTEST_PREVOICING = 20 * MS
LONGEST_STRETCH = 2.0              # a steady part is lengthened to at most this much
EDGE = 10 * MS                     # of a run, left as spoken at either end
SHORTEST_RUN = 8                   # ms: shorter runs of one kind join their neighbours
VOICED_STOPS = "бдг"
SONORANTS = "мнлрйв"
VOWELS = "аеёиоуыэюя"
VOICELESS_ENDINGS = "пфктшсхцчщбвгджз"  # a final voiced obstruent is said voiceless
LONGEST_VOICED_TAIL = 20 * MS
EDGE_LEVEL = 10 ** (-60 / 20)


def _spliced(x, keep, resume, fade=CROSSFADE):
    """x up to sample `keep`, then on from sample `resume` (a cut when
    resume lies after keep, a repeat when before), crossfaded at the join."""
    half = min(fade // 2, keep, resume, len(x) - keep, len(x) - resume)
    ramp = 0.5 - 0.5 * np.cos(np.pi * (np.arange(2 * half) + 0.5) / (2 * half))
    middle = x[keep - half:keep + half] * (1 - ramp) + x[resume - half:resume + half] * ramp
    return np.concatenate([x[:keep - half], middle, x[resume + half:]])


def _best_join(x, at, length, within):
    """The length near `length` (up to a voice period more) after which the
    waveform at `at` repeats best, compared over 10 ms."""
    half = MATCH // 2
    reference = x[at - half:at + half]
    best, best_score = length, -np.inf
    for cut in range(length, length + PERIOD_SEARCH):
        if at + cut + half > within or at - half < 0:
            break
        other = x[at + cut - half:at + cut + half]
        norm = np.sqrt(np.dot(reference, reference) * np.dot(other, other))
        score = np.dot(reference, other) / norm if norm else 0.0
        if score > best_score:
            best, best_score = cut, score
    return best


def runs(kinds):
    """(kind, first ms, one-past-last ms) of each run of one kind, short
    runs joined to the run before."""
    out = []
    for k, kind in enumerate(kinds):
        if out and out[-1][0] == kind:
            out[-1][2] = k + 1
        else:
            out.append([kind, k, k + 1])
    while len(out) > 1 and out[0][2] - out[0][1] < SHORTEST_RUN:
        out[1][1] = out[0][1]
        out.pop(0)
    merged = []
    for run in out:
        if merged and run[2] - run[1] < SHORTEST_RUN:
            merged[-1][2] = run[2]
        elif merged and merged[-1][0] == run[0]:
            merged[-1][2] = run[2]
        else:
            merged.append(run)
    return [tuple(r) for r in merged]


class SpokenWord:
    def __init__(self, written, samples):
        self.written = written
        self.samples = np.asarray(samples, float)
        self.measure()

    def measure(self):
        self.marks = Landmarks(self.samples, self.written)

    def trimmed(self):
        """The word from its start to its end, faded in and out, the rest
        of the source recording (its noise floor, stray sounds) left out."""
        start, end = self.marks.start, self.marks.end
        # the frames' extent is as coarse as their windows: start and end
        # at the first and last sample 60 dB below the word's peak
        x = self.samples
        audible = np.flatnonzero(np.abs(x[start:end]) >= np.abs(x).max() * EDGE_LEVEL)
        start, end = start + audible[0], start + audible[-1] + 1
        x = x[max(0, start - FADE // 2):end].copy()
        ramp = 0.5 - 0.5 * np.cos(np.pi * np.arange(FADE) / FADE)
        x[:FADE] *= ramp
        x[-FADE:] *= ramp[::-1]
        self.samples = x
        self.measure()

    def initial_length(self):
        """How long the first consonant sounds, in ms, by its run."""
        first = self.marks.kinds()[:(self.marks.vowel - self.marks.start) // HOP]
        return runs(first)[0][2] - runs(first)[0][1] if first else 0

    def onset(self):
        """Samples from the word's start to its vowel onset."""
        return self.marks.vowel - self.marks.start

    def onset_runs(self):
        """The runs of silence, voice and noise before the vowel onset, in
        samples from the start of the recording, with how far each may be
        shortened and lengthened."""
        marks = self.marks
        count = (marks.vowel - marks.start) // HOP
        kinds = marks.kinds()[:count]
        first_letter = self.written[0]
        out = []
        for n, (kind, first, last) in enumerate(runs(kinds)):
            start, end = marks.start + first * HOP, marks.start + last * HOP
            length = end - start
            if kind == "s":
                shortest, longest = (min(length, CLOSURE[1]) if n > 0 else length), length
            elif kind == "v" and n == 0 and first_letter in VOICED_STOPS:
                shortest, longest = min(length, SHORTEST_PREVOICING), length
            elif kind == "v":
                shortest = min(length, SHORTEST_MURMUR)
                longest = round(length * LONGEST_STRETCH) if length >= 2 * EDGE + MATCH else length
            else:
                shortest = min(length, SHORTEST_FRICATION)
                longest = round(length * LONGEST_STRETCH) if length >= SHORTEST_FRICATION - EDGE else length
            out.append((kind, start, end, shortest, longest))
        return out

    def onset_range(self):
        """The shortest and longest the onset can be made."""
        runs_ = self.onset_runs()
        fixed = self.onset() - sum(end - start for _, start, end, _, _ in runs_)
        return (fixed + sum(r[3] for r in runs_), fixed + sum(r[4] for r in runs_))

    def change_run(self, start, end, by, voiced):
        """Shortens (by < 0) or lengthens (by > 0) the stretch start..end in
        its middle, keeping 10 ms at either end as spoken."""
        if by == 0 or end - start < 2 * EDGE + MATCH:
            return
        x = self.samples
        middle = (start + end) // 2
        if by < 0:
            length = min(-by, end - start - 2 * EDGE - MATCH)
            cut_from = max(start + EDGE + MATCH // 2, middle - length // 2)
            cut = _best_join(x, cut_from, length, end - EDGE) if voiced else length
            self.samples = _spliced(x, cut_from, cut_from + cut)
        else:
            length = min(by, end - start - 2 * EDGE - MATCH)
            at = max(start + EDGE + MATCH // 2, middle - length // 2)
            repeat = _best_join(x, at, length, end - EDGE) if voiced else length
            self.samples = _spliced(x, at + repeat, at)
        self.measure()

    def set_onset(self, target, attempts=6):
        """Brings the time from the word's start to its vowel onset as near
        `target` samples as its runs allow, measuring again after each
        change."""
        for _ in range(attempts):
            gap = target - self.onset()
            if abs(gap) <= 2 * MS:
                return
            runs_ = self.onset_runs()
            room = [(r[4] - (r[2] - r[1])) if gap > 0 else ((r[2] - r[1]) - r[3]) for r in runs_]
            if max(room, default=0) <= MS:
                return
            k = int(np.argmax(room))
            kind, start, end, _, _ = runs_[k]
            step = min(abs(gap), room[k])
            self.change_run(start, end, step if gap > 0 else -step, kind == "v")

    def rhyme_runs(self):
        """The steady part of the vowel: from 40 ms after its onset to 30 ms
        before the end of the voice that carries it."""
        kinds = self.marks.kinds()
        k = (self.marks.vowel - self.marks.start) // HOP
        end = k
        while end < len(kinds) and kinds[end] == "v":
            end += 1
        return self.marks.vowel + 40 * MS, self.marks.start + end * HOP - 30 * MS

    def change_length(self, by):
        """Shortens or lengthens the word by about `by` samples in its vowel;
        what the vowel cannot give when shortening comes from the steady
        middle of a final fricative (kept at least 50 ms) or the silence of a
        final stop's closure (kept at least 30 ms)."""
        before = len(self.samples)
        start, end = self.rhyme_runs()
        if end - start > 2 * EDGE + MATCH:
            self.change_run(start, end, by, True)
        need = -by - (before - len(self.samples))
        if by >= 0 or need <= MS:
            return
        for kind, first, last in reversed(self.coda_runs()):
            keep = SHORTEST_FRICATION if kind == "n" else CLOSURE[1]
            cut = min(need, (last - first) - keep)
            if cut > MS:
                length = len(self.samples)
                self.change_run(first, last, -cut, False)
                need -= length - len(self.samples)
            if need <= MS:
                return

    def coda_runs(self):
        """The runs of noise and silence after the voice that carries the
        vowel, in samples: (kind, first, one past the last)."""
        kinds = self.marks.kinds()
        k = (self.marks.vowel - self.marks.start) // HOP
        while k < len(kinds) and kinds[k] == "v":
            k += 1
        return [(kind, self.marks.start + (k + first) * HOP, self.marks.start + (k + last) * HOP)
                for kind, first, last in runs(kinds[k:]) if kind in "ns"]

    def cut_voiced_tail(self):
        """After a final voiceless consonant, no more than 20 ms of voice."""
        if self.written[-1] not in VOICELESS_ENDINGS and not (
                self.written.endswith("ь") and self.written[-2] in VOICELESS_ENDINGS):
            return
        kinds = self.marks.kinds()
        tail = len(kinds) - len(kinds.rstrip("v"))
        if tail * HOP > LONGEST_VOICED_TAIL and "n" in kinds[:len(kinds) - tail]:
            end = self.marks.end - tail * HOP + LONGEST_VOICED_TAIL // 2
            x = self.samples[:end].copy()
            ramp = 0.5 - 0.5 * np.cos(np.pi * np.arange(FADE) / FADE)
            x[-FADE:] *= ramp[::-1]
            self.samples = x
            self.measure()

    def ramp_vowel(self, gain, length):
        """Scales the first `length` samples of the vowel by a gain rising
        from `gain` to 1 (raised cosine): a slower rise into the vowel."""
        at = self.marks.vowel
        ramp = gain + (1 - gain) * (0.5 - 0.5 * np.cos(np.pi * np.arange(length) / length))
        self.samples[at:at + length] *= ramp[:len(self.samples[at:at + length])]
        self.measure()
