#!/bin/sh
# Draws the tool's five 32 x 32 cursors with ImageMagick and writes them as .cur files with
# their hot spots. Run from this folder; the .cur files are kept in the repository.
set -e
ARROW="polygon 0,0 0,21 5,16 9,24 12,23 8,15 15,15"
draw() {  # name hotx hoty drawing...
  name=$1 hx=$2 hy=$3; shift 3
  convert -size 32x32 xc:none -strokewidth 1 "$@" "PNG32:$name.png"
  convert "$name.png" "ICO:$name.ico"
  # An icon file becomes a cursor file: type 2, and the hot spot in place of planes and bits.
  python3 - "$name.ico" "$name.cur" "$hx" "$hy" <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], 'rb').read())
struct.pack_into('<H', data, 2, 2)
struct.pack_into('<HH', data, 6 + 4, int(sys.argv[3]), int(sys.argv[4]))
open(sys.argv[2], 'wb').write(data)
PY
  rm -f "$name.png" "$name.ico"
}
# Port open: the arrow and a green lamp.
draw port-open 0 0 -fill white -stroke black -draw "$ARROW" -fill '#20c020' -draw "circle 24,24 24,30"
# Send: the arrow and a blue right-pointing triangle.
draw send 0 0 -fill white -stroke black -draw "$ARROW" -fill '#2060ff' -draw "polygon 18,18 30,24 18,30"
# Measurement start: a cross hair with a red centre ring.
draw measure-start 15 15 -stroke black -draw "line 15,0 15,30" -draw "line 0,15 30,15" \
  -stroke white -draw "line 16,0 16,30" -draw "line 0,16 30,16" -fill none -stroke '#e02020' -strokewidth 2 -draw "circle 15,15 15,22"
# Port closed: the arrow and a grey lamp with a bar.
draw port-closed 0 0 -fill white -stroke black -draw "$ARROW" -fill '#a0a0a0' -draw "circle 24,24 24,30" \
  -stroke black -draw "line 20,24 28,24"
# Page tabs: the arrow and a small tab.
draw page-tab 0 0 -fill white -stroke black -draw "$ARROW" -fill '#f0d060' -draw "polygon 16,30 16,21 19,18 26,18 29,21 29,30"
