#pragma once
// Film-strip controls: a bitmap that shows the frame matching its value, and the switch that
// steps through the frames on each click.

#include "graphics/IControl.h"

namespace tavo {

// The film-strip frame (1-based) that shows a normalised value on a strip of n frames: frame 1
// at 0, frame n at 1, rounded to the nearest frame in between.
int FilmStripFrame(int nFrames, double value);

class IBitmapControl : public IControl {
public:
  // [main thread] The rectangle is one frame of the image placed at (x, y).
  IBitmapControl(IPlugBase* plug, int x, int y, int paramIdx, const IImage& image,
                 int blendMethod = kBlendSourceAlpha);
  ~IBitmapControl() override = default;

  // [editor thread]
  bool Draw(IGraphics* graphics) override;
  // [editor thread] Where the frame shown lets what lies under it through, worked out once per
  // scale, frame and blend.
  IBounds SeeThrough(IGraphics* graphics) override;

  const IImage& Image() const { return image; }

protected:
  IImage image;

private:
  struct SeenThrough {
    float scale = 0.0f; // none worked out yet
    int frame = 0;
    BlendSpec blend;
    IBounds rect, part;
  };
  SeenThrough seenThrough;
};

class ISwitchControl : public IBitmapControl {
public:
  using IBitmapControl::IBitmapControl;
  ~ISwitchControl() override = default;

  // [editor thread] Steps to the next frame, wrapping to the first after the last; a two-frame
  // switch toggles between 0 and 1. Either button steps.
  void OnMouseDown(int x, int y, const MouseMods& mods) override;
  // [editor thread] Steps like a click.
  void OnMouseDblClick(int x, int y, const MouseMods& mods) override;
};

} // namespace tavo
