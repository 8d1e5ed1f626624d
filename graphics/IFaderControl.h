#pragma once
// A handle that travels along a straight track: across for direction 1 (0 at the left), up and
// down otherwise (1 at the top). The meter needle is a horizontal fader that only the signal
// chain moves.

#include "graphics/IControl.h"

namespace tavo {

class IFaderControl : public IControl {
public:
  static constexpr int kHorizontal = 1;
  static constexpr int kVertical = 0;

  // [main thread] The track is length pixels long from (x, y); the handle is the image's first
  // frame. With onlyHandle, only the handle (not the whole track) takes the mouse.
  IFaderControl(IPlugBase* plug, int x, int y, int length, int paramIdx, const IImage& handle,
                int direction = kVertical, bool onlyHandle = false);
  ~IFaderControl() override = default;

  // [editor thread] Left button: the handle jumps under the pointer. Right button: prompt.
  void OnMouseDown(int x, int y, const MouseMods& mods) override;
  // [editor thread] The handle follows the pointer.
  void OnMouseDrag(int x, int y, int dx, int dy, const MouseMods& mods) override;
  // [editor thread]
  bool Draw(IGraphics* graphics) override;
  bool IsHit(int x, int y) override;

  // Where the handle is drawn for a value.
  IBounds HandleRect(double v) const;
  int Length() const { return length; }
  int HandleSize() const { return handleSize; }

protected:
  // Moves the value so that the handle centres on the pointer.
  void SnapToMouse(int x, int y);

  int32_t length = 0;
  int32_t handleSize = 0;
  IImage image;
  int32_t direction = kVertical;
  bool onlyHandle = false;
};

} // namespace tavo
