#!/usr/bin/env bash
# Runs a Windows program under Wine with its arguments; ctest runs the suites
# built for Windows through it (CMAKE_CROSSCOMPILING_EMULATOR). Wine hands a
# program no QT_* variable, so cmd sets inside Wine the two a Qt Test suite
# needs: its messages to standard error rather than to the debugger, and a
# function time-out that allows for Wine's slower timers.
set -euo pipefail
# Wine passes quotes to cmd escaped, which cmd does not undo: the program's
# path is given bare and must hold no blank.
program=$(winepath -w "$1")
shift
case "$program" in *" "*) echo "wine-run: a blank in $program" >&2; exit 2 ;; esac
exec wine cmd /c "set QT_FORCE_STDERR_LOGGING=1&& set QTEST_FUNCTION_TIMEOUT=600000&& $program $*"
