#!/usr/bin/env bash
# Lays screenshots of the game's screens side by side, before and after a
# change of their look, into one sheet:
#
#   tools/look/before-after.sh SHOTS OUT.png
#
# SHOTS holds pairs NAME-before.png / NAME-after.png (800 x 600 window shots,
# taken with the same steps on the old and the new build); each pair becomes a
# row, the old screen on the left, labelled with NAME. Pairs are taken in the
# order of their names; a leading number and dash ("03-lobby") orders them and
# is left out of the label. Needs ImageMagick (apt-get install imagemagick).
set -euo pipefail
shots=${1:?the folder of NAME-before.png / NAME-after.png pairs}
out=${2:?the sheet to write}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rows=()
for before in "$shots"/*-before.png; do
    name=$(basename "$before" -before.png)
    after="$shots/$name-after.png"
    [[ -f "$after" ]] || continue
    label=$(sed -E 's/^[0-9]+-//' <<<"$name")
    for side in before after; do
        convert "$shots/$name-$side.png" -resize 400x300 -background '#2B0E07' -gravity north \
            -extent 400x322 -fill '#FFF4DC' -font DejaVu-Sans -pointsize 14 -gravity south \
            -annotate +0+3 "$label: $side" "$work/$name-$side.png"
    done
    convert "$work/$name-before.png" "$work/$name-after.png" -background '#2B0E07' \
        -splice 8x0 +append "$work/row-$name.png"
    rows+=("$work/row-$name.png")
done
if [[ ${#rows[@]} -eq 0 ]]; then
    echo "no NAME-before.png / NAME-after.png pairs in $shots" >&2
    exit 1
fi
# Two pairs to a line, so the sheet stays about as wide as a screen pair.
lines=()
for ((k = 0; k < ${#rows[@]}; k += 2)); do
    line="$work/line-$k.png"
    if ((k + 1 < ${#rows[@]})); then
        convert "${rows[k]}" "${rows[k + 1]}" -background '#2B0E07' -splice 16x0 +append "$line"
    else
        cp "${rows[k]}" "$line"
    fi
    lines+=("$line")
done
convert "${lines[@]}" -background '#2B0E07' -splice 0x8 -append \
    -bordercolor '#2B0E07' -border 8 -quality 82 "$out"
echo "$out: ${#rows[@]} pairs"
