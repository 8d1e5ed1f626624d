// Hosts restore a state and move parameters while the audio thread processes (a project loaded
// during playback, automation drawn while it plays): the processor's instance keeps the two apart
// under its processing lock, and the controller's instance is never the audio thread's.

#include <atomic>
#include <thread>

#include "tests/vst3/Vst3Fixture.h"

namespace tavo::test {
namespace {

using Vst3Concurrency = Vst3Host;

TEST_F(Vst3Concurrency, StateRestoresAndControllerMovesWhileProcessing) {
  PluginPair pair(module.factory);
  Prepare(pair, 2, 128);
  MemoryStream saved;
  ASSERT_EQ(pair.component->getState(&saved), kResultOk);

  std::atomic<bool> stop{false};
  std::atomic<int> blocks{0};
  std::thread audio([&] {
    Channels in = TestSignal(2, 128), out(2, std::vector<float>(128));
    for (int i = 0; !stop.load(); ++i) {
      ProcessBlock(pair.processor, in, out, 0, 128, {{i % 128, 1, (i % 11) / 10.0}});
      for (const auto& channel : out)
        for (float s : channel)
          ASSERT_TRUE(std::isfinite(s));
      blocks.fetch_add(1);
    }
  });
  for (int i = 0; i < 200 || blocks.load() < 50; ++i) {
    MemoryStream restore(saved.bytes);
    restore.step = 1 + i % 9;
    EXPECT_EQ(pair.component->setState(&restore), kResultOk);
    MemoryStream now;
    EXPECT_EQ(pair.component->getState(&now), kResultOk);
    restore.position = 0;
    EXPECT_EQ(pair.controller->setComponentState(&restore), kResultOk);
    EXPECT_EQ(pair.controller->setParamNormalized(i % 8, (i % 5) / 4.0), kResultOk);
  }
  stop.store(true);
  audio.join();
}

} // namespace
} // namespace tavo::test
