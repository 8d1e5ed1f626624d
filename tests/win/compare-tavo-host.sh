#!/usr/bin/env bash
# tavo-host.exe under Wine against the Linux tavo-host: the same mono and stereo files rendered
# with the same settings give the same samples (within 1e-6: the two C libraries' sin, exp and
# log may differ in the last bits) and the same saved state, byte for byte; and the editor after
# Drive 5 shows the same pixels.
# Usage: compare-tavo-host.sh LINUX_TAVO_HOST WINDOWS_TAVO_HOST_EXE WINE_RUN WORK_DIR
# Exit 77 (skipped) when the Linux build's tavo-host is not there.
set -euo pipefail
absolute() { case "$1" in /*) echo "$1" ;; *) echo "$PWD/$1" ;; esac; }
linux_host=$(absolute "$1")
windows_host=$(absolute "$2")
wine_run=$(absolute "$3")
work=$(absolute "$4")

if [ ! -x "$linux_host" ]; then
  echo "skipped: no Linux tavo-host at $linux_host (make test-native builds it)"
  exit 77
fi
rm -rf "$work"
mkdir -p "$work"
cd "$work"

# Inputs: a few seconds of two tones and a swept burst, 32-bit float, mono and stereo.
python3 - <<'PY'
import math, struct
def write(name, channels, frames, rate=44100):
    data = bytearray()
    for i in range(frames):
        t = i / rate
        env = 0.5 + 0.5 * math.sin(2 * math.pi * 0.7 * t)
        left = 0.6 * env * math.sin(2 * math.pi * 220 * t) + 0.2 * math.sin(2 * math.pi * 3170 * t)
        right = 0.5 * math.sin(2 * math.pi * (110 + 900 * t) * t)
        for v in ([left] if channels == 1 else [left, right]):
            data += struct.pack('<f', v)
    fmt = struct.pack('<HHIIHH', 3, channels, rate, rate * 4 * channels, 4 * channels, 32)
    body = b'WAVE' + b'fmt ' + struct.pack('<I', len(fmt)) + fmt + b'data' + struct.pack('<I', len(data)) + bytes(data)
    open(name, 'wb').write(b'RIFF' + struct.pack('<I', len(body)) + body)
write('mono.wav', 1, 2 * 44100)
write('stereo.wav', 2, 2 * 44100)
PY

settings=(--set Drive=6.5 --set Asymmetry=3 --set "Freq Response=2" --set "Crosstalk Level=-70"
  --set "Input Trim=3")
for layout in mono stereo; do
  "$linux_host" render "$layout.wav" -o "linux-$layout.wav" "${settings[@]}" \
    --save-state "linux-$layout.state" -q
  "$wine_run" "$windows_host" render "$layout.wav" -o "windows-$layout.wav" "${settings[@]}" \
    --save-state "windows-$layout.state" -q
done

# Rendering again over an existing output replaces it: the file is neither taken for the input
# (Windows' stat has no inode numbers) nor refused by a rename that will not replace a file.
"$wine_run" "$windows_host" render mono.wav -o windows-mono.wav "${settings[@]}" -q

python3 - <<'PY'
import math, struct, sys
def samples(name):
    raw = open(name, 'rb').read()
    assert raw[:4] == b'RIFF' and raw[8:12] == b'WAVE', name
    at, fmt, data = 12, None, None
    while at + 8 <= len(raw):
        kind, size = raw[at:at + 4], struct.unpack('<I', raw[at + 4:at + 8])[0]
        if kind == b'fmt ': fmt = struct.unpack('<HHIIHH', raw[at + 8:at + 24])
        if kind == b'data': data = raw[at + 8:at + 8 + size]
        at += 8 + size + (size & 1)
    assert fmt and fmt[5] == 32 and data is not None, name + ': not 32-bit float'
    return fmt[1], struct.unpack('<%df' % (len(data) // 4), data)
failed = False
for layout in ('mono', 'stereo'):
    (lc, lin), (wc, win) = samples('linux-%s.wav' % layout), samples('windows-%s.wav' % layout)
    worst = max((abs(a - b) for a, b in zip(lin, win)), default=0.0)
    same_state = open('linux-%s.state' % layout, 'rb').read() == open('windows-%s.state' % layout, 'rb').read()
    level = '%.1f dB' % (20 * math.log10(worst)) if worst > 0 else 'none'
    print('%s: %d channels, %d samples, largest difference %.3g (%s), state %s' %
          (layout, wc, len(win), worst, level, 'identical' if same_state else 'DIFFERS'))
    if lc != wc or len(lin) != len(win) or worst > 1e-6 or not same_state or len(win) == 0:
        failed = True
sys.exit(1 if failed else 0)
PY

# The editor after the same settings: tavo-host.exe shows it in a window of its own and reads the
# window back; the editor draws no text, so every pixel matches the Linux offscreen frame. Needs
# an X display (scripts/run-wine-suite.sh starts one) and ImageMagick; without them only the
# renders above are compared.
if [ -z "${DISPLAY:-}" ] || ! command -v compare >/dev/null; then
  echo "editor: not compared (no X display or no ImageMagick)"
  exit 0
fi
# At 2 the window is told its monitor's DPI changed to 192, as Windows tells a window moved to a
# denser monitor, and must show what the Linux editor draws at 2.
status=0
for scale in 1 2; do
  "$linux_host" editor linux-editor-$scale.png --set Drive=5 --scale $scale >/dev/null
  "$wine_run" "$windows_host" editor windows-editor-$scale.png --set Drive=5 --scale $scale \
    >/dev/null
  convert linux-editor-$scale.png -alpha off linux-editor-$scale-rgb.png
  convert windows-editor-$scale.png -alpha off windows-editor-$scale-rgb.png
  differing=$(compare -metric AE linux-editor-$scale-rgb.png windows-editor-$scale-rgb.png \
    editor-difference-$scale.png 2>&1 || true)
  echo "editor at $scale: $work/windows-editor-$scale.png, differing pixels: $differing"
  [ "$differing" = "0" ] || status=1
done
exit $status
