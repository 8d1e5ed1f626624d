// One thread renders while others change parameters from the editor side and from the host side,
// save and load state, and read the meter needle as the editor does. Run under ThreadSanitizer
// (the linux-tsan preset) this proves the locking and the lock-free needle leave no data race.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "effect/TAVO.h"
#include "graphics/IGraphics.h"
#include "tests/support/HeadlessGraphics.h"

namespace tavo {
namespace {

using test::HeadlessGraphics;
using Knob = test::PlainControl;

TEST(TAVOConcurrency, RenderingSurvivesEditorHostAndStateTraffic) {
  TAVO plug;
  plug.Reset();
  auto editor = std::make_unique<HeadlessGraphics>(&plug);
  editor->AttachControl(std::make_unique<Knob>(&plug, IBounds(0, 0, 10, 10), -1)); // background
  Knob* needle = new Knob(&plug, IBounds(0, 0, 10, 10), -1);
  editor->AttachControl(std::unique_ptr<IControl>(needle)); // the chain's needle goes here
  Knob* drive = new Knob(&plug, IBounds(0, 0, 10, 10), TAVO::kDrive);
  editor->AttachControl(std::unique_ptr<IControl>(drive));
  plug.AttachEditor(std::move(editor));
  ASSERT_EQ(plug.MeterControl(), 1);

  std::atomic<bool> stop{false};
  std::atomic<int> blocks{0};
  std::thread audio([&] {
    std::vector<float> left(32), right(32), outL(32), outR(32);
    float* in[2] = {left.data(), right.data()};
    float* out[2] = {outL.data(), outR.data()};
    for (int block = 0; !stop.load(); ++block) {
      for (int i = 0; i < 32; ++i) {
        left[i] = static_cast<float>(0.5 * std::sin(0.01 * (block * 32 + i)));
        right[i] = -left[i];
      }
      std::lock_guard guard(plug.lock);
      plug.BindInputsFloat(0, 2, in, 32);
      plug.BindOutputsFloat(0, 2, out);
      if (block % 7 == 0)
        plug.RunBypass(32);
      else
        plug.RunProcess(32);
      blocks.fetch_add(1);
    }
  });

  std::thread editorSide([&] {
    for (int i = 0; i < 400; ++i) {
      plug.BeginHostEdit(TAVO::kDrive);
      drive->SetValue((i % 100) / 100.0);
      drive->SetDirty(true); // reports through SetParameterFromGUI under the lock
      plug.EndHostEdit(TAVO::kDrive);
      volatile double shown = needle->Value(); // what a redraw would read
      (void)shown;
      IBounds dirty;
      GraphicsOf(&plug)->IsDirty(dirty);
    }
  });

  std::thread hostSide([&] {
    for (int i = 0; i < 400; ++i) {
      plug.SetParameterFromHost(TAVO::kBypass, i % 2);
      plug.SetParameterFromHost(TAVO::kCrosstalkLevel, -120 + (i % 60));
      plug.SetParameterFromHost(TAVO::kVUMode, i % 3);
      IStateChunk state;
      ASSERT_TRUE(plug.SaveState(&state));
      ASSERT_EQ(plug.LoadState(&state, 0), 64);
    }
  });

  editorSide.join();
  hostSide.join();
  while (blocks.load() < 2000)
    std::this_thread::yield(); // the audio thread really ran alongside
  stop = true;
  audio.join();
  EXPECT_GE(needle->Value(), 0.015);
  EXPECT_LE(needle->Value(), 0.98);
}

} // namespace
} // namespace tavo
