// The engine renders an instance on its own thread while the host, on the main thread, moves
// the instance's controls, restores its state and opens and closes its editor: every path into
// the plug-in takes its processing lock, so none of this may race with a block.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "../AdaptorFixture.h"

using namespace hostabi;

namespace tavo {
namespace {

class AdaptorRenderWhileHosting : public AdaptorFixture {};

TEST_F(AdaptorRenderWhileHosting, ControlsChunksAndEditorDuringRenderingAreRaceFree) {
  IPlugProcessRTAS& p = MakeProcess();
  ASSERT_EQ(p.Connect(), 0);
  SRenderInstance* instance = p.HostInstance()->Instance();

  int32_t size = 0;
  ASSERT_EQ(p.GetChunkSize(FourCC("TAVO"), &size), 0);
  std::vector<uint8_t> chunk(static_cast<size_t>(size));
  auto* header = reinterpret_cast<SFicPlugInChunk*>(chunk.data());
  ASSERT_EQ(p.GetChunk(FourCC("TAVO"), header), 0);

  SPosixNativeWindow native{304, 416};
  int hostWindow = 0;
  standin::MapHostWindow(&hostWindow, &native);

  std::atomic<bool> stop{false};
  std::atomic<int> blocks{0};
  std::thread engine([&] {
    std::vector<float> in0(32, 0.25f), in1(32, -0.25f), out0(32), out1(32);
    while (!stop.load()) {
      std::vector<float*> buffers{in0.data(), in1.data(), out0.data(), out1.data()};
      if (standin::RenderBlock(instance, buffers, 32, 32)) blocks.fetch_add(1);
    }
  });
  // At least 300 rounds and 10 blocks, but never longer than a few seconds.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  for (int i = 0; (i < 300 || blocks.load() < 10) && std::chrono::steady_clock::now() < deadline;
       ++i) {
    p.SetControlValueFromHost(2 + TAVORTAS::kDrive, (i & 1) ? 2147483647 : 0);
    p.SetControlValueFromHost(2 + TAVORTAS::kVUMode, i * 997);
    p.SetControlValueFromHost(1, (i & 2) ? 1 : 0);
    if (i % 16 == 0) p.SetChunk(FourCC("TAVO"), header);
    if (i % 32 == 0) p.SetEditorWindow(&hostWindow);
    if (i % 32 == 16) p.SetEditorWindow(nullptr);
  }
  stop = true;
  engine.join();
  p.SetEditorWindow(nullptr);
  EXPECT_GT(blocks.load(), 0);
  EXPECT_EQ(standin::ErrorCount(), 0);
}

} // namespace
} // namespace tavo
