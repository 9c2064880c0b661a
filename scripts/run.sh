#!/usr/bin/env bash
# Builds what is missing and starts Kakehashi under Wine beside the practice chat program.
# Usage: scripts/run.sh
# Without a display (DISPLAY unset) it runs a short demonstration on a private Xvfb instead:
# a picture drawn with characters and one reversed line go through the real windows, the
# practice chat's transcript is printed and a screenshot is saved.
set -euo pipefail
if [ $# -gt 0 ]; then
  echo "usage: scripts/run.sh" >&2
  exit 2
fi
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/setup-linux.sh"

build="$root/build/windows"

# Shows make's percentage on one line while a terminal watches; reads the output away otherwise.
progress() {
  if [ -t 1 ]; then
    local line
    while IFS= read -r line; do
      if [[ $line =~ ^\[\ *([0-9]+)%\] ]]; then printf '\r  %s%%' "${BASH_REMATCH[1]}"; fi
    done
    printf '\r      \r'
  else
    cat >/dev/null
  fi
}

# build_targets TARGET...: builds them; on failure prints the build's output and stops.
build_targets() {
  local log
  log=$(mktemp)
  if ! cmake --build "$build" --target "$@" -j2 2>&1 | tee "$log" | progress; then
    cat "$log" >&2
    rm -f "$log"
    echo "The build failed." >&2
    exit 1
  fi
  rm -f "$log"
}

if [ ! -f "$build/CMakeCache.txt" ]; then
  echo "Configuring the Windows cross build in build/windows (once, about 10 s)..."
  cmake --preset windows -S "$root" >/dev/null
fi
targets=(kakehashi practice_chat kakehashi_demo)
if [ -f "$build/src/app/kakehashi.exe" ]; then
  echo "Bringing the Windows programs up to date..."
else
  echo "Building the Windows programs with MinGW-w64 (the first time takes about a minute)..."
fi
build_targets "${targets[@]}"

state="$build/wine"
# shellcheck source=../cmake/wine-env.sh
source "$root/cmake/wine-env.sh" "$state"
if [ ! -f "$WINEPREFIX/.kakehashi-ready" ]; then
  echo "Preparing a Wine prefix for Kakehashi in build/windows/wine (once, about 15 s)..."
fi
wine_prefix_ready

tool="$build/src/app/kakehashi.exe"
chat="$build/tools/practice_chat.exe"

if [ -n "${DISPLAY:-}" ]; then
  # The prefix shows every window inside one 1280x1024 Wine desktop window. Kakehashi opens in
  # its middle (about x 470-810, y 330-695); the practice chat's two old windows go left and
  # right of it and today's chat below the right one, so that nothing covers their input boxes
  # and send buttons.
  cat <<'EOF'
Kakehashi opens in the middle of a 1280x1024 Wine desktop window, between the practice chat's
windows: an old chat inside a browser window (left), a Messenger conversation window (right)
and, below it, 今のチャット, which stands in for a chat program of today.
To try the old chats: bring one to the front (click it), come back to Kakehashi, choose
複数行を1行ずつ送信 or tick 送信と同時に発言, type, and press 送信.
To try today's chats: choose 前面のウィンドウ（キー入力） in the menu 送信先, click 今のチャット
once, come back to Kakehashi, type, and press 送信: Kakehashi types into it and comes back.
The text arrives in that window's log. Closing Kakehashi closes the practice chat too.
EOF
  wine "$chat" --chat-rect=8,40,456,640 --messenger-rect=816,40,456,420 --today-rect=816,470,456,420 </dev/null >/dev/null 2>&1 &
  chat_pid=$!
  trap 'kill "$chat_pid" 2>/dev/null || true' EXIT
  wine "$tool" </dev/null >/dev/null 2>&1 &
  tool_pid=$!
  # Kakehashi in front, the focus in its message box, once the practice chat's windows are up.
  wine "$build/tools/kakehashi_demo.exe" --front </dev/null >/dev/null 2>&1 || true
  echo "Kakehashi is ready; this terminal waits until it closes."
  wait "$tool_pid" || true
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
