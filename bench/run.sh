#!/usr/bin/env bash
# Builds the Windows programs and runs the benchmarks under Wine on a private Xvfb display.
# Usage: bench/run.sh [poll-span-ms]   (default 30000)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/setup-linux.sh"
build="$root/build/windows"
cmake --preset windows -S "$root" >/dev/null
cmake --build "$build" --target bench_driver -j2 >/dev/null
state="$build/wine"
"$root/cmake/wine-session.sh" start "$state" >/dev/null
trap '"$root/cmake/wine-session.sh" stop "$state" >/dev/null' EXIT
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(date -u +%Y-%m-%d)"
"$root/cmake/wine-run.sh" "$state" "$build/bench/bench_driver.exe" "$@"
