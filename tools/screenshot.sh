#!/usr/bin/env bash
# Screenshots of kakehashi.exe's three windows under Wine on a private Xvfb display:
#   tools/screenshot.sh BUILD_DIR OUT_DIR [DPI]
# Writes OUT_DIR/main-window.png, help-window.png, about-window.png and desktop.png.
# The Wine prefix lives in BUILD_DIR/wine-shot-DPI (made on first use, ~15 s).
set -euo pipefail
build=$(cd "$1" && pwd); out=$2; dpi=${3:-96}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe="$build/src/app/kakehashi.exe"
mkdir -p "$out"
# shellcheck source=../cmake/wine-env.sh
source "$here/cmake/wine-env.sh" "$build/wine-shot-$dpi"
wine_prefix_ready
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
wineserver -w

exec 3>"$build/wine-shot-$dpi/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb=$!
exec 3>&-
wine_pid=
cleanup() {
  [ -n "$wine_pid" ] && kill "$wine_pid" 2>/dev/null || true
  wineserver -k </dev/null >/dev/null 2>&1 || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$build/wine-shot-$dpi/display" ] && break; sleep 0.05; done
export DISPLAY=":$(tr -d '\n' <"$build/wine-shot-$dpi/display")"

wait_for() {  # wait_for NAME: until a window of that name exists
  for _ in $(seq 150); do xdotool search --name "$1" >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "window '$1' did not appear" >&2; return 1
}
px() { echo $(( ($1 * dpi + 720) / 1440 )); }
# crop FILE LEFT TOP WIDTH HEIGHT (client area in twips): the window with its frame, from
# the desktop picture (top-level windows of Wine's virtual desktop are no X windows).
crop() {
  import -display "$DISPLAY" -window root "$out/desktop.png"
  local m=$(( 8 * dpi / 96 )) t=$(( 52 * dpi / 96 ))
  convert "$out/desktop.png" -crop "$(( $(px "$4") + 2 * m ))x$(( $(px "$5") + t + m ))+$(( $(px "$2") - m ))+$(( $(px "$3") - t ))" +repage "$1"
}
# The main window is centred on the 1280 x 1024 desktop.
main_left=$(( (1280 * 1440 / dpi - 4980) / 2 )) main_top=$(( (1024 * 1440 / dpi - 4740) / 2 ))

wine "$exe" </dev/null >/dev/null 2>&1 &
wine_pid=$!
wait_for "Kakehashi"
sleep 1
crop "$out/main-window.png" "$main_left" "$((main_top + 150))" 4980 4740
# The menu by keyboard: Alt, then Enter on the first item opens the help window.
xdotool key alt; sleep 0.3; xdotool key Return
wait_for "ﾜﾝﾎﾟｲﾝﾄ"; sleep 1
crop "$out/help-window.png" 2370 2400 6360 4725
xdotool key Escape; sleep 0.5
# Back to the main window: Alt, Right, Down, Enter opens the About window.
xdotool windowactivate "$(xdotool search --name Kakehashi | head -1)" 2>/dev/null || true
sleep 0.3; xdotool key alt; sleep 0.3; xdotool key Right; sleep 0.3; xdotool key Down; sleep 0.3; xdotool key Return
wait_for "ﾊﾞｰｼﾞｮﾝ情報"; sleep 1
crop "$out/about-window.png" 2340 1935 4830 1515
import -display "$DISPLAY" -window root "$out/desktop.png"
echo "screenshots in $out"
