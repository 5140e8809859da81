#!/usr/bin/env bash
# Writes the seed corpus of the Ogg Vorbis fuzz target, tests/fuzz/corpus/ogg: tiny files made by
# the Vorbis tools' encoder (vorbis-tools) of each shape the sound loader takes: stereo and mono,
# at the device's rate and below and above it, and one too short to hold a whole block. Commit the
# files it writes.
set -euo pipefail
corpus="$(cd "$(dirname "$0")/.." && pwd)/tests/fuzz/corpus/ogg"
mkdir -p "$corpus"

# frames 16-bit frames of a saw on the channels given, at rate, as name.ogg
oggfile() {
  local name=$1 channels=$2 rate=$3 frames=$4 i
  for ((i = 0; i < frames * channels; ++i)); do printf '\\x%02x\\x%02x' $((i * 37 & 255)) $((i >> 2 & 63))
  done | xargs -0 printf | oggenc -Q -r -B 16 -C "$channels" -R "$rate" -q 0 -o "$corpus/$name.ogg" -
}

oggfile stereo-44100 2 44100 2000
oggfile mono-22050 1 22050 1500
oggfile stereo-48000 2 48000 600
oggfile mono-8000-short 1 8000 10
