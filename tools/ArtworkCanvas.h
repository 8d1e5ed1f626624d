#pragma once
// A floating-point RGBA canvas for drawing the editor's artwork: straight colours, alpha
// composited "over", supersampled shapes, and FreeType text. The finished picture becomes a
// drawing-library bitmap for the PNG writer.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "drawing/LICE_MemBitmap.h"

namespace tavo::artwork {

struct Rgba {
  float r = 0, g = 0, b = 0, a = 0; // 0..1, straight (not premultiplied)
};

inline Rgba Rgb(int r, int g, int b, float a = 1.0f) {
  return {r / 255.0f, g / 255.0f, b / 255.0f, a};
}
Rgba Mix(const Rgba& x, const Rgba& y, float t);

// A deterministic noise value in [-1, 1] for a pixel and a seed.
float Noise(int x, int y, int seed);

// A canvas is drawn in editor (logical) coordinates and holds its pixels at a scale: a 304 × 416
// canvas at 2 has 608 × 832 pixels, and every shape, line and text lands at the same place on the
// picture at every scale. At scale 1 logical and pixel coordinates are one and the same.
class Canvas {
public:
  Canvas(int width, int height, float scale = 1.0f);

  // Pixels, not logical units.
  int Width() const { return w_; }
  int Height() const { return h_; }
  float Scale() const { return scale_; }
  Rgba& At(int x, int y) { return px_[static_cast<size_t>(y) * w_ + x]; }
  const Rgba& At(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }

  // Pixel access: lays colour over the pixel with the given coverage (0..1); outside the canvas
  // nothing.
  void Over(int x, int y, const Rgba& colour, float coverage = 1.0f);
  // Replaces the pixel outright.
  void Set(int x, int y, const Rgba& colour);

  // Sets every pixel of the logical area to colour(x, y) of its centre, in logical coordinates
  // (whole numbers at scale 1, where this is a plain loop over the area).
  void Fill(int x0, int y0, int x1, int y1, const std::function<Rgba(float, float)>& colour);
  // A shape given as colour(x, y) over sub-pixel logical positions (alpha 0 outside the shape),
  // averaged over n × n samples per pixel of the logical area, then laid over the canvas.
  void Shade(int x0, int y0, int x1, int y1, const std::function<Rgba(float, float)>& colour,
             int n = 4);
  // An antialiased line of the given width with round ends, in logical units.
  void Line(float x0, float y0, float x1, float y1, float width, const Rgba& colour);

  std::unique_ptr<LICE_MemBitmap> ToBitmap() const;

private:
  int w_, h_;
  float scale_;
  std::vector<Rgba> px_;
};

// Text set with a FreeType face found through fontconfig.
class TextSetter {
public:
  // [may block] The face that fontconfig offers for the pattern (for example "DejaVu Sans:bold").
  explicit TextSetter(const char* pattern);
  ~TextSetter();
  TextSetter(const TextSetter&) = delete;
  TextSetter& operator=(const TextSetter&) = delete;

  bool Ok() const { return face_ != nullptr; }
  // Draws the text with its baseline at y, starting at x (align 0), centred on x (1) or ending
  // at x (2); positions, size and spacing are logical and follow the canvas's scale.
  void Draw(Canvas& canvas, const std::string& text, float x, float y, int px, const Rgba& colour,
            int align = 1, float tracking = 0.0f);
  // Engraved: shadowed above, lit below, then the ink.
  void Engrave(Canvas& canvas, const std::string& text, float x, float y, int px, const Rgba& ink,
               int align = 1, float tracking = 0.0f);

private:
  // Sets the face's size in pixels (fractional at scales like 1.5).
  void SetSize(float px);
  // Width in pixels at the current size, with extra spacing (pixels) between letters.
  float Measure(const std::string& text, float tracking);

  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
};

} // namespace tavo::artwork
