#!/usr/bin/env bash
# Typesets every formulas/NAME.tex into ../../assets/formulas/NAME.png, and
# at twice the resolution into NAME@2x.png for scaled displays.
# A source holds LaTeX for the body of a page and a first line "% frame WxH":
# the typeset formula is centred on a white frame of that size (twice that
# for @2x); an optional second line "% dpi N" sets the resolution.
# Needs: texlive-latex-base, texlive-latex-extra, texlive-fonts-recommended,
# texlive-lang-cyrillic, dvipng, imagemagick.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out="$here/../../assets/formulas"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sources=("$@")
[ ${#sources[@]} -gt 0 ] || sources=("$here"/formulas/*.tex)
for source in "${sources[@]}"; do
    name=$(basename "$source" .tex)
    frame=$(sed -n '1s/^% frame \([0-9]*x[0-9]*\).*/\1/p' "$source")
    [ -n "$frame" ] || { echo "$source: first line must be '% frame WxH'" >&2; exit 1; }
    dpi=$(sed -n '2s/^% dpi \([0-9]*\).*/\1/p' "$source")
    {
        echo '\documentclass[12pt]{article}'
        echo '\usepackage[T2A]{fontenc}\usepackage[utf8]{inputenc}\usepackage[russian]{babel}'
        echo '\usepackage{amsmath}\usepackage{mathptmx}'
        echo '\pagestyle{empty}\begin{document}'
        tail -n +2 "$source"
        echo '\end{document}'
    } > "$work/$name.tex"
    (cd "$work" && latex -interaction=nonstopmode -halt-on-error "$name.tex" > "$name.log") \
        || { cat "$work/$name.log" >&2; exit 1; }
    width=${frame%x*} height=${frame#*x}
    for scale in 1 2; do
        suffix=$([ $scale = 1 ] || echo "@${scale}x")
        dvipng -q -D $((${dpi:-150} * scale)) -T tight -bg White -fg Black -o "$work/$name$suffix.png" "$work/$name.dvi" > /dev/null
        convert "$work/$name$suffix.png" -background white -gravity center -extent $((width * scale))x$((height * scale)) \
            -colorspace Gray -strip -define png:exclude-chunks=date,time "$out/$name$suffix.png"
        echo "$out/$name$suffix.png"
    done
done
