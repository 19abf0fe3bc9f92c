#!/usr/bin/env bash
# Writes the thirteen recordings of the listening test, ../../sound/1.wav to
# 13.wav, their timing table ../../sound/timing.txt and the headphone check
# ../../sound/headphones.wav, from the voice given (festival, the default;
# espeak; or a folder of one WAV file a word); what they hold is described
# in make_recordings.py. A study that keeps its recordings elsewhere gives
# that folder second.
#
# Needs: python3 with numpy, sox, and the voice: espeak-ng, or festival with
# festvox-ru.
set -euo pipefail
for tool in python3 sox; do
    command -v "$tool" >/dev/null || { echo "make_recordings.sh needs $tool" >&2; exit 1; }
done
here=$(cd "$(dirname "$0")" && pwd)
exec python3 "$here/make_recordings.py" "${1:-festival}" "${2:-$(cd "$here/../.." && pwd)/sound}"
