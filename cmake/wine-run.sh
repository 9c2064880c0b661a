#!/usr/bin/env bash
# Runs a Windows program under Wine for ctest: wine-run.sh STATE_DIR PROGRAM [ARGS...]
# STATE_DIR holds a dedicated Wine prefix (made once, under a lock) and, while a test
# session is open (wine-session.sh start), the number of its Xvfb display.
set -euo pipefail
state=$1; shift
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=wine-env.sh
source "$here/wine-env.sh" "$state"
wine_prefix_ready
if [ -z "${DISPLAY:-}" ] && [ -f "$state/display" ]; then
  export DISPLAY=":$(cat "$state/display")"
fi
exec wine "$@"
