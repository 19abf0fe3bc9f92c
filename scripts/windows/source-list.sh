#!/usr/bin/env bash
# Writes the source list of the machine's binary archives: every "deb" entry
# of ETC/sources.list and ETC/sources.list.d (one-line or deb822 form) as
# "deb-src", into OUT/sources.list and OUT/sources.list.d. Files apt itself
# would not read (another ending) are left out.
#
#   scripts/windows/source-list.sh ETC OUT
set -euo pipefail
etc=$1
out=$2
mkdir -p "$out/sources.list.d"
# One-line form: "deb [options] URI SUITE COMPONENT..." becomes "deb-src ...".
one_line() { sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$1"; }
# deb822 form: a stanza whose Types hold "deb" is kept, with Types: deb-src.
deb822() {
    awk 'BEGIN { RS = ""; ORS = "" }
         { binary = 0; n = split($0, lines, "\n"); out = ""
           for (i = 1; i <= n; i++) {
               line = lines[i]
               if (tolower(line) ~ /^types:/) {
                   if (line ~ /[[:space:]]deb([[:space:]]|$)/) binary = 1
                   line = "Types: deb-src"
               }
               out = out line "\n"
           }
           if (binary) print out "\n" }' "$1"
}
: > "$out/sources.list"
[ -f "$etc/sources.list" ] && one_line "$etc/sources.list" > "$out/sources.list"
shopt -s nullglob
for list in "$etc"/sources.list.d/*.list; do one_line "$list" > "$out/sources.list.d/$(basename "$list")"; done
for list in "$etc"/sources.list.d/*.sources; do deb822 "$list" > "$out/sources.list.d/$(basename "$list")"; done
if ! grep -rqs -e '^deb-src' -e '^Types: deb-src' "$out/sources.list" "$out/sources.list.d"; then
    echo "source-list: no deb entry in $etc/sources.list or $etc/sources.list.d" >&2
    exit 1
fi
