#!/usr/bin/env bash
# Makes the pictures of the hand and eye window and of the formula follow-up:
#   tools/handeye/make_pictures.sh
# Draws the poses and the sighting line into assets/handeye/ and typesets the
# expression and its rewriting into assets/formulas/.
# Needs: cmake, a C++ compiler, qt6-base-dev, and what tools/typeset needs.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" > /dev/null
QT_QPA_PLATFORM=offscreen "$build/draw_poses" "$here/../../assets/handeye"
"$here/../typeset/make_formulas.sh" \
    "$here/../typeset/formulas/handeye_expression.tex" "$here/../typeset/formulas/followup_expression.tex"
