#pragma once
// The one growable storage type of every layer: texts, lists and byte buffers all sit on it.
//
// A buffer keeps its block while a new size fits the capacity, grows by a reserve when it does
// not, and gives memory back only when asked to and when the new size is well below what it
// holds. Large buffers (granularity 4096 and more) reserve whole pages, at least one and at most
// 4 MiB, and size the block so that capacity + 96 fills whole pages: the 96 bytes leave room for
// the allocator's own header inside the same pages.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

namespace tavo {

class GrowableBuffer {
public:
  static constexpr size_t kDefaultGranularity = 4096;
  static constexpr size_t kTextGranularity = 128;
  static constexpr size_t kPage = 4096;
  static constexpr size_t kMaxReserve = 4u << 20;
  static constexpr size_t kAllocatorSlack = 96;

  explicit GrowableBuffer(size_t granularity = kDefaultGranularity)
      : granularity_(granularity == 0 ? 1 : granularity) {}
  GrowableBuffer(const GrowableBuffer&) = delete;
  GrowableBuffer& operator=(const GrowableBuffer&) = delete;
  GrowableBuffer(GrowableBuffer&& other) noexcept { *this = std::move(other); }
  GrowableBuffer& operator=(GrowableBuffer&& other) noexcept {
    if (this != &other) {
      std::free(data_);
      data_ = std::exchange(other.data_, nullptr);
      size_ = std::exchange(other.size_, 0);
      capacity_ = std::exchange(other.capacity_, 0);
      granularity_ = other.granularity_;
    }
    return *this;
  }
  ~GrowableBuffer() { std::free(data_); }

  void* Data() { return data_; }
  const void* Data() const { return data_; }
  size_t Size() const { return size_; }
  size_t Capacity() const { return capacity_; }
  size_t Granularity() const { return granularity_; }

  // The capacity a buffer of this granularity takes when it has to grow to n bytes.
  size_t CapacityFor(size_t n) const {
    size_t reserve = std::max(n / 2, granularity_);
    if (granularity_ < kPage) return n + reserve;
    reserve = std::clamp(reserve / kPage * kPage, kPage, kMaxReserve);
    const size_t wanted = n + reserve + kAllocatorSlack;
    return (wanted + kPage - 1) / kPage * kPage - kAllocatorSlack;
  }

  // Sets the length to n bytes. Newly exposed bytes are unspecified (callers that need zeros say
  // so with ResizeZeroed). Returns the data, or nullptr when memory ran out; the old contents are
  // kept in that case.
  void* Resize(size_t n, bool allowShrink = false) {
    if (n > capacity_) {
      if (!Reallocate(CapacityFor(n))) return nullptr;
    } else if (allowShrink && n < size_ && n < capacity_ / 2 && n + 4 * granularity_ < capacity_) {
      Reallocate(n == 0 ? 0 : CapacityFor(n));
    }
    size_ = n;
    return data_;
  }

  void* ResizeZeroed(size_t n, bool allowShrink = false) {
    if (!Resize(n, allowShrink)) return nullptr;
    if (n) std::memset(data_, 0, n);
    return data_;
  }

  // Appends n bytes (which may be null to append zeros); false when memory ran out.
  bool Append(const void* bytes, size_t n) {
    const size_t at = size_;
    if (!Resize(at + n)) return false;
    if (n) {
      if (bytes)
        std::memmove(static_cast<char*>(data_) + at, bytes, n);
      else
        std::memset(static_cast<char*>(data_) + at, 0, n);
    }
    return true;
  }

private:
  bool Reallocate(size_t capacity) {
    if (capacity == 0) {
      std::free(data_);
      data_ = nullptr;
      capacity_ = 0;
      return true;
    }
    void* p = std::realloc(data_, capacity);
    if (!p) return false;
    data_ = p;
    capacity_ = capacity;
    return true;
  }

