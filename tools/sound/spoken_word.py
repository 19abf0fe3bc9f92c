"""A spoken word: its samples at 48 kHz and the sample at which each of its
phonemes starts, as the synthesiser reported them. Every cut and trim moves
the phonemes with the samples, so the times stay those of the synthesiser."""

import math

from word_measures import RATE

VOWELS = set("aAeEiIoOuUyV@8")
SOFTNESS = ";"          # a soft consonant's voiced glide into the next vowel
INSERTED_VOWEL = "@"    # the synthesiser's short vowel before р
CROSSFADE = round(0.004 * RATE)       # where a phoneme is cut out whole
PERIOD_SEARCH = round(0.0125 * RATE)  # longest voice period sought when cutting
MATCH = round(0.020 * RATE)           # compared on either side of a cut within a phoneme
PERIOD_CROSSFADE = round(0.008 * RATE)


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

    def _remove(self, start, end, crossfade=CROSSFADE):
        """Takes out samples start..end-1, crossfading across the join."""
        half = min(crossfade // 2, start, len(self.samples) - end)
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

    def shorten_phoneme(self, k, length, kept_end=0):
        """Brings the k-th phoneme to at most `length` samples by taking out
        a stretch of it, as far as the next point where the waveform repeats
        (a whole number of voice periods), so the join is smooth. The
        stretch lies in the middle of what comes before the phoneme's last
        `kept_end` samples, as far as there is room. A phoneme too short to
        be cut so is left as it is."""
        start, end = self.span(k)
        excess = end - start - length
        half = MATCH // 2
        if excess <= 0 or start + MATCH + excess > end:
            return
        cut_from = start + (end - kept_end - start - excess - PERIOD_SEARCH) // 2
        cut_from = min(max(cut_from, start + half), end - half - excess)
        reference = self.samples[cut_from - half:cut_from + half]
        reference_energy = sum(r * r for r in reference)
        energies = [0.0]
        for v in self.samples[cut_from + excess - half:end]:
            energies.append(energies[-1] + v * v)
        best, best_score = excess, -math.inf
        for cut in range(excess, excess + PERIOD_SEARCH):
            if cut_from + cut + half > end:
                break
            at = cut_from + cut - half
            product = sum(map(float.__mul__, reference, self.samples[at:at + MATCH]))
            energy = math.sqrt(reference_energy * (energies[cut - excess + MATCH] - energies[cut - excess]))
            score = product / energy if energy else 0.0
            if score > best_score:
                best, best_score = cut, score
        self._remove(cut_from, cut_from + best, PERIOD_CROSSFADE)

    def trim(self, level):
        """Keeps the samples from the first to the last above `level`."""
        loud = [i for i, v in enumerate(self.samples) if abs(v) > level]
        first, last = loud[0], loud[-1]
        self.samples = self.samples[first:last + 1]
        for phoneme in self.phonemes:
            phoneme[1] = min(max(phoneme[1] - first, 0), len(self.samples))
