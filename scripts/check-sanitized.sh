#!/usr/bin/env bash
# Builds every test suite with AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer into build-asan/ and runs them (offscreen, no
# display needed). Any report of either sanitizer fails the suite that made it.
# Unoptimised, with line tables only: the quickest build that still names the
# file and line of each frame in a report.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"

sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S "$top" -B "$top/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O0 -g1" \
    -DCMAKE_CXX_FLAGS="$sanitizers" -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" > /dev/null
# Only the suites, each named as its executable, and what they need (the
# tests that start and stop a server for them are scripts, not targets).
mapfile -t suites < <(ctest --test-dir "$top/build-asan" -N | sed -n 's/^ *Test *#[0-9]*: \(tst_\)/\1/p')
cmake --build "$top/build-asan" --target "${suites[@]}"

runtime=$(mktemp -d)
chmod 700 "$runtime"
trap 'rm -rf "$runtime"' EXIT
cd "$top/build-asan"
export ASAN_OPTIONS=detect_stack_use_after_return=1:check_initialization_order=1:strict_string_checks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
