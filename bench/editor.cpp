// Redrawing TAVO's editor offscreen: everything at once at each display scale the artwork is
// painted for, and the needle alone as the meter moves it 25 times a second. A full-surface copy
// is the baseline.

#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "drawing/LICE_MemBitmap.h"
#include "drawing/LICE_Raster.h"
#include "effect/TAVO.h"
#include "graphics/posix/IGraphicsLinux.h"
#include "platform/Resources.h"

namespace {

using namespace tavo;

// The benchmark program does not carry the artwork as a module resource, so it registers the
// files of the source tree as its resources before anything runs: the 1× set as 101..107, the
// sets painted at 1.5 and 2 under the identifier plus 1000 and 2000.
struct ArtworkFromSourceTree {
  static constexpr size_t kImages = 7, kSets = 3;
  std::array<std::vector<unsigned char>, kImages * kSets> bytes;
  std::array<platform::EmbeddedResource, kImages * kSets> table{};

  ArtworkFromSourceTree() {
    const auto folder =
        std::filesystem::path(__FILE__).parent_path().parent_path() / "resources" / "img";
    const char* stems[] = {"VUBG1", "BG1", "LED", "KnobS1", "InGain1", "Needle1", "Bypass"};
    const char* suffixes[] = {".png", "@1.5x.png", "@2x.png"};
    for (size_t set = 0; set < kSets; ++set) {
      for (size_t i = 0; i < kImages; ++i) {
        const size_t at = set * kImages + i;
        std::ifstream in(folder / (std::string(stems[i]) + suffixes[set]), std::ios::binary);
        bytes[at].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        table[at] = {"PNG", 101 + static_cast<int>(i + 1000 * set), bytes[at].data(),
                     bytes[at].size()};
      }
    }
    platform::RegisterEmbeddedResources(table);
  }
};
const ArtworkFromSourceTree artwork;

constexpr int kPixels = TAVO::kEditorWidth * TAVO::kEditorHeight;

struct OpenEditor {
  std::unique_ptr<TAVO> plug = MakeTAVO();
  IGraphicsLinux* editor = dynamic_cast<IGraphicsLinux*>(plug->GetGUI());
  OpenEditor() {
    if (editor) editor->OpenWindow(nullptr);
  }
};

// The argument is the display scale in percent; the pixels counted are the device pixels drawn.
void EditorFullRedraw(benchmark::State& state) {
  OpenEditor open;
  if (!open.editor) {
    state.SkipWithError("no editor on this platform");
    return;
  }
  open.editor->SetScale(static_cast<float>(state.range(0)) / 100.0f);
  open.editor->OpenWindow(nullptr);
  const IBounds all(0, 0, TAVO::kEditorWidth, TAVO::kEditorHeight);
  open.editor->Draw(all); // the scale's images are decoded on first use, not in the loop
  for (auto _ : state) {
    open.editor->SetAllControlsDirty();
    benchmark::DoNotOptimize(open.editor->Draw(all));
  }
  const double devicePixels =
      static_cast<double>(open.editor->SurfaceWidth()) * open.editor->SurfaceHeight();
  state.counters["pixels/s"] =
      benchmark::Counter(devicePixels, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(EditorFullRedraw)
    ->Name("Editor/FullRedraw")
    ->Arg(100)
    ->Arg(150)
    ->Arg(200)
    ->Unit(benchmark::kMicrosecond);

void EditorNeedleOnly(benchmark::State& state) {
  OpenEditor open;
  if (!open.editor) {
    state.SkipWithError("no editor on this platform");
    return;
  }
  open.editor->SetStrictDrawing(false);
  open.editor->OnTimerTick(); // everything drawn once; from here only the needle moves
  open.editor->OnTimerTick();
  const int meter = open.plug->MeterControl();
  double position = 0.2;
  for (auto _ : state) {
    position = position > 0.9 ? 0.2 : position + 0.013;
    open.editor->SetControlFromPlug(meter, position);
    benchmark::DoNotOptimize(open.editor->OnTimerTick());
  }
}
BENCHMARK(EditorNeedleOnly)->Name("Editor/NeedleOnly")->Unit(benchmark::kMicrosecond);

void EditorFrameCopyBaseline(benchmark::State& state) {
  LICE_MemBitmap from(TAVO::kEditorWidth, TAVO::kEditorHeight);
  LICE_MemBitmap to(TAVO::kEditorWidth, TAVO::kEditorHeight);
  FillRectangle(&from, 0, 0, TAVO::kEditorWidth, TAVO::kEditorHeight, 0xFF336699u, 1.0f,
                LICE_BLIT_MODE_COPY);
  for (auto _ : state) {
    BlitBitmap(&to, &from, 0, 0, nullptr, 1.0f, LICE_BLIT_MODE_COPY);
    benchmark::ClobberMemory();
  }
  state.counters["pixels/s"] = benchmark::Counter(static_cast<double>(kPixels),
                                                  benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(EditorFrameCopyBaseline)->Name("Editor/FrameCopyBaseline")->Unit(benchmark::kMicrosecond);

} // namespace
