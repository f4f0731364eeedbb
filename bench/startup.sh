#!/usr/bin/env bash
# bench/startup.sh [ROTEIRO] [RUNS]: start-up time of roteiro on an empty
# script (start, run nothing, announce the end, exit); prints the median and
# the spread of RUNS runs in milliseconds.
set -euo pipefail
roteiro=${1:-build/roteiro}
runs=${2:-51}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: > "$work/vazio.rot"
times=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  XDG_CONFIG_HOME="$work" "$roteiro" "$work/vazio.rot" < /dev/null > /dev/null
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000 )))
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(echo "$sorted" | sed -n "$(( (runs + 1) / 2 ))p")
fastest=$(echo "$sorted" | head -1)
slowest=$(echo "$sorted" | tail -1)
awk -v m="$median" -v f="$fastest" -v s="$slowest" -v n="$runs" \
  'BEGIN { printf "roteiro start-up on an empty script, %d runs: median %.2f ms (fastest %.2f, slowest %.2f)\n", n, m/1000, f/1000, s/1000 }'
