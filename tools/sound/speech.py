"""The synthesiser: espeak-ng's Russian voice through its library, resampled
by sox to 48 kHz, with the sample at which each phoneme starts."""

import array
import ctypes
import functools
import subprocess
import sys

from word_measures import RATE

VOICE = b"ru"

# From espeak-ng's speak_lib.h.
_SYNCHRONOUS = 2                 # AUDIO_OUTPUT_SYNCHRONOUS
_PHONEME_EVENTS = 0x0001         # espeakINITIALIZE_PHONEME_EVENTS
_DONT_EXIT = 0x8000              # espeakINITIALIZE_DONT_EXIT
_UTF8 = 1                        # espeakCHARS_UTF8
_PHONEME_INPUT = 0x100           # espeakPHONEMES: [[...]] is phoneme input
_BY_CHARACTER = 1                # POS_CHARACTER
_RATE_PARAMETER = 1              # espeakRATE, words per minute
_LIST_END = 0                    # espeakEVENT_LIST_TERMINATED
_PHONEME = 7                     # espeakEVENT_PHONEME


class _EventId(ctypes.Union):
    _fields_ = [("number", ctypes.c_int), ("name", ctypes.c_char_p),
                ("string", ctypes.c_char * 8)]


class _Event(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("unique_identifier", ctypes.c_uint),
                ("text_position", ctypes.c_int), ("length", ctypes.c_int),
                ("audio_position", ctypes.c_int), ("sample", ctypes.c_int),
                ("user_data", ctypes.c_void_p), ("id", _EventId)]


_Callback = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.POINTER(ctypes.c_short), ctypes.c_int,
                             ctypes.POINTER(_Event))


class _Library:
    """espeak-ng's library, speaking into memory: samples at its own rate and
    (phoneme, first sample) for every phoneme it reports."""

    def __init__(self):
        self.lib = ctypes.CDLL("libespeak-ng.so.1")
        self.rate = self.lib.espeak_Initialize(_SYNCHRONOUS, 0, None,
                                               _PHONEME_EVENTS | _DONT_EXIT)
        if self.rate <= 0 or self.lib.espeak_SetVoiceByName(VOICE) != 0:
            raise RuntimeError("espeak-ng's library or its Russian voice is missing")
        self.callback = _Callback(self._receive)  # kept alive while the library holds it
        self.lib.espeak_SetSynthCallback(self.callback)
        self.samples, self.phonemes = [], []

    def _receive(self, wave, count, events):
        if wave:
            self.samples.extend(wave[:count])
        k = 0
        while events[k].type != _LIST_END:
            if events[k].type == _PHONEME:
                self.phonemes.append((events[k].id.string.decode(), events[k].sample))
            k += 1
        return 0

    def speak(self, phonemes, words_per_minute):
        self.samples, self.phonemes = [], []
        self.lib.espeak_SetParameter(_RATE_PARAMETER, words_per_minute, 0)
        text = f"[[{phonemes}]]".encode()
        self.lib.espeak_Synth(text, len(text) + 1, 0, _BY_CHARACTER, 0,
                              _UTF8 | _PHONEME_INPUT, None, None)
        self.lib.espeak_Synchronize()
        return self.samples, self.phonemes


@functools.cache
def _library():
    return _Library()


def _run(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def reported_phonemes(phonemes):
    """The phonemes that the synthesiser says it speaks for phoneme input."""
    return _run("espeak-ng", "-v", VOICE.decode(), "-q", "-x", f"[[{phonemes}]]").strip()


def own_reading(text):
    """The phonemes that the synthesiser speaks for the written text."""
    return _run("espeak-ng", "-v", VOICE.decode(), "-q", "-x", text).strip()


@functools.cache
def speak(phonemes, words_per_minute):
    """The phonemes spoken at the given rate: mono samples at 48 kHz, full
    scale 1.0, with the synthesiser's silence before and after, and the
    phonemes it reports as (name, first sample at 48 kHz), pauses left out.
    sox's resampler is linear in phase and keeps time: a sample n of the
    synthesiser's output lies at n * 48000 / its rate."""
    library = _library()
    samples, phonemes = library.speak(phonemes, words_per_minute)
    pcm = array.array("h", samples)
    if sys.byteorder == "big":
        pcm.byteswap()
    resampled = subprocess.run(
        ["sox", "-D", "-t", "raw", "-e", "signed-integer", "-b", "16", "-c", "1", "-L",
         "-r", str(library.rate), "-", "-t", "raw", "-e", "floating-point", "-b", "32", "-L",
         "-", "rate", "-v", str(RATE)],
        input=pcm.tobytes(), check=True, capture_output=True).stdout
    out = array.array("f", resampled)
    if sys.byteorder == "big":
        out.byteswap()
    return (out,
            tuple((name, round(at * RATE / library.rate)) for name, at in phonemes
                  if not name.startswith("_")))
