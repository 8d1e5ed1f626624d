// Raster and PNG throughput on editor-sized bitmaps (304 x 416), with a memcpy of the same byte
// count as the baseline for the opaque copy. Pixel benchmarks report pixels as items, so the
// JSON carries items_per_second.

#include "drawing/LICE_MemBitmap.h"
#include "drawing/LICE_Png.h"
#include "drawing/LICE_Raster.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 304;
constexpr int kHeight = 416;
constexpr int64_t kPixels = int64_t{kWidth} * kHeight;

// Artwork-like source: colour gradients with an alpha ramp across each row, so the source-alpha
// paths see transparent, translucent and opaque pixels in realistic runs.
std::unique_ptr<LICE_MemBitmap> Artwork(int width, int height) {
  auto bitmap = std::make_unique<LICE_MemBitmap>(width, height, 4);
  std::mt19937 random(1);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const LICE_pixel alpha = x < width / 4 ? 0 : (x > width * 3 / 4 ? 255 : (x * 255 / width));
      const LICE_pixel colour =
          ((x * 7 + y) & 0xFF) << 16 | ((y * 3) & 0xFF) << 8 | (random() & 0x1F);
      bitmap->PixelData()[y * bitmap->RowSpan() + x] = alpha << 24 | colour;
    }
  return bitmap;
}

void Memcpy(benchmark::State& state) {
  std::vector<LICE_pixel> from(kPixels, 0x12345678), to(kPixels);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), kPixels * sizeof(LICE_pixel));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kPixels * int64_t{sizeof(LICE_pixel)});
}
BENCHMARK(Memcpy);

void BlitCase(benchmark::State& state, float alpha, int mode) {
  auto src = Artwork(kWidth, kHeight);
  LICE_MemBitmap dst(kWidth, kHeight, 4);
  FillRectangle(&dst, 0, 0, kWidth, kHeight, 0xFF204060, 1.0f, 0);
  for (auto _ : state) {
    BlitBitmap(&dst, src.get(), 0, 0, nullptr, alpha, mode);
    benchmark::DoNotOptimize(dst.PixelData());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kPixels);
}
BENCHMARK_CAPTURE(BlitCase, Copy, 1.0f, LICE_BLIT_MODE_COPY)->Name("Blit/Copy");
BENCHMARK_CAPTURE(BlitCase, SourceAlpha, 1.0f, LICE_BLIT_USE_ALPHA)->Name("Blit/SourceAlpha");
BENCHMARK_CAPTURE(BlitCase, SourceAlphaQuarter, 0.25f, LICE_BLIT_USE_ALPHA)
    ->Name("Blit/SourceAlpha/Weight:0.25");

void ScaledBilinear(benchmark::State& state) {
  auto src = Artwork(kWidth / 2, kHeight / 2);
  LICE_MemBitmap dst(kWidth, kHeight, 4);
  for (auto _ : state) {
    BlitBitmapScaled(&dst, src.get(), 0, 0, kWidth, kHeight, 0, 0, kWidth / 2.0f, kHeight / 2.0f,
                     1.0f, LICE_BLIT_FILTER_BILINEAR);
    benchmark::DoNotOptimize(dst.PixelData());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kPixels);
}
BENCHMARK(ScaledBilinear)->Name("Blit/ScaledBilinear");

void FillHalf(benchmark::State& state) {
  LICE_MemBitmap dst(kWidth, kHeight, 4);
  for (auto _ : state) {
    FillRectangle(&dst, 0, 0, kWidth, kHeight, 0xFF80C0E0, 0.5f, 0);
    benchmark::DoNotOptimize(dst.PixelData());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kPixels);
}
BENCHMARK(FillHalf)->Name("Fill/Weight:0.5");

// A fan of antialiased lines from the centre, the way line knobs draw their pointers; items are
// the line pixels (D + 1 per line).
void LineAntialiased(benchmark::State& state) {
  LICE_MemBitmap dst(kWidth, kHeight, 4);
  struct Line {
    int x1, y1, x2, y2;
  };
  std::vector<Line> lines;
  int64_t pixels = 0;
  for (int i = 0; i < 64; ++i) {
    const int x2 = (i * 37) % kWidth, y2 = (i * 53) % kHeight;
    lines.push_back({kWidth / 2, kHeight / 2, x2, y2});
    pixels += std::max(std::abs(x2 - kWidth / 2), std::abs(y2 - kHeight / 2)) + 1;
  }
  for (auto _ : state) {
    for (const Line& l : lines)
      DrawLine(&dst, l.x1, l.y1, l.x2, l.y2, 0xFFE0E0E0, 1.0f, 0, true);
    benchmark::DoNotOptimize(dst.PixelData());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * pixels);
}
BENCHMARK(LineAntialiased)->Name("Line/Antialiased");

// The large knob's film strip: 128 frames of 100 x 100, RGBA.
void PngKnobStrip(benchmark::State& state) {
  LICE_MemBitmap strip(100, 12800, 4);
  std::mt19937 random(4);
  for (int y = 0; y < 12800; ++y)
    for (int x = 0; x < 100; ++x) {
      const int dx = x - 50, dy = y % 100 - 50;
      const bool inside = dx * dx + dy * dy < 45 * 45;
      const LICE_pixel shade = static_cast<LICE_pixel>((x + y % 100) & 0xFF);
      strip.PixelData()[y * strip.RowSpan() + x] =
          inside ? 0xFF000000u | shade << 16 | shade << 8 | (shade ^ (random() & 3)) : 0;
    }
  const std::vector<unsigned char> png = EncodePng(strip);
  LICE_MemBitmap into(0, 0, 4);
  for (auto _ : state) {
    LICE_IBitmap* decoded = LoadPngFromMemory(png.data(), png.size(), &into);
    benchmark::DoNotOptimize(decoded);
  }
  state.SetItemsProcessed(state.iterations() * int64_t{100} * 12800);
  state.counters["file_bytes"] = static_cast<double>(png.size());
}
BENCHMARK(PngKnobStrip)->Name("Png/KnobStrip")->Unit(benchmark::kMillisecond);

} // namespace
