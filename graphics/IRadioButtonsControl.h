#pragma once
// A row or column of lamps of which exactly one is lit: button i stands for the value
// i / (n - 1).

#include <vector>

#include "graphics/IControl.h"

namespace tavo {

class IRadioButtonsControl : public IControl {
public:
  // [main thread] The buttons are one frame of the two-frame image each (frame 1 unlit, frame 2
  // lit), spread evenly over the rectangle: across it for direction 1, down it otherwise. Reversed
  // puts button 0 at the right (or bottom) end. A single button sits at the start (the end when
  // reversed); a count below 1 gives no buttons.
  IRadioButtonsControl(IPlugBase* plug, const IBounds& rect, int paramIdx, int nButtons,
                       const IImage& image, int direction = 1, bool reverse = false);
  ~IRadioButtonsControl() override = default;

  // [editor thread] Right button: prompt. Otherwise the button under the pointer selects its
  // value; between buttons the value stays.
  void OnMouseDown(int x, int y, const MouseMods& mods) override;
  // [editor thread] The selected button lit, the others unlit.
  bool Draw(IGraphics* graphics) override;

  int NButtons() const { return static_cast<int>(buttons.size()); }
  const IBounds& Button(int i) const { return buttons.at(static_cast<size_t>(i)); }
  // The button that shows the current value.
  int SelectedButton() const;

protected:
  std::vector<IBounds> buttons;
  IImage image;
};

} // namespace tavo
