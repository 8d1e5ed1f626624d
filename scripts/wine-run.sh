#!/usr/bin/env bash
# Runs one Windows program of the win64 build under Wine, in the worktree's private prefix
# (build/wine-prefix). ctest calls it as the cross-compiling emulator; scripts/run-wine-suite.sh
# boots the prefix and starts the X display first. Run alone, it boots the prefix when it has
# none yet and uses whatever DISPLAY is set (text-mode programs need none).
#
# Usage: wine-run.sh PROGRAM.exe [ARGS...]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${TAVO_WINEPREFIX:-$root/build/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all,err+module}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine=${TAVO_WINE:-/usr/lib/wine/wine64}

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "$wine" wineboot -i >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -w
fi
exec "$wine" "$@"
