"""Where the spoken words come from: one recording a word, mono at 48 kHz,
full scale 1.0.

- festival: Festival's Russian voice (msu_ru_nsh_clunits, Debian package
  festvox-ru), a unit-selection voice cut from a man's recorded speech. Each
  word is said from its text with its stress marked (festival.txt), and
  nothing is used unless the voice reports exactly the sounds the table
  lists for it.
- espeak: espeak-ng's Russian voice, from the phonemes of phonemes.txt.
- a folder: a study's own speaker, one WAV file a word named after the
  written word (свист.wav, ..., and "левое ухо.wav", "правое ухо.wav" for
  the headphone check), any rate, mono or stereo (the channels are mixed).
"""

import os
import subprocess
import sys
import tempfile

import numpy as np

from landmarks import RATE

HERE = os.path.dirname(os.path.abspath(__file__))
FESTIVAL_VOICE = "voice_msu_ru_nsh_clunits"
ESPEAK_WORDS_PER_MINUTE = "140"


def table(name):
    """The tab-separated lines of a table beside this script, comments left out."""
    with open(os.path.join(HERE, name), encoding="utf-8") as file:
        return [line.rstrip("\n").split("\t") for line in file
                if line.strip() and not line.startswith("#")]


def resampled(path):
    """A WAV file of any rate as mono floats at 48 kHz (sox, linear phase,
    no dither, so the same file gives the same samples)."""
    raw = subprocess.run(["sox", "-D", path, "-t", "raw", "-e", "floating-point", "-b", "32",
                          "-L", "-c", "1", "-", "rate", "-v", str(RATE)],
                         check=True, capture_output=True).stdout
    return np.frombuffer(raw, dtype="<f4").astype(float)


def _festival(words, folder):
    texts = {row[0]: row[1:] for row in table("festival.txt")}
    missing = [w for w in words if w not in texts]
    if missing:
        sys.exit("festival.txt has no line for " + ", ".join(missing))
    script = [f"({FESTIVAL_VOICE})"]
    for k, word in enumerate(words):
        path = os.path.join(folder, f"{k}.wav")
        script.append(f'(set! u (SynthText "{texts[word][0]}")) (utt.save.wave u "{path}" \'riff) '
                      f'(format t "%d\\t" {k}) '
                      "(mapcar (lambda (s) (format t \"%s \" (item.name s))) (utt.relation.items u 'Segment)) "
                      '(format t "\\n")')
    script_path = os.path.join(folder, "words.scm")
    with open(script_path, "w", encoding="utf-8") as out:
        out.write("\n".join(script) + "\n")
    output = subprocess.run(["festival", "-b", script_path], check=True, capture_output=True,
                            text=True).stdout
    reported = dict(line.split("\t") for line in output.splitlines() if "\t" in line)
    faults = []
    for k, word in enumerate(words):
        sounds = reported.get(str(k), "").replace("pau", "").split()
        if sounds != texts[word][1].split():
            faults.append(f"{word}: the voice says {' '.join(sounds)}, not {texts[word][1]}")
    if faults:
        sys.exit("nothing written:\n" + "\n".join(faults))
    return {word: os.path.join(folder, f"{k}.wav") for k, word in enumerate(words)}


def _espeak(words, folder):
    phonemes = dict(table("phonemes.txt"))
    paths = {}
    for k, word in enumerate(words):
        paths[word] = os.path.join(folder, f"{k}.wav")
        subprocess.run(["espeak-ng", "-v", "ru", "-s", ESPEAK_WORDS_PER_MINUTE, "-w", paths[word],
                        f"[[{phonemes[word]}]]"], check=True)
    return paths


def spoken_words(voice, words):
    """{written word: mono samples at 48 kHz} from `voice`: festival,
    espeak, or a folder of WAV files."""
    with tempfile.TemporaryDirectory() as folder:
        if voice == "festival":
            paths = _festival(words, folder)
        elif voice == "espeak":
            paths = _espeak(words, folder)
        else:
            paths = {word: os.path.join(voice, f"{word}.wav") for word in words}
            missing = [p for p in paths.values() if not os.path.isfile(p)]
            if missing:
                sys.exit("no recording of: " + ", ".join(missing))
        return {word: resampled(path) for word, path in paths.items()}
