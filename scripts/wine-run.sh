#!/usr/bin/env bash
# Runs one Windows program under Wine, in the worktree's private prefix for its architecture:
# a 64-bit program in build/wine-prefix with the 64-bit loader, a 32-bit one in
# build/wine-prefix-win32 (WINEARCH=win32) with the 32-bit loader. The architecture is read from
# the program's PE header, so ctest of either build calls this same script as its emulator;
# scripts/run-wine-suite.sh boots the prefix and starts the X display first. Run alone, it boots
# the prefix when it has none yet and uses whatever DISPLAY is set (text-mode programs need none).
#
# Usage: wine-run.sh PROGRAM.exe [ARGS...]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=scripts/wine-arch.sh
source "$root/scripts/wine-arch.sh"

tavo_wine_arch_of "$1"
export WINEPREFIX=${TAVO_WINEPREFIX:-$tavo_wine_prefix}
export WINEARCH=$tavo_wine_arch
export WINEDEBUG=${WINEDEBUG:--all,err+module}
# No debugger on a crash (it would wait for ever): the program dies with its fault reported.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}
wine=${TAVO_WINE:-$tavo_wine_loader}

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "$wine" wineboot -i >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -w
fi
exec "$wine" "$@"
