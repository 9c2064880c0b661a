#!/usr/bin/env bash
# Builds what is missing and starts Kakehashi under Wine beside the practice chat program.
# Without a display (DISPLAY unset) it runs a short demonstration on a private Xvfb instead:
# a picture drawn with characters and one reversed line go through the real windows, the
# practice chat's transcript is printed and a screenshot is saved.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/setup-linux.sh"

build="$root/build/windows"
echo "Building the Windows programs (MinGW-w64)..."
cmake --preset windows -S "$root" >/dev/null
cmake --build "$build" --target kakehashi practice_chat kakehashi_demo -j2 >/dev/null

state="$build/wine"
# shellcheck source=../cmake/wine-env.sh
source "$root/cmake/wine-env.sh" "$state"
echo "Preparing the Wine prefix (the first time takes about 15 s)..."
wine_prefix_ready

tool="$build/src/app/kakehashi.exe"
chat="$build/tools/practice_chat.exe"

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting the practice chat and Kakehashi. Bring the practice chat to the front once,"
  echo "come back, type, and press 送信. Closing Kakehashi closes the practice chat too."
  wine "$chat" </dev/null >/dev/null 2>&1 &
  chat_pid=$!
  trap 'kill "$chat_pid" 2>/dev/null || true' EXIT
  wine "$tool" </dev/null >/dev/null 2>&1 || true
  exit 0
fi

echo "No display: running a short demonstration on Xvfb."
"$root/cmake/wine-session.sh" start "$state" >/dev/null
hold=$(mktemp -d)
demo_pid=
cleanup() {
  touch "$hold/done"
  if [ -n "$demo_pid" ]; then
    for _ in $(seq 100); do kill -0 "$demo_pid" 2>/dev/null || break; sleep 0.1; done
    kill "$demo_pid" 2>/dev/null || true
  fi
  "$root/cmake/wine-session.sh" stop "$state" >/dev/null 2>&1 || true
  rm -rf "$hold"
}
trap cleanup EXIT
export DISPLAY=":$(cat "$state/display")"
wine "$build/tools/kakehashi_demo.exe" --hold "$hold" </dev/null &
demo_pid=$!
for _ in $(seq 600); do
  [ -e "$hold/ready" ] && break
  kill -0 "$demo_pid" 2>/dev/null || break
  sleep 0.1
done
if [ -e "$hold/ready" ]; then
  shot="$build/demo-screenshot.png"
  import -display "$DISPLAY" -window root "$shot"
  echo "Screenshot: $shot"
else
  echo "The demonstration did not finish." >&2
  exit 1
fi
