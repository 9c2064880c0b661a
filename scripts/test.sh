#!/usr/bin/env bash
# Builds and runs every test: the native build, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the Windows build (unit, UI and end-to-end tests under Wine).
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/setup-linux.sh || exit 1

passed=0 failed=0 status=0
for preset in native sanitize windows; do
  echo "=== $preset ==="
  log=$(mktemp)
  cmake --workflow --preset "$preset" 2>&1 | tee "$log"
  rc=${PIPESTATUS[0]}
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  rm -f "$log"
  if [ -n "$summary" ]; then
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
    passed=$((passed + total - bad)) failed=$((failed + bad))
  elif [ "$rc" -ne 0 ]; then
    echo "$preset: the build failed"
    failed=$((failed + 1))
  fi
  [ "$rc" -eq 0 ] || status=1
done
echo
echo "All builds: $passed passed, $failed failed"
exit $status
