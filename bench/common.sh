# shellcheck shell=bash
# Shared by bench/scripts.sh and bench/profile.sh (sourced, not run).

# Builds roteiro in Release in build-bench, apart from the everyday build/.
build_roteiro() {
  cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAMIRAL_TESTS=OFF > /dev/null
  cmake --build build-bench --target roteiro > /dev/null
}

# The absolute path of the script file of CASE in LANGUAGE's extension,
# generating it (or its data) first when made at benchmark time. WORK is a
# scratch folder, and the working folder the programs run in.
case_file() {
  local name=$1 ext=$2 work=$3
  case $name in
    far_calls)
      [ -f "$work/far_calls.rot" ] || bash bench/make_far_calls.sh "$work"
      echo "$work/far_calls.$ext"
      ;;
    line_count)
      [ -f "$work/dados.txt" ] || line_data > "$work/dados.txt"
      echo "$PWD/bench/scripts/$name.$ext"
      ;;
    *) echo "$PWD/bench/scripts/$name.$ext" ;;
  esac
}

# The data of line_count: 100 000 LF-ended lines, "agulha" in every 7th
# (14 285 lines); every 5th holds a near miss, "agulh" alone. Made at
# benchmark time so the repository keeps no 7 MB file.
line_data() {
  awk 'BEGIN {
    for (i = 1; i <= 100000; i++) {
      line = "linha " i " palheiro de feno seco, palha miuda e poeira do celeiro"
      if (i % 5 == 0) line = line " agulh"
      if (i % 7 == 0) line = line " agulha"
      print line
    }
  }'
}
