#!/usr/bin/env bash
# The editor on the Xvfb display under Wine against the Linux tavo-host's offscreen snapshot of
# the same settings. The Windows test program shows the editor at the display's top-left and
# waits; this script takes the picture with xwd, crops the editor with ImageMagick and counts
# the pixels that differ (the editor draws no text, so none may).
# Usage: compare-editor-screenshot.sh LINUX_TAVO_HOST TEST_EXE WINE_RUN WORK_DIR
# Exit 77 (skipped) without the Linux tavo-host, the picture tools or an X display.
set -euo pipefail
linux_host=$1
test_exe=$2
wine_run=$3
work=$4

if [ ! -x "$linux_host" ]; then
  echo "skipped: no Linux tavo-host at $linux_host (make test-native builds it)"
  exit 77
fi
for tool in xwd convert compare; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
if [ -z "${DISPLAY:-}" ]; then
  echo "skipped: no X display (scripts/run-wine-suite.sh starts one)"
  exit 77
fi
rm -rf "$work"
mkdir -p "$work"

# Knobs away from their defaults, the third meter mode lit and the bypass glass shown.
settings=("Drive=6.5" "Asymmetry=3" "VU Mode=2" "Bypass=1")
linux_args=()
for s in "${settings[@]}"; do linux_args+=(--set "$s"); done
"$linux_host" editor "$work/editor-linux.png" "${linux_args[@]}" >/dev/null

joined=$(IFS=';'; echo "${settings[*]}")
TAVO_SCREENSHOT_SYNC="$work" TAVO_EDITOR_SETTINGS="$joined" \
  "$wine_run" "$test_exe" --gtest_brief=1 --gtest_filter='*ShowsTheEditorForTheScreenshot' \
  >"$work/program.log" 2>&1 &
program=$!
for _ in $(seq 1 600); do
  [ -e "$work/ready" ] && break
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
if [ ! -e "$work/ready" ]; then
  cat "$work/program.log"
  echo "the editor never showed"
  exit 1
fi
xwd -root -silent -display "$DISPLAY" >"$work/screen.xwd"
touch "$work/done"
wait "$program" || { cat "$work/program.log"; exit 1; }

convert "$work/screen.xwd" -crop 304x416+0+0 +repage -alpha off "$work/editor-wine.png"
convert "$work/editor-linux.png" -alpha off "$work/editor-linux-rgb.png"
differing=$(compare -metric AE "$work/editor-linux-rgb.png" "$work/editor-wine.png" \
  "$work/difference.png" 2>&1 || true)
echo "screenshot: $work/editor-wine.png; Linux snapshot: $work/editor-linux.png;" \
  "differing pixels: $differing"
[ "$differing" = "0" ]
