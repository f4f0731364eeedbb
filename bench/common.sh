# shellcheck shell=bash
# Shared by bench/scripts.sh and bench/profile.sh (sourced, not run).

# Builds roteiro in Release in build-bench, apart from the everyday build/.
build_roteiro() {
  cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAMIRAL_TESTS=OFF > /dev/null
  cmake --build build-bench --target roteiro > /dev/null
}

# The script file of CASE in LANGUAGE's extension, generating it first when
# it is made at benchmark time; WORK is a scratch folder.
case_file() {
  local name=$1 ext=$2 work=$3
  if [ "$name" = far_calls ]; then
    [ -f "$work/far_calls.rot" ] || bash bench/make_far_calls.sh "$work"
    echo "$work/far_calls.$ext"
  else
    echo "bench/scripts/$name.$ext"
  fi
}
