#!/usr/bin/env bash
# Takes the README's pictures of the set-up screen (without and with the colour bars, showing a
# failed save, and grown on a large screen over sdl12-compat), of the viewer and of the demo,
# from the real programs under private Xvfbs. Run after ./build.sh test has built them.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'kill "${program:-}" "${server:-}" 2>/dev/null; rm -rf "$work"' EXIT

Xvfb :93 -noreset -nolisten tcp -screen 0 640x480x24 >/dev/null 2>&1 &
server=$!
export DISPLAY=:93
sleep 1
cp "$top"/data/font.bmp "$top"/data/tvr.bmp "$work"
(cd "$work" && exec "$top"/build/tavrel-setup) &
program=$!
sleep 2

window=$(xdotool search --name '^Tavrel Setup$' | head -n 1)
shoot() {
  xwd -silent -id "$window" | /usr/bin/convert xwd:- "$top/docs/$1"
}
# park the pointer over the empty lower right, where it shows but covers nothing
xdotool mousemove --window "$window" 600 440
sleep 0.5
shoot setup-screen.png
xdotool keydown t
sleep 0.2
xdotool keyup t
sleep 0.5
shoot setup-screen-colour.png
xdotool key Escape
wait "$program"

# a save that fails: hwconfig.cfg is a folder, and the window says so after Escape
mkdir -p "$work/failing/hwconfig.cfg"
cp "$top"/data/font.bmp "$work/failing"
(cd "$work/failing" && exec "$top"/build/tavrel-setup 2>/dev/null) &
program=$!
sleep 2
window=$(xdotool search --name '^Tavrel Setup$' | head -n 1)
xdotool mousemove --window "$window" 520 400
xdotool key Escape
sleep 1
shoot save-failure.png
xdotool key space
wait "$program" || :

# the set-up window on a 3840x2160 screen over sdl12-compat, grown to fit it
Xvfb :94 -noreset -nolisten tcp -screen 0 3840x2160x24 >/dev/null 2>&1 &
large=$!
trap 'kill "${program:-}" "${server:-}" "${large:-}" 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
compat=$(dirname "$(dpkg -L libsdl1.2-compat | grep '/libSDL-1.2.so.0$')")
(cd "$work" && DISPLAY=:94 LD_LIBRARY_PATH=$compat exec "$top"/build/tavrel-setup) &
program=$!
sleep 2
window=$(DISPLAY=:94 xdotool search --name '^Tavrel Setup$' | head -n 1)
DISPLAY=:94 xdotool mousemove --window "$window" 1800 1320
sleep 0.5
DISPLAY=:94 xwd -silent -id "$window" | /usr/bin/convert xwd:- "$top/docs/setup-screen-scaled.png"
DISPLAY=:94 xdotool key Escape
wait "$program"
kill "$large"

# the viewer, in a game folder of a few textures made here
mkdir -p "$work/game/texture"
convert=/usr/bin/convert
"$convert" -size 128x128 tile:pattern:bricks +level-colors '#6b6b6b','#b5533c' "$work/game/texture/bricks.bmp"
"$convert" -size 128x128 -seed 4 plasma:green-olive -blur 0x1 "$work/game/texture/grass.tga"
"$convert" -size 64x64 gradient:skyblue-navy "$work/game/texture/sky.tga"
"$convert" -size 128x64 -seed 7 plasma:grey-white "$work/game/texture/stone.bmp"
"$top"/build/tavrel-viewer "$work/game" &
program=$!
sleep 2
window=$(xdotool search --name '^Tavrel Viewer$' | head -n 1)
xdotool mousemove --window "$window" 200 400
for key in Return; do
  xdotool keydown "$key"
  sleep 0.2
  xdotool keyup "$key"
done
sleep 3  # a little of the floor's turn
shoot viewer.png
xdotool key Escape

# the demo, in a game folder whose player chose warm yellow text in the set-up utility: a
# hwconfig.cfg as it stores it, 640x480 in a window, the mouse unlocked, the text red 1.0, green
# 0.85, blue 0.3 and every other field 0; one gem is collected on the way to the picture
mkdir -p "$work/demo"
le32() {
  local byte
  for shift in 0 8 16 24; do
    printf -v byte '%02x' $(($1 >> shift & 255))
    printf "\\x$byte"
  done
}
{
  for field in 4 640 480 16 0 0 1 0 1 1 0x3f800000 0x3f59999a 0x3e99999a 0; do le32 "$field"; done
  head -c 388 /dev/zero  # the material colours and the editor's move mode
} >"$work/demo/hwconfig.cfg"
"$top"/build/tavrel-demo "$work/demo" &
program=$!
sleep 2
window=$(xdotool search --name '^Tavrel Demo$' | head -n 1)
hold() {
  xdotool keydown "$1"
  sleep "$2"
  xdotool keyup "$1"
}
hold a 0.6   # to the left, then ahead into the yellow gem
hold w 1.2
hold Right 0.15
sleep 0.5
shoot demo.png
xdotool key Escape
wait "$program"
