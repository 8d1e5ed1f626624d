// The audio thread moves the needle's control at the end of every block while the editor is
// resized on the main thread; the control list must never be seen half-cleared.

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "tests/support/HeadlessGraphics.h"
#include "tests/support/TestPlug.h"

namespace tavo {
namespace {

TEST(ResizeWhileMetering, TheAudioThreadNeverSeesAHalfClearedControlList) {
  test::TestPlug plug;
  test::HeadlessGraphics editor(&plug, 100, 100);
  auto addControls = [&] {
    for (int i = 0; i < 8; ++i)
      editor.AttachControl(
          std::make_unique<test::PlainControl>(&plug, IBounds(i, 0, i + 4, 4), -1));
  };
  addControls();

  std::atomic<bool> stop{false};
  std::thread audio([&] {
    for (int block = 0; !stop.load(); ++block) {
      const std::lock_guard<std::recursive_mutex> held(plug.lock);
      editor.SetControlFromPlug(7, (block % 100) / 100.0);
    }
  });
  for (int i = 0; i < 200; ++i) {
    editor.Resize(100 + (i & 1), 100);
    addControls();
  }
  stop = true;
  audio.join();
  EXPECT_EQ(editor.NControls(), 8);
}

} // namespace
} // namespace tavo
