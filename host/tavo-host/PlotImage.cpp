#include "host/tavo-host/PlotImage.h"

#include <algorithm>
#include <cmath>

#include "drawing/LICE_Png.h"
#include "drawing/LICE_Raster.h"

namespace tavo::host::cli {

namespace {

// The editor's palette: dark metal, cream lettering.
constexpr LICE_pixel kBackground = 0xFF1C1D20;
constexpr LICE_pixel kPanel = 0xFF26282C;
constexpr LICE_pixel kGrid = 0xFF3A3D43;
constexpr LICE_pixel kFrame = 0xFF5A5E66;
constexpr LICE_pixel kText = 0xFFE8E0CC;
constexpr LICE_pixel kMutedText = 0xFFA9A391;
constexpr LICE_pixel kGuide = 0xFF6C7079;

// Room inside a panel's rectangle for its title, tick labels and axis titles.
constexpr int kTitleRoom = 48;
constexpr int kLeftRoom = 64;
constexpr int kBottomRoom = 52;
constexpr int kRightRoom = 16;
constexpr int kTickLength = 5;

std::unique_ptr<LICE_CachedFont> MakeFont(int height, int weight) {
  LICE_FontStyle style;
  style.face = "DejaVu Sans";
  style.height = height;
  style.weight = weight;
  style.quality = 2;
  auto font = std::make_unique<LICE_CachedFont>();
  if (LICE_FontHandle handle = LICE_CreateFont(style))
    font->SetFont(handle, LICE_FONT_FLAG_OWNS_HFONT);
  return font;
}

} // namespace

PlotImage::PlotImage(int width, int height)
    : bitmap_(width, height, 1), titleFont_(MakeFont(26, 700)), textFont_(MakeFont(15, 400)),
      smallFont_(MakeFont(12, 400)) {
  FillRectangle(&bitmap_, 0, 0, width, height, kBackground, 1.0f, LICE_BLIT_MODE_COPY);
}

PlotImage::~PlotImage() = default;

void PlotImage::Text(LICE_CachedFont& font, const std::string& text, LICE_Rect rect,
                     LICE_pixel colour, int format) {
  font.SetTextColour(colour);
  font.SetBackgroundMode(1);
  font.RenderText(&bitmap_, text.c_str(), -1, &rect, format | LICE_DT_NOCLIP);
}

void PlotImage::Stroke(double x1, double y1, double x2, double y2, LICE_pixel colour, float alpha,
                       bool thick) {
  auto line = [&](double dx, double dy, float a) {
    DrawLine(&bitmap_, static_cast<int>(std::lround(x1 + dx)),
             static_cast<int>(std::lround(y1 + dy)), static_cast<int>(std::lround(x2 + dx)),
             static_cast<int>(std::lround(y2 + dy)), colour, a, LICE_BLIT_MODE_COPY, true);
  };
  line(0, 0, alpha);
  if (!thick) return;
  // Two neighbours at half weight widen the stroke to about two pixels.
  const bool steep = std::fabs(y2 - y1) > std::fabs(x2 - x1);
  line(steep ? 1 : 0, steep ? 0 : 1, alpha * 0.6f);
  line(steep ? -1 : 0, steep ? 0 : -1, alpha * 0.25f);
}

void PlotImage::Heading(const std::string& title, const std::string& subtitle) {
  Text(*titleFont_, title, {28, 16, Width() - 28, 50}, kText, 0);
  Text(*textFont_, subtitle, {30, 52, Width() - 28, 74}, kMutedText, 0);
}

void PlotImage::Note(const LICE_Rect& area, const std::string& text, int format) {
  Text(*smallFont_, text, area, kMutedText, format);
}

void PlotImage::Legend(const LICE_Rect& area, const std::vector<PlotSeries>& series) {
  int x = area.left;
  for (const PlotSeries& s : series) {
    const int mid = (area.top + area.bottom) / 2;
    FillRectangle(&bitmap_, x, mid - 2, 26, 4, s.colour, 1.0f, LICE_BLIT_MODE_COPY);
    LICE_Rect measure{0, 0, 1000, 100};
    textFont_->RenderText(nullptr, s.label.c_str(), -1, &measure, LICE_DT_CALCRECT);
    Text(*textFont_, s.label, {x + 34, area.top, x + 34 + measure.right + 4, area.bottom}, kText,
         LICE_DT_VCENTER | LICE_DT_SINGLELINE);
    x += 34 + (measure.right - measure.left) + 30;
  }
}

void PlotImage::Panel(const LICE_Rect& area, const PlotAxes& axes) {
  FillRectangle(&bitmap_, area.left, area.top, area.right - area.left, area.bottom - area.top,
                kPanel, 1.0f, LICE_BLIT_MODE_COPY);
  Text(*textFont_, axes.title, {area.left + 14, area.top + 8, area.right - 14, area.top + 30},
       kText, 0);

  const LICE_Rect plot{area.left + kLeftRoom, area.top + kTitleRoom, area.right - kRightRoom,
                       area.bottom - kBottomRoom};
  const double w = plot.right - plot.left, h = plot.bottom - plot.top;
  auto px = [&](double x) { return plot.left + (x - axes.xMin) / (axes.xMax - axes.xMin) * w; };
  auto py = [&](double y) { return plot.bottom - (y - axes.yMin) / (axes.yMax - axes.yMin) * h; };

  // Grid and tick labels; the small epsilon keeps the last line despite rounding.
  const double xEps = axes.xStep * 1e-6, yEps = axes.yStep * 1e-6;
  for (double x = std::ceil(axes.xMin / axes.xStep) * axes.xStep; x <= axes.xMax + xEps;
       x += axes.xStep) {
    const int X = static_cast<int>(std::lround(px(x)));
    DrawLine(&bitmap_, X, plot.top, X, plot.bottom, kGrid, 1.0f, LICE_BLIT_MODE_COPY, false);
    DrawLine(&bitmap_, X, plot.bottom, X, plot.bottom + kTickLength, kFrame, 1.0f,
             LICE_BLIT_MODE_COPY, false);
    if (axes.xTick)
      Text(*smallFont_, axes.xTick(x), {X - 40, plot.bottom + 8, X + 40, plot.bottom + 24},
           kMutedText, LICE_DT_CENTER | LICE_DT_SINGLELINE);
  }
  for (double y = std::ceil(axes.yMin / axes.yStep) * axes.yStep; y <= axes.yMax + yEps;
       y += axes.yStep) {
    const int Y = static_cast<int>(std::lround(py(y)));
    DrawLine(&bitmap_, plot.left, Y, plot.right, Y, kGrid, 1.0f, LICE_BLIT_MODE_COPY, false);
    DrawLine(&bitmap_, plot.left - kTickLength, Y, plot.left, Y, kFrame, 1.0f, LICE_BLIT_MODE_COPY,
             false);
    if (axes.yTick)
      Text(*smallFont_, axes.yTick(y), {plot.left - 62, Y - 8, plot.left - 9, Y + 8}, kMutedText,
           LICE_DT_RIGHT | LICE_DT_VCENTER | LICE_DT_SINGLELINE);
  }
  for (const auto& g : axes.guides)
    Stroke(px(g[0]), py(g[1]), px(g[2]), py(g[3]), kGuide, 1.0f, false);

  // Series, clipped to the plot by clamping their points into it.
  for (const PlotSeries& s : axes.series) {
    if (s.barWidth > 0.0) {
      for (size_t i = 0; i < s.x.size() && i < s.y.size(); ++i) {
        const double left =
            std::clamp(px(s.x[i] - s.barWidth / 2), double(plot.left), double(plot.right));
        const double right =
            std::clamp(px(s.x[i] + s.barWidth / 2), double(plot.left), double(plot.right));
        const double top = std::clamp(py(s.y[i]), double(plot.top), double(plot.bottom));
        const int l = static_cast<int>(std::lround(left)), r = static_cast<int>(std::lround(right));
        const int t = static_cast<int>(std::lround(top));
        FillRectangle(&bitmap_, l, t, r - l, plot.bottom - t, s.colour, 0.9f, LICE_BLIT_MODE_COPY);
      }
      continue;
    }
    for (size_t i = 1; i < s.x.size() && i < s.y.size(); ++i) {
      const double x1 = std::clamp(px(s.x[i - 1]), double(plot.left), double(plot.right));
      const double x2 = std::clamp(px(s.x[i]), double(plot.left), double(plot.right));
      const double y1 = std::clamp(py(s.y[i - 1]), double(plot.top), double(plot.bottom));
      const double y2 = std::clamp(py(s.y[i]), double(plot.top), double(plot.bottom));
      Stroke(x1, y1, x2, y2, s.colour, 1.0f, true);
    }
  }

  // Frame and axis titles.
  const int right = plot.right, bottom = plot.bottom;
  for (auto [x1, y1, x2, y2] : {std::array{plot.left, plot.top, right, plot.top},
                                std::array{plot.left, bottom, right, bottom},
                                std::array{plot.left, plot.top, plot.left, bottom},
                                std::array{right, plot.top, right, bottom}})
    DrawLine(&bitmap_, x1, y1, x2, y2, kFrame, 1.0f, LICE_BLIT_MODE_COPY, false);
  Text(*textFont_, axes.xLabel, {plot.left, bottom + 26, right, bottom + 46}, kMutedText,
       LICE_DT_CENTER | LICE_DT_SINGLELINE);
  // The y title sits above the axis, read left to right.
  Text(*smallFont_, axes.yLabel,
       {area.left + 8, area.top + kTitleRoom - 16, right, area.top + kTitleRoom}, kMutedText, 0);
  if (!axes.footnote.empty())
    Text(*smallFont_, axes.footnote, {plot.left + 8, plot.top + 6, right - 8, plot.top + 22},
         kMutedText, 0);
}

std::vector<unsigned char> PlotImage::Png() const {
  return EncodePng(bitmap_);
}

} // namespace tavo::host::cli