  void* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
  size_t granularity_ = kDefaultGranularity;
};

// A growable array of trivially copyable values (samples, pointers, records) on one buffer.
template <typename T> class GrowableArray {
  static_assert(std::is_trivially_copyable_v<T>, "a growable array moves its elements as bytes");

public:
  explicit GrowableArray(size_t granularity = GrowableBuffer::kDefaultGranularity)
      : buffer_(granularity) {}

  T* Data() { return static_cast<T*>(buffer_.Data()); }
  const T* Data() const { return static_cast<const T*>(buffer_.Data()); }
  int Count() const { return static_cast<int>(buffer_.Size() / sizeof(T)); }
  T* Get(int i) { return (i >= 0 && i < Count()) ? Data() + i : nullptr; }
  const T* Get(int i) const { return (i >= 0 && i < Count()) ? Data() + i : nullptr; }
  T& operator[](int i) { return Data()[i]; }
  const T& operator[](int i) const { return Data()[i]; }
  T* begin() { return Data(); }
  T* end() { return Data() + Count(); }
  const T* begin() const { return Data(); }
  const T* end() const { return Data() + Count(); }

  T* Resize(int n, bool allowShrink = false) {
    return static_cast<T*>(
        buffer_.Resize(static_cast<size_t>(std::max(n, 0)) * sizeof(T), allowShrink));
  }
  T* ResizeZeroed(int n, bool allowShrink = false) {
    return static_cast<T*>(
        buffer_.ResizeZeroed(static_cast<size_t>(std::max(n, 0)) * sizeof(T), allowShrink));
  }
  bool Add(const T& v) { return buffer_.Append(&v, sizeof(T)); }
  void Delete(int i) {
    const int n = Count();
    if (i < 0 || i >= n) return;
    std::memmove(Data() + i, Data() + i + 1, sizeof(T) * static_cast<size_t>(n - i - 1));
    buffer_.Resize(static_cast<size_t>(n - 1) * sizeof(T));
  }
  bool Insert(int i, const T& v) {
    const int n = Count();
    i = std::clamp(i, 0, n);
    if (!buffer_.Resize(static_cast<size_t>(n + 1) * sizeof(T))) return false;
    std::memmove(Data() + i + 1, Data() + i, sizeof(T) * static_cast<size_t>(n - i));
    Data()[i] = v;
    return true;
  }
  void Clear() { buffer_.Resize(0); }
  const GrowableBuffer& Buffer() const { return buffer_; }

private:
  GrowableBuffer buffer_;
};

// A list of owned objects. Elements are deleted last-first, on destruction and on Clear.
template <typename T> class OwnedList {
public:
  OwnedList() = default;
  OwnedList(const OwnedList&) = delete;
  OwnedList& operator=(const OwnedList&) = delete;
  ~OwnedList() { Clear(); }

  int Count() const { return pointers_.Count(); }
  T* Get(int i) const {
    const auto* p = pointers_.Get(i);
    return p ? *p : nullptr;
  }
  // Takes ownership; returns the object's index, or -1 (and deletes it) when memory ran out.
  int Add(std::unique_ptr<T> item) {
    if (!pointers_.Add(item.get())) return -1;
    item.release();
    return Count() - 1;
  }
  int Insert(int index, std::unique_ptr<T> item) {
    if (!pointers_.Insert(index, item.get())) return -1;
    item.release();
    return std::clamp(index, 0, Count() - 1);
  }
  void Delete(int i) {
    T* p = Get(i);
    if (!p) return;
    pointers_.Delete(i);
    delete p;
  }
  void Clear() {
    for (int i = Count() - 1; i >= 0; --i)
      delete pointers_[i];
    pointers_.Clear();
  }
  T* const* begin() const { return pointers_.begin(); }
  T* const* end() const { return pointers_.end(); }

private:
  GrowableArray<T*> pointers_;
};

// A NUL-terminated text on a buffer of granularity 128.
class GrowableText {
public:
  GrowableText() : buffer_(GrowableBuffer::kTextGranularity) {}
  explicit GrowableText(const char* text) : GrowableText() { Set(text); }

  const char* Get() const { return buffer_.Size() ? static_cast<const char*>(buffer_.Data()) : ""; }
  size_t Length() const { return buffer_.Size() ? buffer_.Size() - 1 : 0; }
  bool Set(const char* text) { return Set(text, text ? std::strlen(text) : 0); }
  bool Set(const char* text, size_t length) {
    if (!text || length == 0) {
      buffer_.Resize(0);
      return true;
    }
    char* p = static_cast<char*>(buffer_.Resize(length + 1));
    if (!p) return false;
    std::memmove(p, text, length);
    p[length] = '\0';
    return true;
  }
  bool Append(const char* text) {
    const size_t old = Length();
    const size_t add = text ? std::strlen(text) : 0;
    char* p = static_cast<char*>(buffer_.Resize(old + add + 1));
    if (!p) return false;
    std::memcpy(p + old, text, add);
    p[old + add] = '\0';
    return true;
  }

private:
  GrowableBuffer buffer_;
};

} // namespace tavo
