"""Writes syllables whose vowel onset is known, for testing the landmark
detectors of the generator (landmarks.py) and of the recordings' check:
sound/syllables/syllables.wav (48 kHz 16-bit mono) and
sound/syllables/boundaries.txt, where each syllable starts, where its vowel
starts and where it ends.

    make_syllables.py [FOLDER]

Each syllable of syllables.txt is a consonant (or cluster) joined to a
vowel, both said by Festival's Russian voice (festvox-ru) in words of their
own. The consonant is taken from its word's first sound to 10 ms before the
end the voice reports for it, so none of its opening into the vowel is kept;
the vowel is taken from 10 ms after the start the voice reports for it, so it
starts inside the vowel. The two meet at a 2 ms join: the vowel starts there,
whatever the consonant before it. Then the generator's landmark is measured
on every syllable and its error printed; a landmark over 10 ms from the
known onset stops the script with the syllable's name.
"""

import os
import subprocess
import sys
import tempfile
import wave

import numpy as np

from landmarks import RATE, Landmarks
from voices import FESTIVAL_VOICE, resampled, table

HERE = os.path.dirname(os.path.abspath(__file__))
MS = RATE // 1000
LEAD_IN = 20 * MS         # taken before where the voice says a word starts
JOIN = 2 * MS             # fade on either side of the join
VOWEL_LENGTH = 180 * MS
EDGE_FADE = 8 * MS
SILENCE = 200 * MS        # before and after each syllable
LEVEL = 0.3               # the loudest sample of a syllable
MAX_ERROR_MS = 10.0


def festival_segments(texts, folder):
    """{text: (samples at 48 kHz, [(sound, start s, end s)])} as Festival's
    Russian voice says each text."""
    script = [f"({FESTIVAL_VOICE})"]
    for k, text in enumerate(texts):
        path = os.path.join(folder, f"{k}.wav")
        script.append(f'(set! u (SynthText "{text}")) (utt.save.wave u "{path}" \'riff) '
                      f'(format t "%d\\t" {k}) '
                      "(mapcar (lambda (s) (format t \"%s %f \" (item.name s) (item.feat s \"end\"))) "
                      "(utt.relation.items u 'Segment)) "
                      '(format t "\\n")')
    script_path = os.path.join(folder, "syllables.scm")
    with open(script_path, "w", encoding="utf-8") as out:
        out.write("\n".join(script) + "\n")
    output = subprocess.run(["festival", "-b", script_path], check=True, capture_output=True,
                            text=True).stdout
    spoken = {}
    for line in output.splitlines():
        if "\t" not in line:
            continue
        k, fields = line.split("\t")
        fields = fields.split()
        segments, start = [], 0.0
        for name, end in zip(fields[0::2], fields[1::2]):
            segments.append((name, start, float(end)))
            start = float(end)
        text = texts[int(k)]
        spoken[text] = (resampled(os.path.join(folder, f"{k}.wav")), segments)
    return spoken


def faded(x, fade_in, fade_out):
    x = x.copy()
    if fade_in:
        x[:fade_in] *= 0.5 - 0.5 * np.cos(np.pi * (np.arange(fade_in) + 0.5) / fade_in)
    if fade_out:
        x[-fade_out:] *= 0.5 + 0.5 * np.cos(np.pi * (np.arange(fade_out) + 0.5) / fade_out)
    return x


def first_sound(segments):
    """Where the voice says the word's first sound starts, in samples."""
    return round(next(start for name, start, _ in segments if name != "pau") * RATE)


def consonant_piece(spoken, cut_ms):
    samples, segments = spoken
    start = first_sound(segments)
    # the voice's own start may lie inside the consonant's first sound
    start = max(0, start - LEAD_IN)
    return faded(samples[start:first_sound(segments) + cut_ms * MS], EDGE_FADE, JOIN)


def vowel_piece(spoken, cut_ms):
    samples, segments = spoken
    start = first_sound(segments) + cut_ms * MS
    return faded(samples[start:start + VOWEL_LENGTH], JOIN, EDGE_FADE)


def main(folder):
    rows = table("syllables.txt")
    texts = sorted({row[1] for row in rows} | {row[3] for row in rows})
    with tempfile.TemporaryDirectory() as scratch:
        spoken = festival_segments(texts, scratch)
    pieces, lines, errors = [np.zeros(SILENCE)], [], []
    at = SILENCE
    for name, consonant_text, consonant_cut, vowel_text, vowel_cut in rows:
        consonant = consonant_piece(spoken[consonant_text], int(consonant_cut))
        syllable = np.concatenate([consonant, vowel_piece(spoken[vowel_text], int(vowel_cut))])
        syllable *= LEVEL / np.abs(syllable).max()
        onset = len(consonant)
        marks = Landmarks(np.concatenate([np.zeros(SILENCE), syllable, np.zeros(SILENCE)]))
        errors.append((name, (marks.vowel - SILENCE - onset) / MS))
        lines.append(f"{name}\t{at}\t{at + onset}\t{at + len(syllable)}")
        pieces += [syllable, np.zeros(SILENCE)]
        at += len(syllable) + SILENCE
    samples = np.round(np.concatenate(pieces) * 32767).astype("<i2")
    os.makedirs(folder, exist_ok=True)
    with wave.open(os.path.join(folder, "syllables.wav"), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(samples.tobytes())
    with open(os.path.join(folder, "boundaries.txt"), "w", encoding="utf-8", newline="\n") as out:
        out.write("# Syllables of syllables.wav (tools/sound/make_syllables.py), in samples at\n"
                  "# 48 kHz: syllable<TAB>first sample<TAB>vowel onset<TAB>sample after the last\n")
        out.write("\n".join(lines) + "\n")
    for name, error in errors:
        print(f"{name}: generator's vowel onset {error:+.1f} ms from the known one")
    wrong = [name for name, error in errors if abs(error) > MAX_ERROR_MS]
    if wrong:
        sys.exit("generator's vowel onset over 10 ms off in: " + ", ".join(wrong))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "..", "sound", "syllables"))
