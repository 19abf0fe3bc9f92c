"""A spoken word: its samples at 48 kHz and the sample at which each of its
phonemes starts, as the synthesiser reported them. Every cut and trim moves
the phonemes with the samples, so the times stay those of the synthesiser."""

import math

from word_measures import RATE

VOWELS = set("aAeEiIoOuUyV@8")
SOFTNESS = ";"          # a soft consonant's voiced glide into the next vowel
INSERTED_VOWEL = "@"    # the synthesiser's short vowel before р
CROSSFADE = round(0.004 * RATE)
PERIOD_SEARCH = round(0.0125 * RATE)   # longest voice period sought when cutting


def is_vowel(name):
    return name[0] in VOWELS and not name.endswith("^")


class SpokenWord:
    def __init__(self, samples, phonemes):
        self.samples = list(samples)
        self.phonemes = [list(p) for p in phonemes]

    def span(self, k):
        """First and one-past-last sample of the k-th phoneme."""
        end = self.phonemes[k + 1][1] if k + 1 < len(self.phonemes) else len(self.samples)
        return self.phonemes[k][1], end

    def first_vowel(self):
        return next(k for k, (name, _) in enumerate(self.phonemes) if is_vowel(name))

    def vowel_start(self):
        """Where the first vowel starts: its own start, or that of the soft
        glide that leads into it (the glide is the vowel's voiced onset)."""
        k = self.first_vowel()
        if k > 0 and self.phonemes[k - 1][0] == SOFTNESS:
            k -= 1
        return self.phonemes[k][1]

    def onset_phonemes(self):
        """Indices of the consonants before the vowel start."""
        start = self.vowel_start()
        return [k for k, (_, at) in enumerate(self.phonemes) if at < start]

    def _remove(self, start, end):
        """Takes out samples start..end-1, crossfading across the join."""
        half = min(CROSSFADE // 2, start, len(self.samples) - end)
        fade = 2 * half
        before = self.samples[start - half:start + half]
        after = self.samples[end - half:end + half]
        joined = [b * (0.5 + 0.5 * math.cos(math.pi * (i + 0.5) / fade))
                  + a * (0.5 - 0.5 * math.cos(math.pi * (i + 0.5) / fade))
                  for i, (b, a) in enumerate(zip(before, after))]
        self.samples[start - half:end + half] = joined
        cut = end - start
        for phoneme in self.phonemes:
            if phoneme[1] >= end:
                phoneme[1] -= cut
            elif phoneme[1] > start:
                phoneme[1] = start

    def remove_phoneme(self, k):
        start, end = self.span(k)
        self._remove(start, end)
        del self.phonemes[k]

    def shorten_phoneme(self, k, length):
        """Brings the k-th phoneme to at most `length` samples by taking out
        the middle of it, as far as the next point where the waveform
        repeats (a whole number of voice periods), so the join is smooth."""
        start, end = self.span(k)
        excess = end - start - length
        if excess <= 0:
            return
        window = CROSSFADE
        cut_from = start + (end - start - excess - PERIOD_SEARCH) // 2
        cut_from = max(cut_from, start + window)
        reference = self.samples[cut_from - window:cut_from]
        best, best_score = excess, -math.inf
        for cut in range(excess, excess + PERIOD_SEARCH):
            if cut_from + cut + window > end:
                break
            candidate = self.samples[cut_from + cut - window:cut_from + cut]
            product = sum(r * c for r, c in zip(reference, candidate))
            energy = math.sqrt(sum(c * c for c in candidate) * sum(r * r for r in reference))
            score = product / energy if energy else 0.0
            if score > best_score:
                best, best_score = cut, score
        self._remove(cut_from, cut_from + best)

    def trim(self, level):
        """Keeps the samples from the first to the last above `level`."""
        loud = [i for i, v in enumerate(self.samples) if abs(v) > level]
        first, last = loud[0], loud[-1]
        self.samples = self.samples[first:last + 1]
        for phoneme in self.phonemes:
            phoneme[1] = min(max(phoneme[1] - first, 0), len(self.samples))
