#!/usr/bin/env bash
# Takes the README's two pictures of the set-up screen (without and with the colour bars) from
# the real program under a private Xvfb. Run after ./build.sh has built build/tavrel-setup.
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
