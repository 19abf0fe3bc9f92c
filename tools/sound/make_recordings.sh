#!/usr/bin/env bash
# Writes the thirteen recordings of the listening test, ../../sound/1.wav to
# 13.wav, from the word tables of the program (src/forms/DichoticWords.cpp).
#
# Each file is stereo, 16 kHz, 16-bit PCM: the channel-A words on the left,
# the channel-B words on the right, in table order and paired A1 with B1 and
# so on. Both words of a pair start on the same sample, every word is brought
# to the same RMS level, and pair onsets are 1.5 s apart after a 0.5 s lead.
# Each file ends with 0.75 s of silence after its last word, since a player
# may drop the last 150 ms. The channels are built apart and only merged, so
# nothing of one reaches the other. tests/tst_dichotic_recordings checks the
# files against these bounds.
#
# Needs: espeak-ng (Russian voice), sox, g++, pkg-config and Qt 6 Core headers.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out="$root/sound"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rate=16000
lead=$((rate / 2))         # silence before the first pair
slot=$((rate * 3 / 2))     # pair onset to pair onset
tail=$((rate * 3 / 4))     # silence after the last word
target_rms=-23             # dBFS over the voiced part of every word
threshold=0.3%             # where a word begins and ends

g++ -std=c++20 -fPIC -I"$root/src" "$here/print_words.cpp" "$root/src/forms/DichoticWords.cpp" \
    $(pkg-config --cflags --libs Qt6Core) -o "$work/print_words"
"$work/print_words" > "$work/words.txt"
[ "$(wc -l < "$work/words.txt")" -eq 104 ] || { echo "expected 104 words" >&2; exit 1; }

stat() { sox "$1" -n stats 2>&1 | awk -v key="$2" '$0 ~ key { print $NF }'; }

# One word, spoken, resampled, trimmed to its first and last audible sample
# and brought to the target level.
speak() {
    local word=$1 file=$2
    espeak-ng -v ru -s 140 -w "$work/raw.wav" "$word"
    sox -D "$work/raw.wav" -r $rate -b 16 -c 1 "$work/trim.wav" \
        silence 1 1s $threshold reverse silence 1 1s $threshold reverse
    local rms gain
    rms=$(stat "$work/trim.wav" 'RMS lev dB')
    gain=$(awk -v t=$target_rms -v r="$rms" 'BEGIN { printf "%.3f", t - r }')
    sox -D "$work/trim.wav" "$file" gain "$gain"
    local peak
    peak=$(stat "$file" 'Pk lev dB')
    awk -v p="$peak" 'BEGIN { exit !(p < -0.5) }' || { echo "$word clips ($peak dB)" >&2; exit 1; }
}

samples() { soxi -s "$1"; }

mkdir -p "$out"
for recording in $(seq 1 13); do
    mapfile -t a < <(awk -v n="$recording" '$1 == n && $2 == "A" { print $3 }' "$work/words.txt")
    mapfile -t b < <(awk -v n="$recording" '$1 == n && $2 == "B" { print $3 }' "$work/words.txt")
    for i in 0 1 2 3; do
        speak "${a[$i]}" "$work/a$i.wav"
        speak "${b[$i]}" "$work/b$i.wav"
    done
    last=$(( $(samples "$work/a3.wav") > $(samples "$work/b3.wav") ? $(samples "$work/a3.wav") : $(samples "$work/b3.wav") ))
    for side in a b; do
        parts=()
        for i in 0 1 2 3; do
            length=$(samples "$work/$side$i.wav")
            span=$(( i < 3 ? slot : last + tail ))
            [ "$length" -lt "$slot" ] || { echo "word $side$i of $recording too long" >&2; exit 1; }
            before=$(( i == 0 ? lead : 0 ))
            sox -D "$work/$side$i.wav" "$work/${side}p$i.wav" pad "${before}s" "$((span - length))s"
            parts+=("$work/${side}p$i.wav")
        done
        sox -D "${parts[@]}" "$work/$side.wav"
    done
    sox -D -M "$work/a.wav" "$work/b.wav" -b 16 "$out/$recording.wav"
    echo "$out/$recording.wav: ${a[*]} | ${b[*]} ($(soxi -d "$out/$recording.wav"))"
done
