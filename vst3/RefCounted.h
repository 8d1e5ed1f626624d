#pragma once
// The reference count every object this layer hands a host carries: one reference from
// creation, owned by the creator; the last release deletes the object.

#include <atomic>
#include <cstdint>

namespace tavo::vst3 {

class RefCount {
public:
  // [any thread · lock-free]
  uint32_t Add() { return count_.fetch_add(1, std::memory_order_relaxed) + 1; }
  // The count left; at 0 the caller deletes the object.
  uint32_t Release() { return count_.fetch_sub(1, std::memory_order_acq_rel) - 1; }

private:
  std::atomic<uint32_t> count_{1};
};

} // namespace tavo::vst3
