#!/usr/bin/env bash
# Screenshots of kakehashi.exe's windows under Wine on a private Xvfb display:
#   tools/screenshot.sh BUILD_DIR OUT_DIR [DPI]
# Writes OUT_DIR/main-window.png, help-window.png, about-window.png, target-window.png,
# target-dragging.png, target-picked.png (Notepad's edit picked with both finders) and
# desktop.png.
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
wine_pid= notepad_pid=
cleanup() {
  [ -n "$wine_pid" ] && kill "$wine_pid" 2>/dev/null || true
  [ -n "$notepad_pid" ] && kill "$notepad_pid" 2>/dev/null || true
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
xdotool key Escape; sleep 0.5
# Alt+T chooses 送信先 on the menu bar.
xdotool windowactivate "$(xdotool search --name Kakehashi | head -1)" 2>/dev/null || true
sleep 0.3; xdotool key alt+t
wait_for "送信先の設定"; sleep 1
crop "$out/target-window.png" 2400 1800 6900 7065
# 指定したウィンドウ, then the input finder dragged onto Notepad's edit (Notepad at the
# right of the desktop, clear of the tool's windows).
for v in iWindowPosX:760 iWindowPosY:80 iWindowPosDX:480 iWindowPosDY:400; do
  wine reg add 'HKCU\Software\Microsoft\Notepad' /v "${v%%:*}" /t REG_DWORD /d "${v##*:}" /f </dev/null >/dev/null 2>&1
done
wine notepad </dev/null >/dev/null 2>&1 &
notepad_pid=$!
wait_for "メモ帳"; sleep 1
xdotool windowactivate "$(xdotool search --name 送信先の設定 | head -1)" 2>/dev/null || true
sleep 0.3
# The option and the finder, at their twips in the window (frames included).
xdotool mousemove "$(px $((2400 + 120 + 240 + 200)))" "$(px $((1800 + 60 + 810 + 128)))" click 1; sleep 0.5
drag() {  # drag FINDER_TOP_TWIPS [SHOT]: a finder of the window onto Notepad's edit
  local x y step
  x=$(px $((2400 + 120 + 1620 + 270))) y=$(px $((1800 + 1800 + $1 + 270)))
  xdotool mousemove "$x" "$y" mousedown 1; sleep 0.2
  for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((x + (1000 - x) * step / 8)) $((y + (300 - y) * step / 8)); sleep 0.1
  done
  [ -z "${2:-}" ] || import -display "$DISPLAY" -window root "$2"
  xdotool mouseup 1; sleep 1
}
drag 810 "$out/target-dragging.png"
drag 1410
crop "$out/target-picked.png" 2400 1800 6900 7065
import -display "$DISPLAY" -window root "$out/desktop.png"
echo "screenshots in $out"
