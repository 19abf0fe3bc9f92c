#!/usr/bin/env bash
# Builds the battery and runs every test suite (offscreen, no display needed);
# then the same suites built with AddressSanitizer and UndefinedBehaviorSanitizer,
# and each fuzz target for 20,000 inputs.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/build.sh"
runtime=$(mktemp -d)
chmod 700 "$runtime"
trap 'rm -rf "$runtime"' EXIT
(cd "$top/build" && XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
"$top/scripts/check-package.sh"
"$top/scripts/check-sanitized.sh"
"$top/scripts/fuzz.sh" 20000
