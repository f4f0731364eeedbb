#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the fuzzer need,
# and any further packages named as arguments (bench/setup.sh uses that).
# Run as root (or with sudo available). Safe to run again.
set -euo pipefail
packages=(
  build-essential cmake ninja-build
  libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
  libasound2-dev
  tmux
  mpv
  libfluidsynth3 timgm6mb-soundfont
  "$@"
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then exit 0; fi
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo=sudo; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
