// links: tavo_framework
// Host names come from the host: any bytes, any length. The lookup must answer a known code and
// never read past the name or its own buffer.

#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/HostIdentification.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string name(reinterpret_cast<const char*>(data), size);
  const int code = tavo::LookUpHost(name.c_str());
  if (code < 0 || code > 28) __builtin_trap();
  char display[tavo::kHostDisplayNameBytes];
  tavo::HostDisplayName(code, display, sizeof display);
  char line[64];
  tavo::FormatHostTraceLine(code, name.c_str(), static_cast<int32_t>(size), line, sizeof line);
  return 0;
}
