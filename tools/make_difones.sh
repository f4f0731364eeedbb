#!/usr/bin/env bash
# Regenerates the voice's unit database, data/difones/DIFONES2.IND and .DIF,
# and its inventory data/difones/units.tsv, with espeak-ng's Brazilian voice,
# and checks that a second run gives the same bytes. Debian 12, as root (or
# with sudo). The bytes depend on the espeak-ng version, so the outputs are
# committed rather than made at build time.
set -euo pipefail
cd "$(dirname "$0")/.."

# The project's own build set-up, with the voice.
bash tools/setup.sh espeak-ng libespeak-ng-dev

build=build-difones
cmake -S . -B "$build" -G Ninja -DTAMIRAL_TESTS=OFF > /dev/null
cmake --build "$build" --target unit_inventory unitcut

first=$build/difones-first
second=$build/difones-second
rm -rf "$first" "$second"
mkdir -p "$first" "$second"
start=$(date +%s.%N)
"$build/unit_inventory" > "$first/units.tsv"
"$build/unitcut" "$first/units.tsv" "$first"
end=$(date +%s.%N)
"$build/unit_inventory" > "$second/units.tsv"
"$build/unitcut" "$second/units.tsv" "$second"
if ! diff -r "$first" "$second" > /dev/null; then
  echo "make_difones: two runs gave different bytes" >&2
  exit 1
fi

cp "$first"/units.tsv "$first"/DIFONES2.IND "$first"/DIFONES2.DIF data/difones/
units=$(grep -vc '^#' data/difones/units.tsv)
bytes=$(( $(stat -c %s data/difones/DIFONES2.IND) + $(stat -c %s data/difones/DIFONES2.DIF) ))
printf 'make_difones: %d units, %d bytes, generated in %.2f s with %s; a second run was identical\n' \
  "$units" "$bytes" "$(awk "BEGIN { print $end - $start }")" "espeak-ng $(espeak-ng --version | awk '{ print $4 }')"
