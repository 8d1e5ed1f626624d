#pragma once
// Building small PNG files byte by byte, so tests can state exactly what a file holds, and
// reading files whole.

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace drawing_test {

using Bytes = std::vector<unsigned char>;

inline void PutBigEndian(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<unsigned char>(v >> shift));
}

inline void PutChunk(Bytes& out, const char type[5], const Bytes& data) {
  PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
  Bytes body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  PutBigEndian(out,
               static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

inline Bytes Compress(const Bytes& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes out(size);
  compress(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
  out.resize(size);
  return out;
}

// A PNG with the given header fields; rows are the filtered scanlines (filter byte first).
// Extra chunks go between IHDR and IDAT (PLTE, tRNS).
struct PngLayout {
  std::uint32_t width = 1;
  std::uint32_t height = 1;
  unsigned char bitDepth = 8;
  unsigned char colourType = 6;
  Bytes scanlines;
  std::vector<std::pair<std::string, Bytes>> extraChunks;
};

inline Bytes BuildPng(const PngLayout& layout) {
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  PutBigEndian(header, layout.width);
  PutBigEndian(header, layout.height);
  header.insert(header.end(), {layout.bitDepth, layout.colourType, 0, 0, 0});
  PutChunk(out, "IHDR", header);
  for (const auto& [type, data] : layout.extraChunks)
    PutChunk(out, type.c_str(), data);
  PutChunk(out, "IDAT", Compress(layout.scanlines));
  PutChunk(out, "IEND", {});
  return out;
}

inline Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace drawing_test
