# Sourced by the Wine scripts: which loader and which private prefix serve a Windows program or
# a build. A 32-bit program runs only in a prefix made with WINEARCH=win32 and only under the
# 32-bit loader (/usr/lib/wine/wine, from wine32:i386); the 64-bit loader is called directly,
# since the `wine` wrapper may pick the other one.
#
# tavo_wine_arch_of PROGRAM   sets the variables below from the PE header's machine field
# tavo_wine_arch_set win32|win64
#   tavo_wine_arch    win32 or win64 (also WINEARCH's value)
#   tavo_wine_loader  the loader to run programs with
#   tavo_wine_prefix  the prefix under the worktree's build/ folder

tavo_wine_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

tavo_wine_arch_set() {
  case "$1" in
    win32)
      tavo_wine_arch=win32
      tavo_wine_loader=/usr/lib/wine/wine
      tavo_wine_prefix=$tavo_wine_root/build/wine-prefix-win32
      ;;
    win64)
      tavo_wine_arch=win64
      tavo_wine_loader=/usr/lib/wine/wine64
      tavo_wine_prefix=$tavo_wine_root/build/wine-prefix
      ;;
    *)
      echo "wine: unknown architecture '$1' (win32 or win64)" >&2
      return 1
      ;;
  esac
}

# The PE header's offset is the 32-bit value at 0x3c; the machine field follows "PE\0\0":
# 0x014c is i386, 0x8664 x86-64. A file that is not a PE program is left to the 64-bit loader,
# which reports what it makes of it.
tavo_wine_arch_of() {
  local pe machine
  pe=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ')
  machine=$( [ -n "$pe" ] && od -An -t x2 -j $((pe + 4)) -N 2 "$1" 2>/dev/null | tr -d ' ')
  if [ "$machine" = "014c" ]; then
    tavo_wine_arch_set win32
  else
    tavo_wine_arch_set win64
  fi
}
