#!/usr/bin/env bash
# Speaks every line of a dictation list with espeak-ng in two voices at two speeds, as 22.05 kHz WAV files
# named <line>-<voice>-<words per minute>.wav, then touches <folder>/done.
# Usage: make-corpus.sh <dictations.txt> <folder>
set -euo pipefail
list=$1
folder=$2
mkdir -p "$folder"
rm -f "$folder"/*.wav "$folder/done"
# The Klatt voices: the default ones are heard so poorly by the recognizer that settings make no difference.
voices=("a en-us+klatt 45" "b en-us+klatt4 70")
line=0
while IFS= read -r text || [ -n "$text" ]; do
  line=$((line + 1))
  for voice in "${voices[@]}"; do
    read -r name variant pitch <<<"$voice"
    for speed in 140 175; do
      espeak-ng -v "$variant" -p "$pitch" -s "$speed" -w "$folder/$(printf %02d "$line")-$name-$speed.wav" "$text"
    done
  done
done <"$list"
touch "$folder/done"
