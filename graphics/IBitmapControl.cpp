#include "graphics/IBitmapControl.h"

#include "graphics/IGraphics.h"

namespace tavo {

namespace {
// A stepped value that lands a hair above 1 is still the last frame; only beyond it wraps.
constexpr double kSwitchWrapAbove = 1.001;
} // namespace

int FilmStripFrame(int nFrames, double value) {
  if (nFrames < 2) return 1;
  const double position = (nFrames - 1) * value + 0.5;
  if (!(position >= 0.0)) return 1; // negative, or not a number at all
  if (position >= nFrames) return nFrames;
  return std::min(static_cast<int>(position) + 1, nFrames);
}

IBitmapControl::IBitmapControl(IPlugBase* plugIn, int x, int y, int param, const IImage& img,
                               int blendMethod)
    : IControl(plugIn, IBounds(x, y, x + img.W, y + img.H / std::max(img.N, 1)), param,
               blendMethod),
      image(img) {}

bool IBitmapControl::Draw(IGraphics* graphics) {
  return graphics->DrawBitmapFrame(image, rect, FilmStripFrame(image.N, value), &blend);
}

IBounds IBitmapControl::SeeThrough(IGraphics* graphics) {
  const int frame = FilmStripFrame(image.N, value);
  const SeenThrough& last = seenThrough;
  if (last.scale != graphics->Scale() || last.frame != frame || last.rect != rect ||
      last.blend.method != blend.method || last.blend.weight != blend.weight) {
    seenThrough = {graphics->Scale(), frame, blend, rect,
                   graphics->SeeThroughPart(image, rect, frame, blend)};
  }
  return seenThrough.part;
}

void ISwitchControl::OnMouseDown(int, int, const MouseMods&) {
  value += image.N < 2 ? 1.0 : 1.0 / (image.N - 1);
  if (value > kSwitchWrapAbove) value = 0.0;
  SetDirty(true);
}

void ISwitchControl::OnMouseDblClick(int x, int y, const MouseMods& mods) {
  ISwitchControl::OnMouseDown(x, y, mods);
}

} // namespace tavo
