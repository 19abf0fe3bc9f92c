"""Acoustic landmarks of one spoken word, measured on its waveform alone
(mono, 48 kHz, any scale): where the word starts and ends, what each
millisecond of it is (silence, voice, noise), where its vowel starts, and its
P-centres.

The vowel onset is found in the stretch of voice that leads into the
word's loudest part (its vowel). After a voiceless consonant it is where
that voice starts. After a voiced one (a sonorant, a voiced fricative, a
voiced stop's prevoicing, or the sonorant of a cluster) it is the sharpest
spectral change inside the voice where 0.8-3 kHz energy rises by at least
6 dB: the moment the mouth opens into the vowel. A soft consonant's glide
into the vowel is not a change of that kind (the formants glide, the
energy is already there), so the vowel starts where the soft consonant
opens, and the glide counts as the vowel's start.

Voice here is energy of the voice's fundamental and first harmonics
(80-400 Hz) against noise above 3.5 kHz; it needs no pitch tracking."""

import numpy as np

RATE = 48000
HOP = RATE // 1000                  # one frame a millisecond
WINDOW = round(0.010 * RATE)        # Hann window of each frame
FFT = 1024
SMOOTHING = 20                      # frames
WORD_FLOOR_DB = 40.0                # below the loudest 10 ms: outside the word
WORD_GAP = 0.120                    # s of quiet that parts a word from a stray sound
OPENING_DB = 6.0                    # rise of 0.8-3 kHz energy where a voiced consonant opens
CHANGE_SPAN = 10                    # ms on either side of a spectral change
SPECTRUM_BAND = (300.0, 4000.0)     # compared across a spectral change
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


def _smoothed(spectra):
    """Each frame's spectrum averaged over the 20 ms around it, which evens
    out the ripple of single voice periods."""
    width = SMOOTHING
    kernel = np.ones(width) / width
    return np.apply_along_axis(lambda column: np.convolve(column, kernel, mode="same"), 0, spectra)


def band_db(spectra, low, high):
    freqs = np.fft.rfftfreq(FFT, 1 / RATE)
    band = (freqs >= low) & (freqs < high)
    return 10 * np.log10(spectra[:, band].sum(axis=1) + 1e-12)


class Landmarks:
    """Frame-by-frame measures of a word, and its landmarks in samples."""

    def __init__(self, samples):
        self.samples = np.asarray(samples, float)
        spectra = _smoothed(_frames(self.samples))
        self.total = band_db(spectra, 50, 20000)
        self.low = band_db(spectra, 80, 400)
        self.mid = band_db(spectra, 800, 3000)
        self.high = band_db(spectra, 3500, 20000)
        freqs = np.fft.rfftfreq(FFT, 1 / RATE)
        band = (freqs >= SPECTRUM_BAND[0]) & (freqs < SPECTRUM_BAND[1])
        self.spectrum = 10 * np.log10(spectra[:, band] + 1e-12)
        self.start, self.end = self._extent()
        body = slice(self.start // HOP, max(self.start // HOP + 1, self.end // HOP))
        strength = np.where([self.voiced(k) for k in range(len(self.total))], self.total, -np.inf)
        self.nucleus = body.start + int(np.argmax(strength[body]))
        self.vowel = self._vowel_onset()

    def _extent(self):
        """First and one-past-last sample of the word: the sound within 40 dB
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
        return first * HOP, min(len(self.samples), (last + 1) * HOP)

    def voiced(self, k):
        return (self.low[k] >= self.low.max() - VOICE_RANGE_DB
                and self.low[k] >= self.high[k] - 6)

    def _vowel_onset(self):
        first = self.start // HOP
        voice = self.nucleus
        while voice > first and self.voiced(voice - 1):
            voice -= 1
        best, sharpest = voice, 0.0
        for k in range(voice + CHANGE_SPAN, self.nucleus - CHANGE_SPAN + 1):
            before, after = k - CHANGE_SPAN, k + CHANGE_SPAN
            if self.mid[after] - self.mid[before] < OPENING_DB:
                continue
            change = np.sqrt(np.mean((self.spectrum[after] - self.spectrum[before]) ** 2))
            if change > sharpest:
                best, sharpest = k, change
        return best * HOP

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


def envelope_power(samples):
    """Power of the 300-3000 Hz band at each sample, smoothed over 50 ms."""
    x = np.asarray(samples, float)
    spectrum = np.fft.rfft(x, 2 * len(x))
    freqs = np.fft.rfftfreq(2 * len(x), 1 / RATE)
    spectrum[(freqs < ENVELOPE_BAND[0]) | (freqs >= ENVELOPE_BAND[1])] = 0
    band = np.fft.irfft(spectrum)[:len(x)]
    width = round(ENVELOPE_SMOOTHING * RATE)
    return np.convolve(band ** 2, np.ones(width) / width, mode="same")


def envelope_half_point(samples, start=0, end=None):
    power = envelope_power(samples)[start:end]
    return start + int(np.argmax(power >= power.max() / 4))


def rise_time(samples, vowel):
    """From the vowel onset to where the 300-3000 Hz envelope reaches half
    its maximum, in samples."""
    return envelope_half_point(samples) - vowel
