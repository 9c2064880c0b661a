#!/usr/bin/env bash
# Runs the random send check under libFuzzer for SECONDS seconds (default 60): the send
# command on the simulated desktop against the delivery rules, built with clang and UBSan
# (preset "fuzz"; the same check runs under ASan in the sanitize preset's send_fuzz_test,
# at a third of the speed). The corpus is kept in build/fuzz/corpus between runs; a failing
# input is written to build/fuzz/ and can be replayed with: build/fuzz/tests/fuzz/send_fuzzer FILE
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-60}
bash scripts/setup-linux.sh
if ! command -v clang++ >/dev/null; then
  echo "fuzz: installing clang"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends clang >/dev/null
fi
[ -f build/fuzz/CMakeCache.txt ] || cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null
mkdir -p build/fuzz/corpus
log=build/fuzz/last-run.log
status=0
build/fuzz/tests/fuzz/send_fuzzer -max_total_time="$seconds" -print_final_stats=1 -len_control=20 \
  -artifact_prefix=build/fuzz/ build/fuzz/corpus >"$log" 2>&1 || status=$?
grep -E '^#[0-9]+' "$log" | tail -n 1 || true
grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$log" || true
if [ "$status" -ne 0 ]; then
  grep -vE '^#[0-9]+' "$log" | tail -n 40
  echo "fuzz: a send did not match the rules (log: $log)"
fi
exit "$status"
