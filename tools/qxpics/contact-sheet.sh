#!/usr/bin/env bash
# contact-sheet.sh PICS_DIR OUT.png: every picture below PICS_DIR (the built <build>/pics) enlarged
# 4x with its name, one block per folder, to look over a change to the maps. Needs ImageMagick.
set -euo pipefail
pics=$1
out=$2
paper='#efe6d2'
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
blocks=()
for dir in "$pics"/*/; do
  dir=${dir%/}
  name=$(basename "$dir")
  tiles=()
  for f in "$dir"/*.bmp; do
    [ -e "$f" ] || continue
    n=$(basename "$f" .bmp)
    read -r w h < <(identify -format '%w %h\n' "$f")
    tw=$(( w * 4 + 6 < 140 ? 140 : w * 4 + 6 ))
    # Pixels stay square: -scale repeats them, it does not smooth.
    convert "$f" -scale 400% -bordercolor '#7a6a55' -border 1 -background "$paper" \
      -gravity center -extent "${tw}x$(( h * 4 + 6 ))" \
      -pointsize 12 -fill black label:"$n" -append +repage "$tmp/$name-$n.png"
    tiles+=("$tmp/$name-$n.png")
  done
  [ ${#tiles[@]} -gt 0 ] || continue
  columns=$(( ${#tiles[@]} < 12 ? ${#tiles[@]} : 12 ))
  montage "${tiles[@]}" -tile "${columns}x" -geometry +2+4 -background "$paper" "$tmp/tiles-$name.png"
  convert -background "$paper" -pointsize 16 label:"$name" "$tmp/tiles-$name.png" \
    -gravity west -append +repage "$tmp/block-$name.png"
  blocks+=("$tmp/block-$name.png")
done
convert -background "$paper" "${blocks[@]}" -gravity west -append +repage "$out"
