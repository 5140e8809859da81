#!/usr/bin/env bash
# Writes the example game's music, examples/arena/data/sound/music.ogg: the eight-second loop that
# the artwork generator makes as a WAV (tools/artwork, arena.cpp), encoded by the Vorbis tools'
# encoder (vorbis-tools) at a low quality, as a game's music loop needs no more. Encoders round
# differently from machine to machine, so the Ogg is made here, not by the generator's regenerate
# target, whose files the artwork test holds the committed ones to. Commit the file it writes.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

cmake -S "$root/tools/artwork" -B "$scratch/build" >/dev/null
cmake --build "$scratch/build" --target artwork >/dev/null
"$scratch/build/artwork" --arena-music "$scratch/music.wav"
mkdir -p "$root/examples/arena/data/sound"
oggenc -Q -q 0 -o "$root/examples/arena/data/sound/music.ogg" "$scratch/music.wav"
