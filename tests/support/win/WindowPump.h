#pragma once
// What the Windows editor tests do with real windows: run the thread's messages for a while, as a
// host's message loop would, and read back what a window shows.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace tavo::test {

// Runs the thread's messages (the editor's timers and paints) for ms milliseconds, or until done
// answers true.
inline bool Pump(int ms, const std::function<bool()>& done = {}) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  MSG m;
  while (GetTickCount() < end) {
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    if (done && done()) return true;
    Sleep(2);
  }
  return done ? done() : true;
}

// The top-left width × height of the window's client area as 0x00RRGGBB words, top row first.
inline std::vector<uint32_t> CaptureClient(HWND w, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(w);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, section);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const uint32_t*>(bits);
  std::vector<uint32_t> pixels(p, p + static_cast<size_t>(width) * static_cast<size_t>(height));
  for (uint32_t& px : pixels)
    px &= 0x00FFFFFF;
  SelectObject(memory, old);
  DeleteObject(section);
  DeleteDC(memory);
  ReleaseDC(w, screen);
  return pixels;
}

} // namespace tavo::test
