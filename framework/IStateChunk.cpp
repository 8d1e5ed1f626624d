#include "framework/IStateChunk.h"

#include <bit>

namespace tavo {

namespace {

static_assert(std::endian::native == std::endian::little,
              "state chunks store the processor's own little-endian layout");

// True when `size` bytes can be read at `pos` of a chunk of `total` bytes.
bool Fits(int pos, int size, int total) {
  return pos >= 0 && size >= 0 && static_cast<int64_t>(pos) + size <= total;
}

} // namespace

int IStateChunk::PutBytes(const void* data, int size) {
  if (size < 0) return 0;
  if (!bytes_.Append(data, static_cast<size_t>(size))) return 0;
  return Size();
}

int IStateChunk::PutInt32(int32_t v) {
  return PutBytes(&v, sizeof v);
}
int IStateChunk::PutDouble(double v) {
  return PutBytes(&v, sizeof v);
}

int IStateChunk::PutBool(bool v) {
  const uint8_t byte = v ? 1 : 0;
  return PutBytes(&byte, 1);
}

int IStateChunk::PutString(const char* text) {
  const size_t length = text ? std::strlen(text) : 0;
  if (length > INT32_MAX) return 0;
  const int32_t n = static_cast<int32_t>(length);
  if (!PutInt32(n)) return 0;
  return PutBytes(text, n);
}

int IStateChunk::PutChunk(const IStateChunk& other) {
  if (&other == this) {
    // Appending a chunk to itself: copy first, the append may move the block.
    GrowableBuffer copy;
    if (!copy.Append(Data(), bytes_.Size())) return 0;
    return PutBytes(copy.Data(), static_cast<int>(copy.Size()));
  }
  return PutBytes(other.Data(), other.Size());
}

int IStateChunk::GetBytes(void* out, int size, int pos) const {
  if (!Fits(pos, size, Size())) return -1;
  if (size) std::memcpy(out, Data() + pos, static_cast<size_t>(size));
  return pos + size;
}

int IStateChunk::GetInt32(int32_t* out, int pos) const {
  return GetBytes(out, sizeof *out, pos);
}
int IStateChunk::GetDouble(double* out, int pos) const {
  return GetBytes(out, sizeof *out, pos);
}

int IStateChunk::GetBool(bool* out, int pos) const {
  uint8_t byte = 0;
  pos = GetBytes(&byte, 1, pos);
  if (pos >= 0) *out = byte != 0;
  return pos;
}

int IStateChunk::GetString(GrowableText* out, int pos) const {
  int32_t n = 0;
  pos = GetInt32(&n, pos);
  if (pos < 0) return -1;
  if (n > 0 && Fits(pos, n, Size())) out->Set(reinterpret_cast<const char*>(Data() + pos), n);
  if (n < 0 || static_cast<int64_t>(pos) + n > INT32_MAX) return -1;
  return pos + n;
}

} // namespace tavo
