#!/usr/bin/env bash
# Writes the seed corpus of the WAV fuzz target, tests/fuzz/corpus/wav: tiny files of each shape the
# sound loader takes (16- and 8-bit, stereo and mono, rates above and below the device's, other
# chunks before and between, an odd chunk and its padding byte). Commit the files it writes.
set -euo pipefail
corpus="$(cd "$(dirname "$0")/.." && pwd)/tests/fuzz/corpus/wav"
mkdir -p "$corpus"

# bytes are built as printf escapes and written once, at the end
le16() { printf '\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)); }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16 & 65535)); }
count() { printf "$1" | wc -c; }
# a chunk: its four-letter name, its length and its bytes, padded to an even length
chunk() {
  local length
  length=$(count "$2")
  printf '%s' "$1"
  le32 "$length"
  printf '%s' "$2"
  if [ $((length % 2)) -eq 1 ]; then printf '\\x00'; fi
}
# the format of PCM samples: channels, bits a sample, frames a second
format() {
  local frame=$(($1 * $2 / 8))
  chunk 'fmt ' "$(le16 1)$(le16 "$1")$(le32 "$3")$(le32 $(($3 * frame)))$(le16 $frame)$(le16 "$2")"
}
# that many sample bytes of a saw
samples() {
  local i
  for ((i = 1; i <= $1; ++i)); do printf '\\x%02x' $((i * 37 & 255)); done
}
# name.wav of the chunks given
wavfile() {
  local body="WAVE$2"
  printf "RIFF$(le32 "$(count "$body")")$body" >"$corpus/$1.wav"
}

wavfile stereo16-44100 "$(format 2 16 44100)$(chunk data "$(samples 32)")"
wavfile mono8-22050-oddlist \
  "$(chunk LIST "$(samples 5)")$(format 1 8 22050)$(chunk data "$(samples 9)")"
wavfile mono16-8000-fact "$(format 1 16 8000)$(chunk fact "$(le32 6)")$(chunk data "$(samples 12)")"
wavfile stereo8-48000 "$(format 2 8 48000)$(chunk data "$(samples 20)")"
