#!/usr/bin/env python3
"""Plays a recording through a program and checks what reaches the sound
server: the left and right channels of the recording each on its own side,
its whole length, and the time from the program's request to the first
sample of the recording.

    hear-recording.py SINK RECORDING.wav COMMAND...

COMMAND plays RECORDING.wav on the server's default output (the null sink
SINK, whose monitor is captured here) and prints "requested at MS", the
moment of its request in milliseconds since 1970. The server is the one of
PULSE_SERVER."""

import array
import re
import subprocess
import sys
import threading
import time
import wave

RATE = 48000


def read_recording(path):
    with wave.open(path, "rb") as recording:
        if recording.getnchannels() != 2 or recording.getsampwidth() != 2 or recording.getframerate() != RATE:
            sys.exit(f"hear-recording: {path} is not 16-bit stereo at {RATE} Hz")
        samples = array.array("h", recording.readframes(recording.getnframes()))
    return samples[0::2], samples[1::2]


class Capture:
    """The monitor of the sink, read as it comes, with the moment each chunk arrived."""

    def __init__(self, sink):
        self.process = subprocess.Popen(
            ["parec", "-d", sink + ".monitor", "--format=s16le", f"--rate={RATE}", "--channels=2",
             "--latency-msec=5", "--raw"], stdout=subprocess.PIPE)
        self.data = bytearray()
        self.first_chunk = None  # (arrival in ms since 1970, frames in it)
        self.thread = threading.Thread(target=self.read)
        self.thread.start()

    def read(self):
        while True:
            chunk = self.process.stdout.read1(4096)
            if not chunk:
                return
            if self.first_chunk is None:
                self.first_chunk = (time.time() * 1000, len(chunk) // 4)
            self.data += chunk

    def stop(self):
        self.process.terminate()
        self.thread.join()
        usable = len(self.data) // 4 * 4
        samples = array.array("h", bytes(self.data[:usable]))
        return samples[0::2], samples[1::2]

    def moment_of(self, frame):
        """When a frame of the capture arrived at the sink, in ms since 1970."""
        arrived, frames = self.first_chunk
        return arrived - frames * 1000 / RATE + frame * 1000 / RATE


def first_sound(channels, threshold):
    for i in range(len(channels[0])):
        if abs(channels[0][i]) > threshold or abs(channels[1][i]) > threshold:
            return i
    return -1


def last_sound(channels, threshold):
    for i in range(len(channels[0]) - 1, -1, -1):
        if abs(channels[0][i]) > threshold or abs(channels[1][i]) > threshold:
            return i
    return -1


def correlation(a, a_from, b, length):
    """Normalised correlation of a[a_from:] and b[:length]."""
    ab = aa = bb = 0
    for i in range(length):
        x = a[a_from + i] if a_from + i < len(a) else 0
        y = b[i]
        ab += x * y
        aa += x * x
        bb += y * y
    return ab / ((aa * bb) ** 0.5) if aa and bb else 0.0


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    sink, path, command = sys.argv[1], sys.argv[2], sys.argv[3:]
    recording = read_recording(path)
    loudest = max(max(map(abs, channel)) for channel in recording)
    threshold = loudest // 100  # 40 dB below the loudest sample
    lead = first_sound(recording, threshold)

    capture = Capture(sink)
    while capture.first_chunk is None and capture.process.poll() is None:
        time.sleep(0.01)
    # The capture runs for longer than the recording's lead-in before the
    # request, so that the recording's first frame is captured.
    time.sleep(lead / RATE + 0.5)
    player = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, errors="replace")
    time.sleep(0.5)
    captured = capture.stop()
    said = re.search(r"requested at (\d+)", player.stdout)
    if player.returncode != 0 or not said:
        print(player.stdout)
        sys.exit(f"hear-recording: the player failed (exit {player.returncode})")
    requested = int(said.group(1))

    start = first_sound(captured, threshold)
    if start < 0:
        sys.exit("hear-recording: only silence reached the sound server")
    # The frame of the capture where the recording's first frame sounded:
    # sound starts where the recording's sound starts, to the sample.
    length = len(recording[0])
    offset = max(range(max(start - lead - 48, 0), start - lead + 49),
                 key=lambda at: correlation(captured[0], at + lead, recording[0][lead:], 4800))
    left, right = recording
    own = [correlation(captured[0], offset, left, length), correlation(captured[1], offset, right, length)]
    crossed = [correlation(captured[0], offset, right, length), correlation(captured[1], offset, left, length)]
    sounding = (last_sound(captured, threshold) - start) * 1000 / RATE
    written = (last_sound(recording, threshold) - lead) * 1000 / RATE
    delay = capture.moment_of(offset) - requested
    print(f"hear-recording: left matches left {own[0]:.4f}, right matches right {own[1]:.4f}; "
          f"left as right {crossed[0]:.4f}, right as left {crossed[1]:.4f}; "
          f"sound for {sounding:.1f} ms of {written:.1f} ms; first sample {delay:.0f} ms after the request")
    problems = []
    if min(own) < 0.99:
        problems.append("a channel is not the recording's own channel")
    if max(crossed) > 0.5:
        problems.append("a channel holds the other channel's words")
    if abs(sounding - written) > 2:
        problems.append("the sound is not the recording's length")
    if problems:
        sys.exit("hear-recording: " + "; ".join(problems))


main()
