#!/usr/bin/env bash
# Regenerates the letters folder, data/letras/*.wav, from data/letras/items.tsv
# with espeak-ng's Brazilian voice, and checks that a second run gives the same
# bytes. Debian 12, as root (or with sudo). The bytes depend on the espeak-ng
# version, so the outputs are committed rather than made at build time.
set -euo pipefail
cd "$(dirname "$0")/.."

# The project's own build set-up, with the voice.
bash tools/setup.sh espeak-ng libespeak-ng-dev

build=build-letters
cmake -S . -B "$build" -G Ninja -DTAMIRAL_TESTS=OFF > /dev/null
cmake --build "$build" --target lettersgen

first=$build/letras-first
second=$build/letras-second
rm -rf "$first" "$second"
mkdir -p "$first" "$second"
start=$(date +%s.%N)
"$build/lettersgen" data/letras/items.tsv "$first"
end=$(date +%s.%N)
"$build/lettersgen" data/letras/items.tsv "$second"
if ! diff -r "$first" "$second" > /dev/null; then
  echo "make_letters: two runs gave different bytes" >&2
  exit 1
fi

# Replace the whole set, so items dropped from the list leave no files behind.
find data/letras -maxdepth 1 -name '*.wav' -delete
cp "$first"/*.wav data/letras/
count=$(find data/letras -maxdepth 1 -name '*.wav' | wc -l)
bytes=$(find data/letras -maxdepth 1 -name '*.wav' -printf '%s\n' | awk '{ total += $1 } END { print total }')
printf 'make_letters: %d files, %d bytes, generated in %.2f s with %s; a second run was identical\n' \
  "$count" "$bytes" "$(awk "BEGIN { print $end - $start }")" "espeak-ng $(espeak-ng --version | awk '{ print $4 }')"
