// links: tavo_framework
// Preset blobs arrive as text: decoding must never write past the room it is given, and
// whatever it decodes must encode back to a prefix-compatible text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "framework/Base64.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t room = data[0]; // the byte count a caller would pass
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  std::vector<uint8_t> out(room);
  const size_t written = tavo::Base64Decode(text.c_str(), out);
  if (written > room) std::abort();
  // Round trip: encoding the decoded bytes and decoding again gives them back.
  const std::string again = tavo::Base64Encode(std::span<const uint8_t>(out.data(), written));
  std::vector<uint8_t> back(written);
  if (tavo::Base64Decode(again.c_str(), back) != written ||
      back !=
          std::vector<uint8_t>(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(written))) {
    std::abort();
  }
  return 0;
}
