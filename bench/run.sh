#!/usr/bin/env bash
# Builds the Windows programs and runs the benchmarks under Wine on a private Xvfb display.
set -euo pipefail
usage="usage: bench/run.sh [keys|paste|posting|chat|poll|start-up|size ...] [--quick] [--poll-span MS]   (no names: all; MS default 30000)"
names=(keys paste posting chat poll start-up size --quick)
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
  a=${args[i]}
  problem=
  if [ "$a" = --poll-span ]; then
    i=$((i + 1))
    [[ ${args[i]:-} =~ ^[1-9][0-9]*$ ]] || problem="--poll-span needs a number of milliseconds"
  elif [[ " ${names[*]} " != *" $a "* ]]; then
    problem="unknown argument '$a'"
  fi
  if [ -n "$problem" ]; then
    echo "bench/run.sh: $problem" >&2
    echo "$usage" >&2
    exit 2
  fi
done
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/setup-linux.sh"
build="$root/build/windows"
cmake --preset windows -S "$root" >/dev/null
cmake --build "$build" --target bench_driver -j2 >/dev/null
state="$build/wine"
"$root/cmake/wine-session.sh" start "$state" >/dev/null
trap '"$root/cmake/wine-session.sh" stop "$state" >/dev/null' EXIT
load=$(cut -d' ' -f1 /proc/loadavg)
if awk -v l="$load" 'BEGIN { exit !(l > 1.0) }'; then
  echo "warning: load average $load at the start (above 1.0): other work shares the machine, the figures will be noisy and the ratios lower than on an idle machine"
fi
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(date -u +%Y-%m-%d)"
"$root/cmake/wine-run.sh" "$state" "$build/bench/bench_driver.exe" "$@"
