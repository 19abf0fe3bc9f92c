#!/usr/bin/env bash
# Builds the battery and runs every test suite (offscreen, no display needed).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/build.sh"
runtime=$(mktemp -d)
chmod 700 "$runtime"
trap 'rm -rf "$runtime"' EXIT
cd "$top/build"
XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
