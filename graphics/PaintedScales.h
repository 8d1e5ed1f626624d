#pragma once
// The scales the editor's artwork is painted at. Every image exists at 1 under its own resource
// identifier and at each larger scale under that identifier plus the set's offset, so a module
// carries "VUBG1.png" as 101, "VUBG1@1.5x.png" as 1101 and "VUBG1@2x.png" as 2101. The editor
// draws a painted scale pixel for pixel; a scale between two painted ones is drawn from the next
// larger set, reduced with the filtered blit; a scale beyond the largest enlarges that set.

#include <array>

namespace tavo {

struct PaintedScale {
  float scale;
  int idOffset;
};

inline constexpr std::array<PaintedScale, 3> kPaintedScales{
    {{1.0f, 0}, {1.5f, 1000}, {2.0f, 2000}}};

// Scales the editor accepts from a host; anything outside is brought to the nearer end.
inline constexpr float kMinEditorScale = 1.0f;
inline constexpr float kMaxEditorScale = 4.0f;

// The painted set an editor at the scale draws from: the smallest at or above it (a host's 1.25
// draws from 1.5), the largest when the scale is beyond every set.
constexpr const PaintedScale& PaintedScaleFor(float scale) {
  // Scales that differ only by rounding of a host's percentage count as equal.
  constexpr float kSlack = 1e-3f;
  for (const PaintedScale& set : kPaintedScales)
    if (set.scale + kSlack >= scale) return set;
  return kPaintedScales.back();
}

// The painted scale nearest a display's, for a window that follows the display by itself (the
// Windows window and its monitor's DPI): drawn pixel for pixel, never resampled. Halfway between
// two sets the larger is taken, so a 125 % display draws at 1.5 rather than small at 1.
constexpr float NearestPaintedScale(float scale) {
  const PaintedScale* nearest = &kPaintedScales.front();
  for (const PaintedScale& set : kPaintedScales) {
    const float to = set.scale > scale ? set.scale - scale : scale - set.scale;
    const float best = nearest->scale > scale ? nearest->scale - scale : scale - nearest->scale;
    if (to <= best) nearest = &set;
  }
  return nearest->scale;
}

} // namespace tavo
