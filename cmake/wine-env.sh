#!/usr/bin/env bash
# Sourced: the environment for running Kakehashi's Windows builds under Wine, and
# wine_prefix_ready, which creates the dedicated prefix once (safe when runs overlap).
state=$(realpath -m "$1")
mkdir -p "$state"
export WINEPREFIX="$state/prefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine takes its ANSI code page from the locale: ja_JP.UTF-8 gives 932 (Shift_JIS).
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

wine_prefix_ready() {
  [ -f "$WINEPREFIX/.kakehashi-ready" ] && return 0
  (
    flock 9
    [ -f "$WINEPREFIX/.kakehashi-ready" ] && exit 0
    rm -rf "$WINEPREFIX"
    DISPLAY= wine wineboot -i </dev/null >/dev/null 2>&1
    local reg='HKCU\Software\Wine'
    {
      # Wine: without a window manager every hidden top-level window costs a 2 s
      # wait_for_withdrawn_state timeout; a virtual desktop avoids it.
      wine reg add "$reg\\Explorer" /v Desktop /d Default /f
      wine reg add "$reg\\Explorer\\Desktops" /v Default /d 1280x1024 /f
      for f in "MS UI Gothic" "ＭＳ Ｐゴシック" "MS PGothic"; do
        wine reg add "$reg\\Fonts\\Replacements" /v "$f" /d IPAPGothic /f
      done
      for f in "ＭＳ ゴシック" "MS Gothic"; do
        wine reg add "$reg\\Fonts\\Replacements" /v "$f" /d IPAGothic /f
      done
    } </dev/null >/dev/null 2>&1
    if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
      cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" || true
    fi
    wineserver -w
    touch "$WINEPREFIX/.kakehashi-ready"
  ) 9>"$state/.prefix.lock"
}
