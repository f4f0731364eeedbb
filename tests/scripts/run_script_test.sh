#!/usr/bin/env bash
# run_script_test.sh ROTEIRO SCRIPT.rot
# Runs one script through the runtime in a scratch folder and compares what it
# wrote, what it said and how it ended with the files beside the script:
#   NAME.stdin   standard input (optional; none means no input)
#   NAME.args    parameters, one per line (optional)
#   NAME.stdout  expected standard output
#   NAME.speech  expected speech log
#   NAME.exit    expected exit status (optional; 0 when absent)
#   NAME.ini     lines added to the generated Tamiral.ini (optional); "@/"
#                becomes the scratch folder and "@src/" the source tree
#   NAME.setup   bash run in the scratch folder before the script (optional)
#   NAME.check   bash run in the scratch folder after it; failing fails the
#                test (optional). Both see the source tree as $SRC.
set -u
roteiro=$1
script=$2
base=${script%.rot}
name=$(basename "$base")
src=$(cd "$(dirname "$script")/../.." && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/Tamiral"
printf '[TRADUTOR]\r\nREGISTRODAFALA=%s\r\n' "$work/speech.log" > "$work/config/Tamiral/Tamiral.ini"
if [ -f "$base.ini" ]; then
  while IFS= read -r line || [ -n "$line" ]; do
    line=${line//@src\//$src/}
    printf '%s\r\n' "${line//@\//$work/}"
  done < "$base.ini" >> "$work/config/Tamiral/Tamiral.ini"
fi
cp "$script" "$work/$name.rot"
if [ -f "$base.setup" ] && ! (cd "$work" && SRC=$src bash "$base.setup"); then
  echo "set-up of $name failed"; exit 1
fi

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
if [ -f "$base.check" ] && ! (cd "$work" && SRC=$src bash "$base.check"); then
  echo "(check of $name failed)"; failed=1
fi
if [ ! -f "$base.stdout" ] && [ ! -f "$base.speech" ]; then echo "no expectations for $name"; failed=1; fi
exit $failed
