"""Acoustic landmarks of one spoken word, measured on its waveform alone
(mono, 48 kHz, any scale) and its written form: where the word starts and
ends, what each millisecond of it is (silence, voice, noise), where its
vowel starts, and its P-centres.

The vowel onset is found walking back from the vowel's loudest part (its
loudest 50 ms of 300-1200 Hz). After a voiceless consonant (or none) it is
where the voice that carries the vowel starts. After a voiced one (a voiced
stop's release, the end of з's or ж's noise, р's tap, a sonorant's opening)
it is where the spectrum last comes half-way to the vowel's own: the
distance of each 10 ms frame's 0.3-4 kHz spectrum (its shape and its level)
from the vowel's, back from the vowel, first passes half the way to the
farthest it gets before the vowel. A soft consonant's glide into the vowel
is the vowel's: the vowel starts where the soft consonant opens.

Voice here is energy of the voice's fundamental and first harmonics
(80-400 Hz) against noise above 3.5 kHz; it needs no pitch tracking."""

import numpy as np

RATE = 48000
HOP = RATE // 1000                  # one frame a millisecond
WINDOW = round(0.010 * RATE)        # Hann window of each frame
FFT = 1024
SMOOTHING = 20                      # frames, for the word's extent and kinds
ONSET_SMOOTHING = 5                 # frames, for the vowel onset
WORD_FLOOR_DB = 50.0                # below the loudest 10 ms: outside the word
WORD_GAP = 0.120                    # s of quiet that parts a word from a stray sound
SPECTRUM_BAND = (300.0, 4000.0)     # compared with the vowel's
NUCLEUS_BAND = (300.0, 1200.0)      # the first formant's, loudest in the vowel
NUCLEUS_SPAN = 50                   # ms over which the vowel's loudest part is taken
TEMPLATE_SPAN = 15                  # ms on either side of it: the vowel's own spectrum
LEVEL_CAP = 6.0                     # dB of level difference that count towards the distance
EDGE_FRAMES = 15                    # ms: the word's own start is far from every vowel
VOICELESS = "пткфсшщхцч"
VOWELS = "аеёиоуыэюя"
VOICE_RANGE_DB = 25.0               # of 80-400 Hz energy, below the vowel's: still voiced
SILENCE_DB = 35.0                   # below the loudest 10 ms: a stop's closure
MARCUS_ONSET, MARCUS_RHYME = 0.65, 0.25
ENVELOPE_BAND = (300.0, 3000.0)
ENVELOPE_SMOOTHING = 0.050          # s, moving average of the envelope's power


