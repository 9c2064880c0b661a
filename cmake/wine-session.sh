#!/usr/bin/env bash
# Opens or closes a Wine test session: wine-session.sh start|stop STATE_DIR
# start: makes the prefix, starts one Xvfb on a free display and a persistent wineserver.
# stop: stops exactly the processes that start recorded, and the prefix's wineserver.
set -euo pipefail
cmd=$1 state=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=wine-env.sh
source "$here/wine-env.sh" "$state"

xvfb_alive() {
  local pid
  pid=$(cat "$state/xvfb.pid" 2>/dev/null) || return 1
  [ -n "$pid" ] && [ -d "/proc/$pid" ] || return 1
  # A dead Xvfb can linger as a zombie: kill -0 would still succeed.
  [ "$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null)" != Z ] || return 1
  [ -S "/tmp/.X11-unix/X$(cat "$state/display")" ]
}

case $cmd in
start)
  wine_prefix_ready
  if ! xvfb_alive; then
    rm -f "$state/display" "$state/xvfb.pid"
    exec 3>"$state/display.tmp"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    echo $! >"$state/xvfb.pid"
    exec 3>&-
    for _ in $(seq 100); do
      [ -s "$state/display.tmp" ] && break
      sleep 0.05
    done
    [ -s "$state/display.tmp" ] || { echo "Xvfb did not start" >&2; exit 1; }
    tr -d '\n' <"$state/display.tmp" >"$state/display"
    rm -f "$state/display.tmp"
  fi
  # A persistent wineserver spares every test program its start-up. Wine's background
  # services (explorer for the virtual desktop, services.exe) start with the first program;
  # Wine: started from a test they would inherit ctest's output pipe and keep that test
  # "running" until its timeout, so start them here, detached from every pipe.
  wineserver -p </dev/null >/dev/null 2>&1 || true
  DISPLAY=":$(cat "$state/display")" wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  echo "display :$(cat "$state/display")"
  ;;
stop)
  wineserver -k </dev/null >/dev/null 2>&1 || true
  if pid=$(cat "$state/xvfb.pid" 2>/dev/null) && [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do [ -d "/proc/$pid" ] || break; sleep 0.05; done
  fi
  rm -f "$state/display" "$state/xvfb.pid"
  ;;
*)
  echo "usage: wine-session.sh start|stop STATE_DIR" >&2
  exit 2
  ;;
esac
