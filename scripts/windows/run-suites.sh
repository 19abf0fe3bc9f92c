#!/usr/bin/env bash
# Runs Qt Test suites built for Windows under Wine, one after the other, each
# with a time limit, and names every suite that failed with its output:
#
#   scripts/windows/run-suites.sh BUILD-FOLDER SUITE...
#
# Windows that a suite opens need a display: run it inside xvfb-run. A suite
# named in not-yet-under-wine.txt runs too, but its failure is only reported.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
shift
cd "$build"
not_yet=$(sed -n 's/^\(tst_[a-z0-9_]*\).*/\1/p' "$here/not-yet-under-wine.txt")
failed=()
for suite in "$@"; do
    # A fresh Wine for each suite: a window program started while the Wine
    # of the one before is still winding down gets no windows.
    wineserver -k 2> /dev/null
    wineserver -w
    started=$(date +%s)
    if output=$(timeout 600 "$here/wine-run.sh" "$build/$suite.exe" 2>&1); then
        echo "wine: $suite passed in $(($(date +%s) - started)) s"
    else
        echo "$output" | grep -v -e '^QWARN' -e 'EnableNonClientDpiScaling'
        if grep -qx "$suite" <<< "$not_yet"; then
            echo "wine: $suite failed, not yet run under Wine (scripts/windows/not-yet-under-wine.txt)"
        else
            echo "wine: $suite FAILED"
            failed+=("$suite")
        fi
    fi
done
[ ${#failed[@]} -eq 0 ] || { echo "wine: failed: ${failed[*]}" >&2; exit 1; }
