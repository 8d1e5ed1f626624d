#include "graphics/IKnobControl.h"

#include "graphics/IBitmapControl.h"
#include "graphics/IGraphics.h"

namespace tavo {

IKnobControl::IKnobControl(IPlugBase* plugIn, const IBounds& bounds, int param, int dir,
                           double gear)
    : IControl(plugIn, bounds, param), direction(dir), gearing(gear) {}

void IKnobControl::OnMouseDrag(int, int, int dx, int dy, const MouseMods& mods) {
  const double g = (mods.S || mods.C) ? gearing * kFineGearing : gearing;
  // Screen y grows downwards, so dividing by (top - bottom) makes an upward drag turn up.
  const int span = direction == kVertical ? rect.T - rect.B : rect.R - rect.L;
  if (span == 0 || g == 0.0) return;
  value += (direction == kVertical ? dy : dx) / static_cast<double>(span) / g;
  SetDirty(true);
}

IKnobMultiControl::IKnobMultiControl(IPlugBase* plugIn, int x, int y, int param, const IImage& img,
                                     int dir, double gear)
    : IKnobControl(plugIn, IBounds(x, y, x + img.W, y + img.H / std::max(img.N, 1)), param, dir,
                   gear),
      image(img) {}

bool IKnobMultiControl::Draw(IGraphics* graphics) {
  return graphics->DrawBitmapFrame(image, rect, FilmStripFrame(image.N, value), &blend);
}

IKnobLineControl::IKnobLineControl(IPlugBase* plugIn, const IBounds& bounds, int param,
                                   const IColorRGBA& colour, float inner, float outer, float minA,
                                   float maxA, int dir, double gear)
    : IKnobControl(plugIn, bounds, param, dir, gear), color(colour), minAngle(minA), maxAngle(maxA),
      innerRadius(inner), outerRadius(outer == 0.0f ? bounds.W() * 0.5f : outer) {
  blend.method = kBlendCopy;
}

bool IKnobLineControl::Draw(IGraphics* graphics) {
  const float angle = minAngle + static_cast<float>(value) * (maxAngle - minAngle);
  const float cx = (rect.L + rect.R) * 0.5f;
  const float cy = (rect.T + rect.B) * 0.5f;
  return graphics->DrawRadialLine(color, cx, cy, angle, innerRadius, outerRadius, &blend, true);
}

} // namespace tavo
