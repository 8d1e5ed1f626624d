#pragma once
// A small plotting surface on our drawing library: panels with a grid, tick labels and axis
// titles, antialiased curves, a legend and titles in the cached-font text renderer. The demo
// draws its curves and spectra with it.

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "drawing/LICE_CachedFont.h"
#include "drawing/LICE_MemBitmap.h"

namespace tavo::host::cli {

struct PlotSeries {
  std::string label;
  LICE_pixel colour = 0xFFFFFFFF;
  std::vector<double> x, y;
  // 0: a curve through the points; else each point is a bar this wide (in x units) standing on
  // the bottom of the panel.
  double barWidth = 0.0;
};

struct PlotAxes {
  std::string title;
  std::string xLabel, yLabel;
  double xMin = 0, xMax = 1, yMin = 0, yMax = 1;
  double xStep = 0.1, yStep = 0.1; // grid spacing
  std::function<std::string(double)> xTick, yTick;
  std::vector<PlotSeries> series;
  // Faint guide lines drawn under the series (for instance the unity line): x0, y0, x1, y1.
  std::vector<std::array<double, 4>> guides;
  std::string footnote;
};

class PlotImage {
public:
  PlotImage(int width, int height);
  ~PlotImage();

  // Big title and a smaller line under it, at the top.
  void Heading(const std::string& title, const std::string& subtitle);
  // One panel in the rectangle.
  void Panel(const LICE_Rect& area, const PlotAxes& axes);
  // Coloured swatches with their labels, from the left edge of area.
  void Legend(const LICE_Rect& area, const std::vector<PlotSeries>& series);
  // A line of small text.
  void Note(const LICE_Rect& area, const std::string& text, int format);
  // The PNG bytes of the picture; empty on failure.
  std::vector<unsigned char> Png() const;

  int Width() const { return bitmap_.Width(); }
  int Height() const { return bitmap_.Height(); }

private:
  void Text(LICE_CachedFont& font, const std::string& text, LICE_Rect rect, LICE_pixel colour,
            int format);
  void Stroke(double x1, double y1, double x2, double y2, LICE_pixel colour, float alpha,
              bool thick);

  LICE_MemBitmap bitmap_;
  std::unique_ptr<LICE_CachedFont> titleFont_, textFont_, smallFont_;
};

} // namespace tavo::host::cli
