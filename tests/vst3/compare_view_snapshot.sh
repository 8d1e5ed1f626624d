#!/usr/bin/env bash
# The VST 3 view's picture in a Windows host window under Wine (written by win_vst3_tests, Drive
# at 7.5 from the host's automation) against the Linux tavo-host's offscreen snapshot of the same
# setting: the editor draws no text, so no pixel may differ.
# Usage: compare_view_snapshot.sh LINUX_TAVO_HOST VIEW_PNG WORK_DIR
# Exit 77 (skipped) without the Linux tavo-host or ImageMagick.
set -euo pipefail
linux_host=$1
view=$2
work=$3

if [ ! -x "$linux_host" ]; then
  echo "skipped: no Linux tavo-host at $linux_host (make test-native builds it)"
  exit 77
fi
command -v compare >/dev/null || { echo "skipped: ImageMagick's compare is missing"; exit 77; }
[ -f "$view" ] || { echo "no picture of the view at $view (win_vst3_tests writes it)"; exit 1; }
rm -rf "$work"
mkdir -p "$work"
"$linux_host" editor "$work/editor-linux.png" --set "Drive=7.5" >/dev/null
differing=$(compare -metric AE "$work/editor-linux.png" "$view" "$work/difference.png" 2>&1 || true)
echo "view: $view; Linux snapshot: $work/editor-linux.png; differing pixels: $differing"
[ "$differing" = "0" ]
