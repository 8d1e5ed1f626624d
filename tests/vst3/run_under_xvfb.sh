#!/usr/bin/env bash
# Runs a command with DISPLAY set to a private Xvfb server it starts and stops.
# Usage: run_under_xvfb.sh <display, e.g. :76> <command> [arguments...]
# Exits 77 (skipped) when Xvfb is not installed or the display is taken.
set -u
display=$1
shift
command -v Xvfb > /dev/null || { echo "skipped: Xvfb is not installed"; exit 77; }
socket=/tmp/.X11-unix/X${display#:}
if [ -e "$socket" ]; then
  echo "skipped: display $display is in use (set TAVO_VST3_DISPLAY to another)"
  exit 77
fi
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2> /dev/null; wait "$xvfb" 2> /dev/null' EXIT
for _ in $(seq 100); do
  [ -e "$socket" ] && break
  sleep 0.1
done
DISPLAY=$display "$@"
