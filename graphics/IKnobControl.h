#pragma once
// Knobs turned by dragging: the abstract knob with its gearing, the film-strip knob and the knob
// drawn as a single line.

#include "graphics/IControl.h"

namespace tavo {

class IKnobControl : public IControl {
public:
  static constexpr int kVertical = 0;
  static constexpr int kHorizontal = 1;
  // Shift or Ctrl turns the knob ten times more finely.
  static constexpr double kFineGearing = 10.0;

  // [main thread] A vertical knob sweeps its range when dragged up by its height × gearing
  // pixels; a horizontal one when dragged right by its width × gearing.
  IKnobControl(IPlugBase* plug, const IBounds& rect, int paramIdx, int direction = kVertical,
               double gearing = 4.0);
  ~IKnobControl() override = default;

  // [editor thread] Turns by the drag and reports the clamped value.
  void OnMouseDrag(int x, int y, int dx, int dy, const MouseMods& mods) override;

  int Direction() const { return direction; }
  double Gearing() const { return gearing; }

protected:
  int32_t direction = kVertical;
  double gearing = 4.0;
};

// A knob shown as one frame of a film strip per position.
class IKnobMultiControl : public IKnobControl {
public:
  // [main thread] The rectangle is one frame of the image placed at (x, y).
  IKnobMultiControl(IPlugBase* plug, int x, int y, int paramIdx, const IImage& image,
                    int direction = kVertical, double gearing = 4.0);
  ~IKnobMultiControl() override = default;

  // [editor thread]
  bool Draw(IGraphics* graphics) override;

  const IImage& Image() const { return image; }

protected:
  IImage image;
};

// A knob shown as a line from the inner to the outer radius, turning clockwise from minAngle
// (at 0) to maxAngle (at 1); angles in radians, 0 pointing up.
class IKnobLineControl : public IKnobControl {
public:
  // [main thread] Plain-copy blend; an outer radius of 0 reaches half the rectangle's width.
  IKnobLineControl(IPlugBase* plug, const IBounds& rect, int paramIdx, const IColorRGBA& colour,
                   float innerRadius, float outerRadius, float minAngle, float maxAngle,
                   int direction = kVertical, double gearing = 4.0);
  ~IKnobLineControl() override = default;

  // [editor thread] An antialiased line in the colour.
  bool Draw(IGraphics* graphics) override;

protected:
  IColorRGBA color;
  float minAngle = 0.0f;
  float maxAngle = 0.0f;
  float innerRadius = 0.0f;
  float outerRadius = 0.0f;
};

} // namespace tavo
