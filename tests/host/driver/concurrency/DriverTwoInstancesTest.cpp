// Two inserts of the effect, each on its own real-time thread, as a host runs two tracks; built
// and run under ThreadSanitizer as well.

#include <random>

#include "tests/host/driver/DriverFixture.h"

using namespace tavo::host;
using namespace tavo::host::test;

namespace {

TEST_F(HostDriver, TwoInstancesRenderOnTwoThreadsWithoutHearingEachOther) {
  const Stereo in(32 * 600, 0.5f);
  // What the first and the second of two living instances make of the input on their own: each
  // drifts from a seed of its own, taken in the order the instances are created.
  Stereo aloneFirst(in.left.size()), aloneSecond(in.left.size());
  {
    auto first = Create();
    auto second = Create();
    ASSERT_EQ(first->SetControl(kDrive, INT32_MAX), 0);
    ASSERT_EQ(second->SetControl(kDrive, INT32_MAX), 0);
    aloneFirst = Render(*first, in);
    aloneSecond = Render(*second, in);
  }
  EXPECT_NE(aloneFirst.left, aloneSecond.left); // two tracks do not drift in lockstep
  auto a = Create();
  auto b = Create();
  ASSERT_EQ(a->SetControl(kDrive, INT32_MAX), 0);
  ASSERT_EQ(b->SetControl(kDrive, INT32_MAX), 0);
  Stereo outA(in.left.size()), outB(in.left.size());
  const auto frames = static_cast<int64_t>(in.left.size());
  ASSERT_EQ(a->Submit(in.In(), outA.Out(), frames), 0);
  ASSERT_EQ(b->Submit(in.In(), outB.Out(), frames), 0);
  ASSERT_EQ(a->WaitRendered(), 0);
  ASSERT_EQ(b->WaitRendered(), 0);
  EXPECT_EQ(outA.left, aloneFirst.left);
  EXPECT_EQ(outB.right, aloneSecond.right);

  // Again, while the main thread moves every control of one at random and works the editor of
  // the other.
  ASSERT_EQ(a->Submit(in.In(), outA.Out(), frames), 0);
  ASSERT_EQ(b->Submit(in.In(), outB.Out(), frames), 0);
  std::mt19937 random(11);
  for (int move = 0; move < 200; ++move) {
    ASSERT_EQ(a->SetControl(2 + move % 8, static_cast<int32_t>(random())), 0);
    if (move % 40 == 0) {
      ASSERT_EQ(b->OpenEditor(), 0);
      ASSERT_EQ(b->TickEditor(), 0);
      ASSERT_EQ(b->CloseEditor(), 0);
    }
  }
  ASSERT_EQ(a->WaitRendered(), 0);
  ASSERT_EQ(b->WaitRendered(), 0);
  for (const std::vector<float>* samples : {&outA.left, &outA.right, &outB.left})
    for (float s : *samples)
      ASSERT_TRUE(std::isfinite(s) && std::fabs(s) <= 20.01f) << s;
}

} // namespace