def _frames(x):
    """Power spectra of 10 ms Hann windows centred on each millisecond."""
    padded = np.concatenate([np.zeros(WINDOW // 2), np.asarray(x, float), np.zeros(WINDOW // 2)])
    count = max(1, (len(padded) - WINDOW) // HOP + 1)
    index = np.arange(WINDOW)[None, :] + HOP * np.arange(count)[:, None]
    spectra = np.abs(np.fft.rfft(padded[index] * np.hanning(WINDOW), FFT)) ** 2
    return spectra


def moving_average(x, width):
    """x (along its first axis) averaged over `width` values centred as
    np.convolve(x, np.ones(width) / width, mode="same") centres them, with
    zeros beyond its ends; by running sums, in time proportional to x."""
    x = np.asarray(x, float)
    before = (width - 1) // 2
    padded = np.concatenate([np.zeros((width - before,) + x.shape[1:]), x,
                             np.zeros((before,) + x.shape[1:])])
    sums = np.cumsum(padded, axis=0)
    return (sums[width:width + len(x)] - sums[:len(x)]) / width


def _smoothed(spectra, width=SMOOTHING):
    """Each frame's spectrum averaged over the 20 ms around it, which evens
    out the ripple of single voice periods."""
    return moving_average(spectra, width)


def band_db(spectra, low, high):
    freqs = np.fft.rfftfreq(FFT, 1 / RATE)
    band = (freqs >= low) & (freqs < high)
    return 10 * np.log10(spectra[:, band].sum(axis=1) + 1e-12)


def after_voiceless(written):
    """Whether the sound before the first vowel is voiceless (or there is none)."""
    consonants = [c for c in written.split(" ")[0] if c not in "ьъ"]
    before = []
    for c in consonants:
        if c in VOWELS:
            break
        before.append(c)
    return not before or before[-1] in VOICELESS


class Landmarks:
    """Frame-by-frame measures of a word, and its landmarks in samples."""

    def __init__(self, samples, written):
        self.samples = np.asarray(samples, float)
        self.written = written
        frames = _frames(self.samples)
        spectra = _smoothed(frames)
        self.total = band_db(spectra, 50, 20000)
        self.low = band_db(spectra, 80, 400)
        self.mid = band_db(spectra, 800, 3000)
        self.high = band_db(spectra, 3500, 20000)
        self.start, self.end = self._extent()
        body = slice(self.start // HOP, max(self.start // HOP + 1, self.end // HOP))
        strength = np.where([self.voiced(k) for k in range(len(self.total))], self.total, -np.inf)
        self.nucleus = body.start + int(np.argmax(strength[body]))  # the loudest voice
        self.vowel = self._vowel_onset(frames)

    def _vowel_onset(self, frames):
        first = self.start // HOP
        last = max(first + 1, self.end // HOP)
        spectra = _smoothed(frames, ONSET_SMOOTHING)
        formant = band_db(spectra, *NUCLEUS_BAND)
        power = moving_average(10 ** (formant / 10), NUCLEUS_SPAN)
        nucleus = first + int(np.argmax(power[first:last]))
        low, high = band_db(spectra, 80, 400), band_db(spectra, 3500, 20000)
        voice = nucleus
        while voice > first and low[voice - 1] >= self.low.max() - VOICE_RANGE_DB and low[voice - 1] >= high[voice - 1] - 0:
            voice -= 1
        if after_voiceless(self.written):
            return voice * HOP
        freqs = np.fft.rfftfreq(FFT, 1 / RATE)
        band = (freqs >= SPECTRUM_BAND[0]) & (freqs < SPECTRUM_BAND[1])
        spectrum = 10 * np.log10(spectra[:, band] + 1e-12)
        template = spectrum[max(first, nucleus - TEMPLATE_SPAN):nucleus + TEMPLATE_SPAN + 1].mean(axis=0)
        difference = spectrum - template
        level = difference.mean(axis=1)
        distance = np.sqrt(np.mean((difference - level[:, None]) ** 2, axis=1)) + np.minimum(np.abs(level), LEVEL_CAP)
        inside = first + EDGE_FRAMES
        farthest = inside + int(np.argmax(distance[inside:nucleus + 1])) if nucleus > inside else nucleus
        half_way = (distance[farthest] + distance[nucleus]) / 2
        k = nucleus
        while k > farthest and distance[k - 1] < half_way:
            k -= 1
        return k * HOP

    def _extent(self):
        """First and one-past-last sample of the word: the sound within 50 dB
        of its loudest 10 ms, without stray sounds 120 ms or more away."""
        loud = self.total >= self.total.max() - WORD_FLOOR_DB
        frames = np.flatnonzero(loud)
        peak = int(np.argmax(self.total))
        gap = round(WORD_GAP * 1000)
        first = last = peak
        for k in frames[frames < peak][::-1]:
            if first - k > gap:
                break
            first = k
        for k in frames[frames > peak]:
            if k - last > gap:
                break
            last = k
        # the frames spread the sound by their length: the word's edges are
        # where 1 ms of it comes within 50 dB of its loudest 10 ms
        x = self.samples
        sums = np.concatenate([[0.0], np.cumsum(x * x)])
        power = (sums[HOP:] - sums[:-HOP]) / HOP
        loudest = ((sums[10 * HOP:] - sums[:-10 * HOP]) / (10 * HOP)).max()
        audible = power >= loudest * 10 ** (-WORD_FLOOR_DB / 10)
        edge = 2 * SMOOTHING * HOP
        head = np.flatnonzero(audible[max(0, first * HOP - edge):(first + 1) * HOP + edge])
        tail = np.flatnonzero(audible[max(0, last * HOP - edge):(last + 1) * HOP + edge])
        start = max(0, first * HOP - edge) + head[0] if len(head) else first * HOP
        end = max(0, last * HOP - edge) + tail[-1] + HOP if len(tail) else (last + 1) * HOP
        return start, min(len(x), end)

    def voiced(self, k):
        return (self.low[k] >= self.low.max() - VOICE_RANGE_DB
                and self.low[k] >= self.high[k] - 6)

    def kinds(self):
        """Each millisecond of the word from its start: 's' silence (a stop's
        closure), 'v' voice, 'n' noise (frication or a burst)."""
        loudest = self.total.max()
        out = []
        for k in range(self.start // HOP, self.end // HOP):
            if self.total[k] < loudest - SILENCE_DB:
                out.append("s")
            elif self.voiced(k):
                out.append("v")
            else:
                out.append("n")
        return "".join(out)

    def marcus(self):
        """P-centre after Marcus: 0.65 of the way from the word's start to
        its vowel onset, plus 0.25 of the rest of the word."""
        return (self.start + MARCUS_ONSET * (self.vowel - self.start)
                + MARCUS_RHYME * (self.end - self.vowel))

    def envelope_centre(self):
        """P-centre as where the 300-3000 Hz envelope first reaches half its
        maximum (amplitude; power smoothed over 50 ms, so that a stop's burst
        does not count as the word's loudness)."""
        return envelope_half_point(self.samples, self.start, self.end)


def measured_as_written(samples, written, margin=round(0.060 * RATE)):
    """The landmarks of a word as a recording's check will measure it: from
    `margin` before its sound starts to `margin` after it ends, silence
    around it. Returns them and how many samples before the word's first
    sample they count from."""
    padded = np.concatenate([np.zeros(margin), np.asarray(samples, float), np.zeros(2 * margin)])
    whole = Landmarks(padded, written)
    first = max(0, whole.start - margin)
    return Landmarks(padded[first:whole.end + margin], written), margin - first


def envelope_power(samples):
    """Power of the 300-3000 Hz band at each sample, smoothed over 50 ms."""
    x = np.asarray(samples, float)
    spectrum = np.fft.rfft(x, 2 * len(x))
    freqs = np.fft.rfftfreq(2 * len(x), 1 / RATE)
    spectrum[(freqs < ENVELOPE_BAND[0]) | (freqs >= ENVELOPE_BAND[1])] = 0
    band = np.fft.irfft(spectrum)[:len(x)]
    width = round(ENVELOPE_SMOOTHING * RATE)
    return moving_average(band ** 2, width)


def envelope_half_point(samples, start=0, end=None):
    power = envelope_power(samples)[start:end]
    return start + int(np.argmax(power >= power.max() / 4))


def rise_time(samples, vowel):
    """From the vowel onset to where the 300-3000 Hz envelope reaches half
    its maximum, in samples."""
    return envelope_half_point(samples) - vowel
