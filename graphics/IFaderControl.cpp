#include "graphics/IFaderControl.h"

#include "graphics/IGraphics.h"

namespace tavo {

IFaderControl::IFaderControl(IPlugBase* plugIn, int x, int y, int len, int param,
                             const IImage& handle, int dir, bool handleOnly)
    : IControl(plugIn,
               dir == kHorizontal ? IBounds(x, y, x + len, y + handle.H)
                                  : IBounds(x, y, x + handle.W, y + len),
               param),
      length(len), handleSize(dir == kHorizontal ? handle.W : handle.H), image(handle),
      direction(dir), onlyHandle(handleOnly) {}

IBounds IFaderControl::HandleRect(double v) const {
  IBounds r(rect.L, rect.T, rect.L + image.W, rect.T + image.H);
  const int travel = length - handleSize;
  const double along = direction == kHorizontal ? v : 1.0 - v;
  // Values outside 0..1 (or not numbers) never push the handle off its track.
  const double clamped = along >= 0.0 ? std::min(along, 1.0) : 0.0;
  const int shift = static_cast<int>(travel * clamped);
  if (direction == kHorizontal) {
    r.L += shift;
    r.R += shift;
  } else {
    r.T += shift;
    r.B += shift;
  }
  return r;
}

void IFaderControl::SnapToMouse(int x, int y) {
  const int travel = length - handleSize;
  if (travel <= 0) return; // a handle as long as its track cannot move
  if (direction == kHorizontal) {
    value = static_cast<double>(x - rect.L - handleSize / 2) / travel;
  } else {
    value = 1.0 - static_cast<double>(y - rect.T - handleSize / 2) / travel;
  }
  SetDirty(true);
}

void IFaderControl::OnMouseDown(int x, int y, const MouseMods& mods) {
  if (mods.R) {
    PromptUserInput();
    return;
  }
  SnapToMouse(x, y);
}

void IFaderControl::OnMouseDrag(int x, int y, int, int, const MouseMods&) {
  SnapToMouse(x, y);
}

bool IFaderControl::Draw(IGraphics* graphics) {
  return graphics->DrawBitmapFrame(image, HandleRect(value), 1, &blend);
}

bool IFaderControl::IsHit(int x, int y) {
  if (onlyHandle) return HandleRect(value).Contains(x, y);
  return targetRect.Contains(x, y);
}

} // namespace tavo
