#!/usr/bin/env bash
# Builds the item generator and writes the fifteen matrix items to
# ../../assets/raven/item01.jpg ... item15.jpg, and at twice the size as
# item01@2x.jpg ... item15@2x.jpg. The generator refuses to write
# anything when an item fails its checks.
# Needs: qt6-base-dev, cmake, a C++20 compiler, fonts-liberation2.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out="$here/../../assets/raven"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake -S "$here" -B "$work" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$work" > /dev/null
"$work/raven-items" "$out"
