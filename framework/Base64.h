#pragma once
// Base64 with the standard alphabet, as preset blobs use it: encoding pads with "=", decoding
// stops at the first character outside the alphabet (padding included) and never writes more
// than the room it is given.
//
// [any thread · may allocate (encoding)] Pure functions of their arguments.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace tavo {

std::string Base64Encode(std::span<const uint8_t> bytes);

// Decodes `text` (NUL-terminated, may be null) into `out`; returns the number of bytes written.
size_t Base64Decode(const char* text, std::span<uint8_t> out);

} // namespace tavo
