// The host's main thread works a process while its render thread renders, as in a host; built
// and run under ThreadSanitizer as well.

#include "tests/host/driver/DriverFixture.h"

using namespace tavo::host;
using namespace tavo::host::test;

namespace {

TEST_F(HostDriver, TheMainThreadWorksTheProcessWhileItsRenderThreadRenders) {
  auto p = Create();
  const Stereo in(32 * 2000, 0.3f);
  Stereo out(in.left.size());
  ASSERT_EQ(p->Submit(in.In(), out.Out(), static_cast<int64_t>(in.left.size())), 0);
  std::vector<uint8_t> chunk;
  for (int i = 0; i < 20; ++i) {
    ASSERT_EQ(p->SetControl(kDrive, StepControlValue(i * 50, 1001)), 0);
    ASSERT_EQ(p->SaveChunk(chunk), 0);
    ASSERT_EQ(p->OpenEditor(), 0);
    ASSERT_EQ(p->TickEditor(), 0);
    ASSERT_EQ(p->Drag(84, 168, 84, 160, 2), 0);
    ASSERT_EQ(p->CloseEditor(), 0);
  }
  ASSERT_EQ(p->WaitRendered(), 0);
  for (float s : out.left)
    ASSERT_TRUE(std::isfinite(s));
}

} // namespace
