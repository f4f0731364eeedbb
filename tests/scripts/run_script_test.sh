#!/usr/bin/env bash
# run_script_test.sh ROTEIRO SCRIPT.rot
# Runs one script through the runtime in a scratch folder and compares what it
# wrote, what it said and how it ended with the files beside the script:
#   NAME.stdin   standard input (optional; none means no input)
#   NAME.args    parameters, one per line (optional)
#   NAME.stdout  expected standard output
#   NAME.speech  expected speech log
#   NAME.exit    expected exit status (optional; 0 when absent)
set -u
roteiro=$1
script=$2
base=${script%.rot}
name=$(basename "$base")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/Tamiral"
printf '[TRADUTOR]\r\nREGISTRODAFALA=%s\r\n' "$work/speech.log" > "$work/config/Tamiral/Tamiral.ini"
cp "$script" "$work/$name.rot"

args=()
if [ -f "$base.args" ]; then mapfile -t args < "$base.args"; fi
input=/dev/null
if [ -f "$base.stdin" ]; then input=$base.stdin; fi

(cd "$work" && XDG_CONFIG_HOME="$work/config" timeout 60 "$roteiro" "$name.rot" "${args[@]}" \
  < "$input" > "$work/stdout" 2> "$work/stderr")
status=$?
touch "$work/speech.log"

failed=0
expected_status=0
if [ -f "$base.exit" ]; then expected_status=$(cat "$base.exit"); fi
if [ "$status" != "$expected_status" ]; then
  echo "exit status $status, expected $expected_status"; cat "$work/stderr"; failed=1
fi
compare() {  # expected-file actual-file label
  if [ -f "$1" ] && ! diff -u "$1" "$2"; then echo "($3 differs)"; failed=1; fi
}
compare "$base.stdout" "$work/stdout" "standard output"
compare "$base.speech" "$work/speech.log" "speech log"
if [ ! -f "$base.stdout" ] && [ ! -f "$base.speech" ]; then echo "no expectations for $name"; failed=1; fi
exit $failed
