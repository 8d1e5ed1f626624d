// The engine renders on its own thread while the host moves controls on the main thread: the
// bypass flag and the rendered mark cross between them and must do so without a data race.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "../HostFixture.h"

class RenderWhileControlling : public HostFixture {};

TEST_F(RenderWhileControlling, BypassChangesDuringRenderingAreRaceFree) {
  auto p = MakeProcess();
  ASSERT_EQ(p->Connect(), 0);
  hostabi::SRenderInstance* instance = p->HostInstance()->Instance();

  std::atomic<bool> stop{false};
  std::atomic<int> blocks{0};
  std::thread engine([&] {
    std::vector<float> in0(32, 1.0f), in1(32, 1.0f), out0(32), out1(32);
    while (!stop.load()) {
      std::vector<float*> buffers{in0.data(), in1.data(), out0.data(), out1.data()};
      if (standin::RenderBlock(instance, buffers, 32, 32)) blocks.fetch_add(1);
    }
  });
  // At least 2000 changes and 10 blocks, but never longer than a few seconds.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  for (int i = 0; (i < 2000 || blocks.load() < 10) && std::chrono::steady_clock::now() < deadline;
       ++i)
    p->SetControlValueFromHost(1, (i & 1) ? kHighest : kLowest);
  stop = true;
  engine.join();
  EXPECT_TRUE(p->HasRendered());
  EXPECT_GT(blocks.load(), 0);
  EXPECT_EQ(standin::ErrorCount(), 0);
}
