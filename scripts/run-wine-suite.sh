#!/usr/bin/env bash
# Runs a Windows suite (ctest of the win64 or the win32 build) under Wine, with the private prefix
# of that architecture (build/wine-prefix, build/wine-prefix-win32: see scripts/wine-arch.sh) and
# an Xvfb display of its own, both set up and taken down here. The two architectures' suites may
# run at the same time: they share neither prefix, wineserver nor display.
#
# Usage: run-wine-suite.sh [--arch win64|win32|both] [CTEST_ARGS...]
#   e.g. run-wine-suite.sh -R win_driver; run-wine-suite.sh --arch win32
# With both, the two suites run side by side (each takes one of the machine's cores most of the
# time), each writing build/<arch>/wine-suite.log, which are printed when both have finished.
# Environment: TAVO_WINE_DISPLAY (first display number to try, default 71; the 32-bit suite
# starts 4 above it unless TAVO_WINE_DISPLAY_WIN32 says otherwise); TAVO_WIN_BUILD_DIR (another
# configured build tree of that architecture to test instead of the preset's build/<arch>).
#
# Facts this relies on: a 32-bit program needs the 32-bit loader and a prefix made with
# WINEARCH=win32 (a missing 32-bit Wine is an error, not a skip); a fresh prefix boots in some
# seconds and its wineserver must have finished (`wineserver -w`) before the first program; a
# wineserver left from an earlier run of this prefix must go before windows are made, or
# CreateWindow fails; WINEDEBUG=-all,err+module keeps the log quiet but names missing DLLs.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=scripts/wine-arch.sh
source "$root/scripts/wine-arch.sh"

arch=win64
if [ "${1:-}" = "--arch" ]; then
  arch=${2:?run-wine-suite: --arch needs win32 or win64}
  shift 2
fi

if [ "$arch" = both ]; then
  status=0
  pids=()
  for one in win32 win64; do
    mkdir -p "$root/build/$one"
    bash "${BASH_SOURCE[0]}" --arch "$one" "$@" >"$root/build/$one/wine-suite.log" 2>&1 &
    pids+=($!)
  done
  for i in 0 1; do
    wait "${pids[$i]}" || status=1
  done
  for one in win32 win64; do
    echo "=== the $one suite under Wine (build/$one/wine-suite.log)"
    cat "$root/build/$one/wine-suite.log"
  done
  exit $status
fi
tavo_wine_arch_set "$arch"

export WINEPREFIX=$tavo_wine_prefix
export WINEARCH=$tavo_wine_arch
export WINEDEBUG=-all,err+module
# No debugger on a crash (it would wait for ever): the program dies and ctest reports it.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
wine=$tavo_wine_loader
wineserver=/usr/lib/wine/wineserver

for tool in "$wine" "$wineserver" Xvfb; do
  command -v "$tool" >/dev/null || {
    echo "run-wine-suite: $tool is missing, the $arch suite cannot run (make deps)" >&2
    exit 1
  }
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
  echo "run-wine-suite: creating the $arch Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  DISPLAY= "$wine" wineboot -i >/dev/null 2>&1 || true
fi
"$wineserver" -w
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "run-wine-suite: $wine could not create the prefix $WINEPREFIX" >&2
  exit 1
fi

# A display nobody holds: no lock file and no socket. Should another suite take the same number
# between the look and the start, Xvfb exits and the next number is tried.
if [ "$arch" = win32 ]; then
  display=${TAVO_WINE_DISPLAY_WIN32:-$((${TAVO_WINE_DISPLAY:-71} + 4))}
else
  display=${TAVO_WINE_DISPLAY:-71}
fi
xvfb_log=$root/build/xvfb-$arch.log
for _ in $(seq 1 20); do
  while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
    display=$((display + 1))
  done
  # Tall enough for the editor at 2 (832 rows), which the tests read back from the screen.
  Xvfb ":$display" -screen 0 1024x1024x24 -nolisten tcp >"$xvfb_log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 50); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$xvfb_pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$display" ] && break
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=""
  display=$((display + 1))
done
if [ -z "$xvfb_pid" ]; then
  cat "$xvfb_log" >&2
  exit 1
fi
export DISPLAY=":$display"
echo "run-wine-suite: $arch, Wine prefix $WINEPREFIX, display $DISPLAY"

cd "$root"
if [ -n "${TAVO_WIN_BUILD_DIR:-}" ]; then
  ctest --test-dir "$TAVO_WIN_BUILD_DIR" --output-on-failure "$@"
else
  ctest --preset "$arch" "$@"
fi
