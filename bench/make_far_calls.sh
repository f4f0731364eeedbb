#!/usr/bin/env bash
# bench/make_far_calls.sh DIR [FILLER] [CALLS]: writes far_calls.{rot,lua,tcl,py,sh}
# into DIR. Each calls a subroutine CALLS times (default 1000) whose
# definition stands FILLER comment lines (default 2000) below the call site;
# the subroutine adds 1 to a counter and the program prints the counter.
# Generated at benchmark time so the repository keeps no 2000-line files.
set -euo pipefail
dir=$1
filler=${2:-2000}
calls=${3:-1000}
mkdir -p "$dir"

# filler PREFIX: FILLER comment lines starting with PREFIX.
filler() { awk -v n="$filler" -v p="$1" 'BEGIN { for (i = 1; i <= n; i++) print p " linha de enchimento " i }'; }

{
  cat <<ROT
* $calls calls of a subroutine $filler lines below the call site.
SEJA n 0
REPETE i $calls
CHAMA @sub
FIM REPETE
ESCREVE n
TERMINA
ROT
  filler '*'
  cat <<'ROT'
@sub
SOMA n 1
RETORNA
ROT
} > "$dir/far_calls.rot"

# The peers need their subroutine defined before the first call runs, so the
# calling loop sits in a function defined first and started on the last line.
{
  cat <<LUA
n = 0
function main()
  for i = 1, $calls do
    sub()
  end
  print(n)
end
LUA
  filler '--'
  cat <<'LUA'
function sub()
  n = n + 1
end
main()
LUA
} > "$dir/far_calls.lua"

{
  cat <<TCL
set n 0
proc main {} {
  for {set i 0} {\$i < $calls} {incr i} {
    sub
  }
  puts \$::n
}
TCL
  filler '#'
  cat <<'TCL'
proc sub {} {
  incr ::n
}
main
TCL
} > "$dir/far_calls.tcl"

{
  cat <<PY
n = 0
def main():
    for i in range($calls):
        sub()
    print(n)
PY
  filler '#'
  cat <<'PY'
def sub():
    global n
    n += 1
main()
PY
} > "$dir/far_calls.py"

{
  cat <<SH
#!/usr/bin/env bash
n=0
main() {
  for (( i = 0; i < $calls; i++ )); do
    sub
  done
  echo "\$n"
}
SH
  filler '#'
  cat <<'SH'
sub() {
  (( n += 1 ))
}
main
SH
} > "$dir/far_calls.sh"
