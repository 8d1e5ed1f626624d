// links: tavo_host_driver
// A session file hands the module whatever chunk it holds: the set-chunk and compare-chunk
// routines of the loaded module (TAVO.so beside the engine stand-ins, reached through the host
// driver) must answer 0 or the chunk refusal, never read past the size field, and leave a
// process whose state saves, compares equal to itself and renders finite audio.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "host/driver/HostDriver.h"
#include "host/engine/StandInControl.h"

using namespace tavo::host;
namespace sel = hostabi::selector;

namespace {

// The output clamp at 20, times the last step of the fade-in ramp, plus the noise floor.
constexpr float kLoudest = 20.01f;

void Require(bool condition) {
  if (!condition) std::abort();
}

// The module and one stereo process, made on first use: after the engine stand-ins' own state,
// so that at exit they go first and the process is destroyed while the engine is still there.
struct Host {
  std::unique_ptr<HostModule> module;
  std::unique_ptr<HostProcess> process;
  std::vector<uint8_t> defaults;
  Host() {
    standin::ResetAll();
    Require(HostModule::Load(TAVO_MODULE_FILE, module) == 0);
    Require(module->CreateProcess({}, process) == 0);
    Require(process->SaveChunk(defaults) == 0);
  }
};

Host& TheHost() {
  static Host host;
  return host;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  TheHost();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& [module, process, defaults] = TheHost();
  // Each input starts from the same state, so that a crash replays from its input alone; the
  // engine's record of the messages of earlier inputs goes with it.
  Require(process->RestoreChunk(defaults) == 0);
  standin::ClearDispatchedMessages();

  // The bytes as a host hands them over: at least a header's worth of memory, and a size field
  // that never claims more than the bytes there are.
  const size_t records =
      std::max<size_t>(size, hostabi::kChunkHeaderBytes) / sizeof(hostabi::SFicPlugInChunk) + 1;
  std::vector<hostabi::SFicPlugInChunk> store(records);
  if (size > 0) std::memcpy(store.data(), data, size);
  hostabi::SFicPlugInChunk* chunk = store.data();
  if (size < sizeof chunk->size || static_cast<int64_t>(chunk->size) > static_cast<int64_t>(size))
    chunk->size = static_cast<int32_t>(size);

  void* target = process->Handle();
  const hostabi::SFicPlugInChunk* given = chunk;
  uint8_t equal = 2;
  const int32_t compared =
      module->Call(sel::kProcessCompareChunk, target, chunk->chunkID, given, &equal);
  Require(compared == 0 || compared == hostabi::kErrChunk);
  Require(compared != 0 || equal <= 1);
  const int32_t set = module->Call(sel::kProcessSetChunk, target, chunk->chunkID, given);
  Require(set == 0 || set == hostabi::kErrChunk);
  // Both routines read the same bytes: one refuses exactly what the other refuses.
  Require((set == 0) == (compared == 0));

  // Whatever was restored saves, compares equal to its own save, restores to the same bytes
  // and renders finite audio within the output clamp.
  std::vector<uint8_t> saved, again;
  Require(process->SaveChunk(saved) == 0);
  bool same = false;
  Require(process->CompareChunk(saved, same) == 0 && same);
  Require(process->RestoreChunk(saved) == 0);
  Require(process->SaveChunk(again) == 0 && again == saved);
  std::vector<float> in(32), left(32), right(32);
  for (size_t i = 0; i < in.size(); ++i)
    in[i] = 0.5f * std::sin(0.3f * static_cast<float>(i));
  const float* ins[] = {in.data(), in.data()};
  float* outs[] = {left.data(), right.data()};
  Require(process->RenderBlockHere(ins, outs, 32) == 0);
  for (size_t i = 0; i < in.size(); ++i)
    Require(std::isfinite(left[i]) && std::fabs(left[i]) <= kLoudest && std::isfinite(right[i]) &&
            std::fabs(right[i]) <= kLoudest);
  // Nothing the module did on the way was something the engine refuses.
  Require(standin::ErrorCount() == 0 && standin::DigiExtErrorCount() == 0);
  return 0;
}
