// links: tavo_lv2
// A host session hands the LV2 plug-in whatever it holds under the plug-in's key: a save of
// this version, of another plug-in or of a damaged file, of any type and size, through the state
// interface as a host calls it. The plug-in restores it or refuses it. A refusal is logged and
// leaves the settings exactly as they were; a restored state saves again, restores to the same
// bytes, and either way the instance renders finite audio within the output clamp.
//
// An input is one byte saying how the host offers the state, then the state's bytes:
//   bit 0     the stereo plug-in (else the mono one)
//   bits 1-2  the type: atom:Chunk, atom:Int, atom:Double, or a number the host never mapped
//   bit 3     the key is absent (a state of the ports alone)

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "fuzz/LV2FuzzHost.h"

using namespace tavo;
using namespace tavo::fuzz;

namespace {

constexpr uint8_t kStereo = 1u << 0;
constexpr int kTypeShift = 1;
constexpr uint8_t kTypeMask = 3u << kTypeShift;
constexpr uint8_t kAbsent = 1u << 3;
constexpr LV2_URID kNeverMapped = 0xFFFF;
constexpr uint32_t kBlock = 32;

struct Host {
  LV2FuzzHost host;
  LV2FuzzInstance mono{host, 1, 44100.0};
  LV2FuzzInstance stereo{host, 2, 96000.0};
};

Host& TheHost() {
  static Host host;
  return host;
}

LV2_URID TypeOf(const LV2FuzzHost& host, uint8_t how) {
  switch ((how & kTypeMask) >> kTypeShift) {
  case 0:
    return host.atomChunk;
  case 1:
    return host.atomInt;
  case 2:
    return host.atomDouble;
  default:
    return kNeverMapped;
  }
}

std::vector<uint8_t> Seed(uint8_t how, const std::vector<uint8_t>& state) {
  std::vector<uint8_t> seed{how};
  seed.insert(seed.end(), state.begin(), state.end());
  return seed;
}

// A save of the plug-in at its defaults and one of a session's settings, offered as they were
// saved, under another type, and absent.
void WriteSeeds(const char* folder) {
  LV2FuzzInstance& stereo = TheHost().stereo;
  const std::vector<uint8_t> defaults = stereo.Save();
  for (int i = 0; i < TAVOParams::kNumParams; ++i)
    stereo.Port(stereo.Layout().Param(i)) = kSessionPorts[i];
  stereo.Run(kBlock);
  const std::vector<uint8_t> session = stereo.Save();
  Require(session != defaults);
  WriteSeed(folder, "defaults", Seed(kStereo, defaults));
  WriteSeed(folder, "session", Seed(kStereo, session));
  WriteSeed(folder, "session_mono", Seed(0, session));
  WriteSeed(folder, "session_as_int", Seed(kStereo | 1u << kTypeShift, session));
  WriteSeed(folder, "absent", Seed(kStereo | kAbsent, {}));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  return StartTarget(TheHost, WriteSeeds);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Host& h = TheHost();
  const uint8_t how = size > 0 ? data[0] : 0;
  const uint8_t* bytes = size > 0 ? data + 1 : data;
  const size_t length = size > 0 ? size - 1 : 0;
  LV2FuzzInstance& instance = how & kStereo ? h.stereo : h.mono;
  instance.Fresh();
  const std::vector<uint8_t> before = instance.Save();
  h.host.logLines = 0;

  const LV2_URID type = TypeOf(h.host, how);
  const LV2_State_Status status = instance.Restore(how & kAbsent ? nullptr : bytes, length, type);
  if (how & kAbsent) {
    // The ports carry the settings: nothing to refuse, nothing changed.
    Require(status == LV2_STATE_SUCCESS && instance.Save() == before);
  } else if (status == LV2_STATE_SUCCESS) {
    Require(type == h.host.atomChunk && length == before.size());
    const std::vector<uint8_t> saved = instance.Save();
    Require(instance.Restore(saved.data(), saved.size(), type) == LV2_STATE_SUCCESS);
    Require(instance.Save() == saved);
  } else {
    Require(status == LV2_STATE_ERR_BAD_TYPE || status == LV2_STATE_ERR_UNKNOWN);
    Require(h.host.logLines > 0 && instance.Save() == before);
  }

  for (int c = 0; c < instance.Layout().channels; ++c)
    for (uint32_t i = 0; i < kBlock; ++i)
      instance.In(c)[i] = 0.5f * std::sin(0.3f * static_cast<float>(i + 7 * c));
  instance.Run(kBlock);
  instance.CheckOutputs(kBlock);
  instance.CheckSettings();
  return 0;
}
