"""Draws one page a recording, docs/recordings/1.png to 13.png: both
channels' spectrograms one above the other, a column a pair, each word's landmarks marked
as measured on the written sound (landmarks.py): start and end (cyan),
vowel onset (green), P-centre by Marcus's rule (white), P-centre by the
300-3000 Hz envelope (yellow); and beside each pair its gaps, left minus
right, in ms.

    draw_recordings.py [SOUND FOLDER [PICTURE FOLDER]]

Needs python3 with numpy and matplotlib."""

import os
import sys
import wave

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

from landmarks import RATE, Landmarks  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
MARKS = (("start", "cyan"), ("vowel onset", "lime"), ("P-centre (Marcus)", "white"),
         ("P-centre (envelope)", "yellow"), ("end", "cyan"))


def channels(path):
    with wave.open(path) as file:
        frames = np.frombuffer(file.readframes(file.getnframes()), dtype="<i2")
    return frames[0::2].astype(float), frames[1::2].astype(float)


def timing(folder):
    rows = {}
    with open(os.path.join(folder, "timing.txt"), encoding="utf-8") as file:
        for line in file:
            if line.startswith("#") or not line.strip():
                continue
            word, name, side, start, _, end = line.rstrip("\n").split("\t")
            rows.setdefault((name, side), []).append((word, int(start), int(end)))
    return rows


def landmarks(samples, start, end, word):
    """The word's landmarks in samples from the start of the recording."""
    margin = RATE // 100
    first = max(0, start - margin)
    marks = Landmarks(samples[first:end + margin], word)
    return {"start": first + marks.start, "vowel onset": first + marks.vowel,
            "P-centre (Marcus)": first + marks.marcus(),
            "P-centre (envelope)": first + marks.envelope_centre(), "end": first + marks.end}


def draw(name, folder, out_folder, rows):
    left, right = channels(os.path.join(folder, name))
    pairs = len(rows[(name, "left")])
    figure, axes = plt.subplots(2, pairs, figsize=(4.5 * pairs, 7), squeeze=False)
    for k in range(pairs):
        measured = []
        for axis, samples, side in ((axes[0][k], left, "left"), (axes[1][k], right, "right")):
            word, start, end = rows[(name, side)][k]
            marks = landmarks(samples, start, end, word)
            measured.append(marks)
            axis.specgram(samples, NFFT=512, Fs=RATE, noverlap=512 - 48, cmap="magma", vmin=-20)
            axis.set_ylim(0, 8000)
            for mark, colour in MARKS:
                axis.axvline(marks[mark] / RATE, color=colour, linewidth=0.8)
            axis.set_title(f"{side}: {word}", fontsize=10)
        a, b = measured
        low = min(a["start"], b["start"]) / RATE - 0.03
        high = max(a["end"], b["end"]) / RATE + 0.03
        for axis in (axes[0][k], axes[1][k]):
            axis.set_xlim(low, high)
        gaps = "\n".join(f"{mark}: {(a[mark] - b[mark]) * 1000 / RATE:+.1f} ms" for mark, _ in MARKS)
        axes[1][k].set_xlabel(gaps, fontsize=8)
    figure.suptitle(f"{name}: start and end cyan, vowel onset green, P-centre by Marcus's rule white, "
                    "by the envelope yellow; gaps left minus right", fontsize=10)
    figure.tight_layout()
    figure.savefig(os.path.join(out_folder, name.replace(".wav", ".png")), dpi=60,
                   metadata={"Software": None})
    plt.close(figure)


def main(folder, out_folder):
    os.makedirs(out_folder, exist_ok=True)
    rows = timing(folder)
    for name in sorted({name for name, _ in rows}, key=lambda n: int(n.split(".")[0])):
        draw(name, folder, out_folder, rows)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "..", "sound"),
         sys.argv[2] if len(sys.argv) > 2 else os.path.join(HERE, "..", "..", "docs", "recordings"))
