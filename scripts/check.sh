#!/usr/bin/env bash
# Builds the battery and runs every test suite (offscreen, no display needed),
# checks the Debian package, makes the Windows zip and runs its suites under
# Wine (the first run builds a Qt for Windows into ~/.cache/cogbattery), runs
# the generators' own checks; then the same suites built with
# AddressSanitizer and UndefinedBehaviorSanitizer, and each fuzz target for
# 20,000 inputs.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# The program, its package and the README name no address or institution of
# their own: a study gives its own in the settings file.
if git -C "$top" grep -nI -i -e 'velmora' -e 'Вельмор' -e 'вельмор' -e 'cognitive\.study' -e 'Faculty of Psychology' \
        -e 'Факультет психологии' -- . ':!scripts/check.sh'; then
    echo "An invented address or institution is left (above)." >&2
    exit 1
fi
# One compiler cache for every build below and for every checkout: paths are
# taken relative to the checkout, the build folder's own path is left out of
# what is compared (debug builds would otherwise never match another
# checkout's), and the precompiled headers' dates ignored.
"$top/scripts/install-deps.sh" ccache
export CCACHE_BASEDIR="$top" CCACHE_NOHASHDIR=1 CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
# The Qt source fetch's list, made from a fake apt configuration.
"$top/tests/scripts/source-list.sh"
"$top/scripts/build.sh"
runtime=$(mktemp -d)
chmod 700 "$runtime"
trap 'rm -rf "$runtime"' EXIT
(cd "$top/build" && XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
"$top/scripts/check-package.sh"
"$top/scripts/windows.sh"
# The generators' own checks, built apart from the program.
cmake -S "$top/tools/raven" -B "$top/build-tools/raven" -G Ninja > /dev/null
cmake --build "$top/build-tools/raven" > /dev/null
(cd "$top/build-tools/raven" && XDG_RUNTIME_DIR="$runtime" ctest --output-on-failure)
"$top/scripts/check-sanitized.sh"
"$top/scripts/fuzz.sh" 20000
