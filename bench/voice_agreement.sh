#!/usr/bin/env bash
# bench/voice_agreement.sh [EXAMPLES] [held-out]: how often the built-in
# voice's letter rules read a word as espeak-ng's pt-br voice does (phonemes
# and stressed syllable), on 2000 words, with the disagreements grouped by
# kind and EXAMPLES words each (default 6).
#
# The sample, deterministic: every distinct word of bench/voice_sentences.txt
# (common words in running text, in order of first appearance, lower case,
# hyphenated words split, one-letter words left out since espeak-ng reads a
# letter alone by its name), then a regular sample of the Debian word list
# /usr/share/dict/brazilian (package wbrazilian; entries starting in lower
# case, of two letters or more, without "-" or "'", not already taken: every
# k-th one) up to 2000. The rules and exceptions were tuned on that sample;
# "held-out" measures instead 2000 other words of the list, taken halfway
# between those positions, none of them in the first sample.
# Needs espeak-ng and wbrazilian (bench/setup.sh installs both).
set -euo pipefail
cd "$(dirname "$0")/.."
examples=${1:-6}
sample=${2:-tuning}
total=2000
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build-bench --target voice_agreement > /dev/null

python3 - "$total" "$sample" > "$work/words.txt" <<'EOF'
import re, sys
total, sample = int(sys.argv[1]), sys.argv[2]
words, seen = [], set()
def take(word):
    if len(word) > 1 and word not in seen:
        seen.add(word)
        words.append(word)
with open("bench/voice_sentences.txt", encoding="utf-8") as sentences:
    for line in sentences:
        for word in re.findall(r"[^\W\d_]+", line.lower()):
            take(word)
with open("/usr/share/dict/brazilian", encoding="utf-8") as listing:
    candidates = [w.strip() for w in listing
                  if w[:1].islower() and len(w.strip()) > 1 and "-" not in w and "'" not in w]
candidates = [w for w in candidates if w not in seen]
need = total - len(words)
step = len(candidates) / need
for i in range(need):
    take(candidates[int(i * step)])
if sample == "held-out":
    rest = [w for w in candidates if w not in seen]
    step = len(rest) / total
    words = [rest[int((i + 0.5) * step)] for i in range(total)]
for word in words[:total]:
    print(word)
EOF

# One sentence a line, so espeak-ng answers one line a word.
sed 's/$/./' "$work/words.txt" | espeak-ng -v pt-br -x -q > "$work/espeak.txt"
if [ "$(wc -l < "$work/words.txt")" -ne "$(wc -l < "$work/espeak.txt")" ]; then
  echo "espeak-ng gave $(wc -l < "$work/espeak.txt") lines for $(wc -l < "$work/words.txt") words" >&2
  exit 1
fi
paste "$work/words.txt" <(sed 's/^ *//' "$work/espeak.txt") > "$work/pairs.tsv"
build-bench/voice_agreement data/difones/nregras.rgr data/difones/nportug.exc "$work/pairs.tsv" "$examples"
