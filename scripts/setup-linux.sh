#!/usr/bin/env bash
# Installs what the two builds and their tests need on Debian 12, when it is missing:
# compilers, CMake, GoogleTest, MinGW-w64, Wine, Xvfb, Japanese fonts, the Unicode Character
# Database (grapheme break table and its test file) and the ja_JP.UTF-8 locale (without it
# Wine silently uses code page 1252 instead of 932).
set -euo pipefail

packages=(cmake make g++ libgtest-dev g++-mingw-w64-x86-64 wine wine64 xvfb xauth
  fonts-ipafont-gothic fonts-wine locales imagemagick xdotool unicode-data)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "setup: generating the ja_JP.UTF-8 locale"
  "${sudo_cmd[@]}" sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
