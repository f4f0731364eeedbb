#!/usr/bin/env bash
# Installs on Debian 12 what the benchmarks need beyond tools/setup.sh: the
# peer interpreters the script benchmark compares against, and the profilers
# bench/profile.sh uses. Run as root (or with sudo available). Safe to run again.
set -euo pipefail
packages=(
  build-essential cmake ninja-build
  bash lua5.4 tcl python3
  linux-perf valgrind
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
