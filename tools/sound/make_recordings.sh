#!/usr/bin/env bash
# Writes the thirteen recordings of the listening test, ../../sound/1.wav to
# 13.wav, their timing table ../../sound/timing.txt and the headphone check
# ../../sound/headphones.wav; what they hold and how they are checked is
# described in make_recordings.py.
#
# Needs: python3, espeak-ng (Russian voice, and its library libespeak-ng1,
# which reports where each phoneme starts), sox.
set -euo pipefail
for tool in python3 espeak-ng sox; do
    command -v "$tool" >/dev/null || { echo "make_recordings.sh needs $tool" >&2; exit 1; }
done
here=$(cd "$(dirname "$0")" && pwd)
exec python3 "$here/make_recordings.py" "$(cd "$here/../.." && pwd)/sound"
