#include "graphics/IRadioButtonsControl.h"

#include <algorithm>

#include "graphics/IGraphics.h"

namespace tavo {

namespace {
constexpr int kDirectionHorizontal = 1;
constexpr int kUnlitFrame = 1;
constexpr int kLitFrame = 2;
} // namespace

IRadioButtonsControl::IRadioButtonsControl(IPlugBase* plugIn, const IBounds& bounds, int param,
                                           int nButtons, const IImage& img, int direction,
                                           bool reverse)
    : IControl(plugIn, bounds, param), image(img) {
  if (nButtons < 1) return;
  const int w = image.W;
  const int h = static_cast<int>(image.H / std::max(image.N, 1));
  const bool horizontal = direction == kDirectionHorizontal;
  // With one button there is no space to share out.
  const int spare = horizontal ? rect.R - nButtons * w - rect.L : rect.B - nButtons * h - rect.T;
  const int gap = nButtons > 1 ? spare / (nButtons - 1) : 0;
  const int step = (horizontal ? w : h) + gap;
  int at = horizontal ? (reverse ? rect.R - w : rect.L) : (reverse ? rect.B - h : rect.T);
  buttons.reserve(static_cast<size_t>(nButtons));
  for (int i = 0; i < nButtons; ++i) {
    if (horizontal)
      buttons.emplace_back(at, rect.T, at + w, rect.T + h);
    else
      buttons.emplace_back(rect.L, at, rect.L + w, at + h);
    at += reverse ? -step : step;
  }
}

int IRadioButtonsControl::SelectedButton() const {
  const int n = NButtons();
  if (n < 2) return 0;
  const double position = (n - 1) * value + 0.5;
  if (!(position >= 0.0)) return 0;
  if (position >= n) return n - 1;
  return std::clamp(static_cast<int>(position), 0, n - 1);
}

void IRadioButtonsControl::OnMouseDown(int x, int y, const MouseMods& mods) {
  if (mods.R) {
    PromptUserInput();
    return;
  }
  const int n = NButtons();
  for (int i = 0; i < n; ++i) {
    if (buttons[static_cast<size_t>(i)].Contains(x, y)) {
      value = n > 1 ? static_cast<double>(i) / (n - 1) : 0.0;
      break;
    }
  }
  SetDirty(true);
}

bool IRadioButtonsControl::Draw(IGraphics* graphics) {
  const int selected = SelectedButton();
  for (int i = 0; i < NButtons(); ++i) {
    graphics->DrawBitmapFrame(image, buttons[static_cast<size_t>(i)],
                              i == selected ? kLitFrame : kUnlitFrame, &blend);
  }
  return true;
}

} // namespace tavo
