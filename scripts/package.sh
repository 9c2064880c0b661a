#!/usr/bin/env bash
# Makes the ZIP for Windows users: builds kakehashi.exe and practice_chat.exe (nothing else)
# with MinGW-w64 in build/package and packs them with README.txt, LICENSE.txt and the notices
# of the statically linked runtime libraries.
# Usage: scripts/package.sh
set -euo pipefail
if [ $# -gt 0 ]; then
  echo "usage: scripts/package.sh" >&2
  exit 2
fi
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/setup-linux.sh"
cd "$root"
echo "Building kakehashi.exe and practice_chat.exe in build/package (the first time takes about a minute)..."
log=$(mktemp)
if ! cmake --workflow --preset package >"$log" 2>&1; then
  cat "$log" >&2
  rm -f "$log"
  echo "Making the package failed." >&2
  exit 1
fi
rm -f "$log"
zip=$(ls -t "$root"/build/package/kakehashi-*-win64.zip | head -n 1)
echo "Package: ${zip#"$root"/}"
