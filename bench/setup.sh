#!/usr/bin/env bash
# Installs on Debian 12 what the benchmarks need beyond the build: the peer
# interpreters the script benchmark compares against, and the profilers
# bench/profile.sh uses. Run as root (or with sudo available). Safe to run again.
set -euo pipefail
exec bash "$(dirname "$0")/../tools/setup.sh" bash lua5.4 tcl python3 linux-perf valgrind
