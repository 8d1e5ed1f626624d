// Redrawing TAVO's editor offscreen: everything at once, and the needle alone as the meter moves
// it 25 times a second. A full-surface copy is the baseline.

#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "drawing/LICE_MemBitmap.h"
#include "drawing/LICE_Raster.h"
#include "effect/TAVO.h"
#include "graphics/posix/IGraphicsLinux.h"
#include "platform/Resources.h"

namespace {

using namespace tavo;

// The benchmark program does not carry the artwork as a module resource, so it registers the
// files of the source tree as its resources before anything runs.
struct ArtworkFromSourceTree {
  std::array<std::vector<unsigned char>, 7> bytes;
  std::array<platform::EmbeddedResource, 7> table{};

  ArtworkFromSourceTree() {
    const auto folder =
        std::filesystem::path(__FILE__).parent_path().parent_path() / "resources" / "img";
    const char* names[] = {"VUBG1.png",   "BG1.png",     "LED.png",   "KnobS1.png",
                           "InGain1.png", "Needle1.png", "Bypass.png"};
    for (size_t i = 0; i < bytes.size(); ++i) {
      std::ifstream in(folder / names[i], std::ios::binary);
      bytes[i].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      table[i] = {"PNG", 101 + static_cast<int>(i), bytes[i].data(), bytes[i].size()};
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

void EditorFullRedraw(benchmark::State& state) {
  OpenEditor open;
  if (!open.editor) {
    state.SkipWithError("no editor on this platform");
    return;
  }
  const IBounds all(0, 0, TAVO::kEditorWidth, TAVO::kEditorHeight);
  for (auto _ : state) {
    open.editor->SetAllControlsDirty();
    benchmark::DoNotOptimize(open.editor->Draw(all));
  }
  state.counters["pixels/s"] = benchmark::Counter(static_cast<double>(kPixels),
                                                  benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(EditorFullRedraw)->Name("Editor/FullRedraw")->Unit(benchmark::kMicrosecond);

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
