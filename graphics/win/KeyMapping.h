#pragma once
// How the editor window reads a key press and a wheel turn. Kept free of window state so the
// tables can be checked on their own.

namespace tavo::winkeys {

// The editor's key code for a virtual key: space 0, up 1, down 2, left 3, right 4, '0'..'9'
// 5..14, 'A'..'Z' 15..40 (and the codes 97..122 as well); -1 for any other key.
constexpr int EditorKeyFor(unsigned virtualKey) {
  constexpr unsigned kSpace = 0x20, kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28;
  switch (virtualKey) {
  case kSpace:
    return 0;
  case kUp:
    return 1;
  case kDown:
    return 2;
  case kLeft:
    return 3;
  case kRight:
    return 4;
  default:
    break;
  }
  if (virtualKey >= '0' && virtualKey <= '9') return 5 + static_cast<int>(virtualKey - '0');
  if (virtualKey >= 'A' && virtualKey <= 'Z') return 15 + static_cast<int>(virtualKey - 'A');
  if (virtualKey >= 97 && virtualKey <= 122) return static_cast<int>(virtualKey) - 82;
  return -1;
}

// Whole notches of a wheel delta (120 a notch), truncated toward zero: half a notch is none.
constexpr int WheelNotches(int delta) {
  return delta / 120;
}

// The timer period for a refresh rate: (int)(1000 / fps) milliseconds, in double precision.
constexpr int TimerPeriodFor(int fps) {
  return static_cast<int>(1000.0 / fps);
}

} // namespace tavo::winkeys
