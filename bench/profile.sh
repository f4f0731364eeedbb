#!/usr/bin/env bash
# bench/profile.sh CASE: runs roteiro (Release, build-bench) on one case of
# bench/scripts.sh (count, build_replace, far_calls, line_count) under perf
# when the hardware counters work here, else under callgrind, and prints the
# functions that cost the most. Needs bench/setup.sh. TOP sets how many lines
# to show.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh

name=${1:-}
top=${TOP:-30}
case $name in
  count|build_replace|far_calls|line_count) ;;
  *) echo "usage: bash bench/profile.sh count|build_replace|far_calls|line_count" >&2; exit 2 ;;
esac

build_roteiro
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/config"  # empty: no speech log
file=$(case_file "$name" rot "$work")
root=$PWD
roteiro=build-bench/roteiro
cd "$work"  # line_count reads its data file from the working folder

# Virtual machines often lack the counters: perf then says "<not supported>".
if command -v perf > /dev/null && perf stat -e instructions true 2>&1 | grep -q '[0-9] *instructions'; then
  echo "profiler: perf record ($name)"
  XDG_CONFIG_HOME="$work/config" perf record -q -o "$work/perf.data" -- "$root/$roteiro" "$file" < /dev/null > /dev/null
  perf report -i "$work/perf.data" --stdio --no-children --sort symbol 2> /dev/null | grep -v '^#' | grep -v '^$' | head -n "$top"
else
  echo "profiler: valgrind --tool=callgrind ($name; perf has no hardware counters here)"
  XDG_CONFIG_HOME="$work/config" valgrind -q --tool=callgrind --callgrind-out-file="$work/callgrind.out" \
    "$root/$roteiro" "$file" < /dev/null > /dev/null
  # The total, then the functions by their own cost (callees excluded).
  callgrind_annotate --inclusive=no "$work/callgrind.out" 2> /dev/null |
    sed "s# \\[$root/$roteiro\\]##" |
    awk -v top="$top" '/PROGRAM TOTALS/ { print; print "" } /file:function/ { getline; list = 1; next } list && NF && shown++ < top'
fi
