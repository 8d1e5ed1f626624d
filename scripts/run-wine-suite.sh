#!/usr/bin/env bash
# Runs the Windows suite (ctest of the win64 build) under Wine with a private prefix in
# build/wine-prefix and an Xvfb display of its own, both set up and taken down here.
#
# Usage: run-wine-suite.sh [CTEST_ARGS...]        e.g. run-wine-suite.sh -R win_driver
# Environment: TAVO_WINE_DISPLAY (first display number to try, default 71); TAVO_WIN_BUILD_DIR
# (another configured win64 build tree to test instead of the preset's build/win64).
#
# Facts this relies on: the 64-bit loader is called directly (/usr/lib/wine/wine64; the `wine`
# wrapper may choose a 32-bit loader this kernel cannot run); a fresh prefix boots in some
# seconds and its wineserver must have finished (`wineserver -w`) before the first program; a
# wineserver left from an earlier run of this prefix must go before windows are made, or
# CreateWindow fails; WINEDEBUG=-all,err+module keeps the log quiet but names missing DLLs.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=$root/build/wine-prefix
export WINEDEBUG=-all,err+module
export WINEDLLOVERRIDES=mscoree,mshtml=
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

for tool in "$wine" "$wineserver" Xvfb; do
  command -v "$tool" >/dev/null || { echo "run-wine-suite: $tool is missing (make deps)" >&2; exit 1; }
done

xvfb_pid=""
finish() {
  "$wineserver" -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap finish EXIT INT TERM

# Only this prefix's wineserver is ever stopped; other prefixes on the machine are left alone.
"$wineserver" -k >/dev/null 2>&1 || true

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "run-wine-suite: creating the Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  DISPLAY= "$wine" wineboot -i >/dev/null 2>&1 || true
fi
"$wineserver" -w

# A display nobody holds: no lock file and no socket.
display=${TAVO_WINE_DISPLAY:-71}
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$root/build/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 50); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { cat "$root/build/xvfb.log" >&2; exit 1; }
  sleep 0.1
done
export DISPLAY=":$display"
echo "run-wine-suite: Wine prefix $WINEPREFIX, display $DISPLAY"

cd "$root"
if [ -n "${TAVO_WIN_BUILD_DIR:-}" ]; then
  ctest --test-dir "$TAVO_WIN_BUILD_DIR" --output-on-failure "$@"
else
  ctest --preset win64 "$@"
fi
