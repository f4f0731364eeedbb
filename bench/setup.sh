#!/usr/bin/env bash
# Installs on Debian 12 what the benchmarks need beyond the build: the peer
# interpreters the script benchmark compares against, the profilers
# bench/profile.sh uses, and espeak-ng with the Brazilian word list that
# bench/voice_agreement.sh compares the voice's rules against. Run as root
# (or with sudo available). Safe to run again.
set -euo pipefail
exec bash "$(dirname "$0")/../tools/setup.sh" bash lua5.4 tcl python3 linux-perf valgrind espeak-ng wbrazilian
