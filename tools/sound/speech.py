"""The synthesiser: espeak-ng's Russian voice, resampled by sox to 48 kHz."""

import array
import functools
import os
import subprocess
import tempfile

from word_measures import RATE

VOICE = "ru"


def _run(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def reported_phonemes(phonemes):
    """The phonemes that the synthesiser says it speaks for phoneme input."""
    return _run("espeak-ng", "-v", VOICE, "-q", "-x", f"[[{phonemes}]]").strip()


def own_reading(text):
    """The phonemes that the synthesiser speaks for the written text."""
    return _run("espeak-ng", "-v", VOICE, "-q", "-x", text).strip()


@functools.cache
def speak(phonemes, words_per_minute, tempo=1.0):
    """The phonemes spoken at the given rate, then played `tempo` times as
    fast (sox's time stretch for speech): mono samples, full scale 1.0, with
    the synthesiser's silence before and after. Neither changes the pitch."""
    with tempfile.TemporaryDirectory() as work:
        spoken = os.path.join(work, "spoken.wav")
        resampled = os.path.join(work, "resampled.f32")
        _run("espeak-ng", "-v", VOICE, "-s", str(words_per_minute), "-w", spoken,
             f"[[{phonemes}]]")
        stretch = ("tempo", "-s", str(tempo)) if tempo != 1.0 else ()
        _run("sox", "-D", spoken, "-t", "raw", "-e", "floating-point", "-b", "32",
             resampled, "rate", "-v", str(RATE), *stretch)
        with open(resampled, "rb") as file:
            return tuple(array.array("f", file.read()))
