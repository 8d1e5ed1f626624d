#pragma once
// The byte chunk in which a plug-in's state travels to and from the host and sits in preset
// slots. Values are appended at the end and read at an explicit byte position; every read
// returns the position after the value, or -1 when the position is negative or the value would
// run past the end, so one failed read makes the rest of a sequence fail too.
// Multi-byte values are little-endian; doubles are IEEE 754 binary64.
//
// [main thread · not synchronised] A chunk belongs to whoever fills or reads it: the plug-in
// base holds the processing lock while it writes or reads its state; appending may allocate.

#include <cstdint>
#include <cstring>
#include <span>

#include "base/GrowableBuffer.h"

namespace tavo {

class IStateChunk {
public:
  IStateChunk() = default;
  IStateChunk(const IStateChunk&) = delete;
  IStateChunk& operator=(const IStateChunk&) = delete;

  int Size() const { return static_cast<int>(bytes_.Size()); }
  const uint8_t* Data() const { return static_cast<const uint8_t*>(bytes_.Data()); }
  std::span<const uint8_t> Bytes() const { return {Data(), bytes_.Size()}; }
  void Clear() { bytes_.Resize(0); }

  // Appenders answer the new size, or 0 when memory ran out.
  int PutBytes(const void* data, int size);
  int PutInt32(int32_t v);
  int PutDouble(double v);
  int PutBool(bool v);
  int PutString(const char* text); // int32 byte count, then the bytes without terminator
  int PutChunk(const IStateChunk& other);

  int GetBytes(void* out, int size, int pos) const;
  int GetInt32(int32_t* out, int pos) const;
  int GetDouble(double* out, int pos) const;
  int GetBool(bool* out, int pos) const;
  // Replaces `out` only when the count is positive and its bytes are all there; the answer is
  // the position after the bytes whenever the count itself could be read.
  int GetString(GrowableText* out, int pos) const;

private:
  GrowableBuffer bytes_;
};

} // namespace tavo
