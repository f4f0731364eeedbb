#!/usr/bin/env bash
# bench/scripts.sh: times the same small programs in roteiro and in bash,
# Lua 5.4, Tcl and Python 3, and prints the median wall time of each and the
# ratio peer/ours (above 1: we are faster). Checks that every program printed
# the same result. Needs bench/setup.sh. RUNS sets the runs per program
# (default 5); a program whose first run takes over SLOW_MS (default 2000)
# runs only 3 times.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh

runs=${RUNS:-5}
slow_ms=${SLOW_MS:-2000}
python=/usr/bin/python3
[ -x "$python" ] || python=python3
for tool in lua5.4 tclsh "$python" cmake ninja; do
  command -v "$tool" > /dev/null || { echo "missing $tool: run bash bench/setup.sh" >&2; exit 2; }
done

build_roteiro
root=$PWD
roteiro=$root/build-bench/roteiro
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/config"  # empty: no Tamiral.ini, so no speech log is written

# Case list; a case marked pending has no programs yet and is only announced.
cases=(
  "count"
  "build_replace"
  "far_calls"
  "line_count"
)
languages=(ours bash lua tcl python)
declare -A ext=([ours]=rot [bash]=sh [lua]=lua [tcl]=tcl [python]=py)

# run LANGUAGE FILE: runs the program once, output to $work/out. Programs run
# in $work, where line_count finds its data file by a plain name.
run() {
  case $1 in
    ours) XDG_CONFIG_HOME="$work/config" "$roteiro" "$2" < /dev/null > "$work/out" ;;
    bash) bash "$2" < /dev/null > "$work/out" ;;
    lua) lua5.4 "$2" < /dev/null > "$work/out" ;;
    tcl) tclsh "$2" < /dev/null > "$work/out" ;;
    python) "$python" "$2" < /dev/null > "$work/out" ;;
  esac
}

# Microseconds since the epoch, without starting a process.
now_us() { local t=$EPOCHREALTIME; echo "${t/./}"; }

declare -A median result disagree
failed=0
for entry in "${cases[@]}"; do
  name=${entry%%:*}
  [ "$name" = "$entry" ] || continue
  for lang in "${languages[@]}"; do
    file=$(case_file "$name" "${ext[$lang]}" "$work")
    cd "$work"
    times=()
    n=$runs
    for (( r = 1; r <= n; r++ )); do
      start=$(now_us)
      status=0
      run "$lang" "$file" || status=$?
      end=$(now_us)
      times+=($(( end - start )))
      output=$(tr -d '\r' < "$work/out" | sed -e 's/[[:space:]]*$//' -e '/^$/d')
      if [ "$status" -ne 0 ]; then
        echo "!!! FAILED: $name in $lang exited with status $status" >&2
        disagree[$name]+=" $lang exited with status $status"
        failed=1
      fi
      if [ "$r" -eq 1 ]; then
        result[$name,$lang]=$output
        if (( n > 3 && times[0] > slow_ms * 1000 )); then n=3; fi
      elif [ "$output" != "${result[$name,$lang]}" ]; then
        echo "!!! MISMATCH: $name in $lang printed '$output', earlier '${result[$name,$lang]}'" >&2
        disagree[$name]+=" $lang changed its result"
        failed=1
      fi
    done
    cd "$root"
    median[$name,$lang]=$(printf '%s\n' "${times[@]}" | sort -n |
      awk '{ t[NR] = $1 } END { m = NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2; printf "%.1f", m / 1000 }')
  done
  for lang in "${languages[@]}"; do
    if [ "${result[$name,$lang]}" != "${result[$name,ours]}" ]; then
      echo "!!! MISMATCH: $name printed '${result[$name,ours]}' in ours but '${result[$name,$lang]}' in $lang" >&2
      disagree[$name]+=" $lang printed '${result[$name,$lang]}'"
      failed=1
    fi
  done
done

echo "Script benchmark: median wall time in ms (runs: $runs, 3 for programs slower than $slow_ms ms)"
echo "peers: $(bash --version | head -1 | sed 's/ (.*//'); $(lua5.4 -v 2>&1 | cut -d' ' -f1-2); Tcl $(echo 'puts [info patchlevel]' | tclsh); $("$python" --version)"
echo
printf '%-16s %9s %9s %9s %9s %9s | %9s %9s %9s %9s\n' case ours bash lua tcl python bash/ours lua/ours tcl/ours py/ours
ratio() { awk -v p="$1" -v o="$2" 'BEGIN { if (o > 0) printf "%.2f", p / o; else print "-" }'; }
letters=(a b c d e f g h)
for i in "${!cases[@]}"; do
  entry=${cases[$i]}
  name=${entry%%:*}
  if [ "$name" != "$entry" ]; then
    echo "${letters[$i]}: pending - $name: ${entry#*:pending:}"
    continue
  fi
  printf '%-16s' "${letters[$i]} $name"
  for lang in "${languages[@]}"; do printf ' %9s' "${median[$name,$lang]}"; done
  printf ' |'
  for lang in bash lua tcl python; do printf ' %9s' "$(ratio "${median[$name,$lang]}" "${median[$name,ours]}")"; done
  printf '   result %s' "${result[$name,ours]}"
  if [ -n "${disagree[$name]:-}" ]; then printf '   !!! WRONG:%s' "${disagree[$name]}"; fi
  echo
done

# goal LABEL LANGUAGE TEST CASES...: met when TEST (an awk condition on our
# median o and the peer's median p) holds on each case.
goal() {
  local label=$1 lang=$2 test=$3 verdict=met detail=""
  shift 3
  for name in "$@"; do
    if [ -n "${disagree[$name]:-}" ]; then verdict="NOT JUDGED ($name went wrong)"; break; fi
    detail+=" $name $(ratio "${median[$name,$lang]}" "${median[$name,ours]}")"
    awk -v o="${median[$name,ours]}" -v p="${median[$name,$lang]}" "BEGIN { exit !($test) }" || verdict="NOT MET"
  done
  printf '  %-46s %-8s (%s/ours:%s)\n' "$label" "$verdict" "$lang" "$detail"
}
ran=()
for entry in "${cases[@]}"; do [ "${entry%%:*}" = "$entry" ] && ran+=("$entry"); done
echo
echo "Goals:"
goal "faster than Python 3 on every case" python "o < p" "${ran[@]}"
goal "at least 20x faster than bash on every case" bash "20 * o <= p" "${ran[@]}"
goal "a and c no slower than 3x Lua 5.4" lua "o <= 3 * p" count far_calls

if [ "$failed" -ne 0 ]; then echo; echo "!!! SOME PROGRAMS FAILED OR DISAGREED (see above)"; exit 1; fi
