// links: tavo_framework
// State and preset banks come from the host's project files: any bytes must load without
// reading out of bounds, leave every value inside its range, and never crash.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "framework/IPlugBase.h"

namespace {

class FuzzPlug : public tavo::IPlugBase {
public:
  FuzzPlug()
      : IPlugBase(3, "1-1 2-2", 3, "Fuzz", "", "Maker", 0x10000, 1, 2, 0, 0, false, false, 3) {
    GetParam(0)->InitDouble("Gain", 0, -20, 20, 0.1);
    GetParam(1)->InitEnum("Mode", 0, 3);
    GetParam(2)->InitBool("On", false);
  }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tavo::IStateChunk chunk;
  chunk.PutBytes(data, static_cast<int>(size));
  FuzzPlug plug;
  plug.LoadState(&chunk, 0);
  plug.UnserializePresets(&chunk, 0);
  for (int i = 0; i < plug.NParams(); ++i) {
    const tavo::IParameter* p = plug.GetParam(i);
    if (!(p->Value() >= p->Min() && p->Value() <= p->Max())) std::abort();
  }
  tavo::IStateChunk saved;
  plug.SerializePresets(&saved);
  return 0;
}
