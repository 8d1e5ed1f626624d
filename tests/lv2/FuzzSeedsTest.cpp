// The seeds of the LV2 state fuzz target are saves the plug-in made: each restores into a new
// instance as a host would restore it, to the settings it was saved with. When the state's layout
// changes they go stale (the fuzzer would only ever see refusals) and are made again with
// `TAVO_FUZZ_WRITE_SEEDS=fuzz/corpus/lv2_state build/fuzz/fuzz/fuzz_lv2_state`.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "LV2HostFixture.h"

namespace tavo::test {
namespace {

// The seed's bytes after its first byte, which says how the fuzz target offers them.
std::vector<uint8_t> SavedState(const char* seed) {
  std::ifstream file(std::string(TAVO_SOURCE_DIR "/fuzz/corpus/lv2_state/") + seed,
                     std::ios::binary);
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
  if (!bytes.empty()) bytes.erase(bytes.begin());
  return bytes;
}

TEST(LV2FuzzSeeds, AreSavesThePlugInRestores) {
  LV2Host host;
  LV2Instance fresh(host, 2);
  ASSERT_TRUE(fresh.Valid());
  EXPECT_EQ(SavedState("defaults"), fresh.Save().bytes);

  // The session's settings, as the seed writer set them through the control ports.
  const double session[] = {6.0, 7.5, -4.5, 2.5, 3.0, -75.0, 2.0, 0.0};
  for (const char* seed : {"session", "session_mono"}) {
    LV2Instance restored(host, 2);
    LV2Instance::Saved saved = fresh.Save();
    saved.bytes = SavedState(seed);
    ASSERT_EQ(restored.Restore(saved), LV2_STATE_SUCCESS) << seed;
    for (int i = 0; i < TAVOParams::kNumParams; ++i)
      EXPECT_DOUBLE_EQ(restored.Plug()->GetParam(i)->Value(), session[i]) << seed << " " << i;
  }
}

} // namespace
} // namespace tavo::test
