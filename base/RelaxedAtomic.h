#pragma once
// A value that one thread writes and another reads without a lock (a parameter's plain value read
// by the editor, a control's position written by the audio thread). Every access is a relaxed
// atomic load or store: no data race, no ordering cost on the audio path, and plain value syntax
// in the code that uses it. Compound assignments are a load followed by a store: each writer owns
// its own updates, so nothing is lost that a lock would have kept.

#include <atomic>

namespace tavo {

template <typename T> class RelaxedAtomic {
public:
  constexpr RelaxedAtomic(T v = T{}) noexcept : v_(v) {}
  RelaxedAtomic(const RelaxedAtomic& other) noexcept : v_(other.load()) {}
  RelaxedAtomic& operator=(const RelaxedAtomic& other) noexcept {
    store(other.load());
    return *this;
  }

  T load() const noexcept { return v_.load(std::memory_order_relaxed); }
  void store(T v) noexcept { v_.store(v, std::memory_order_relaxed); }
  operator T() const noexcept { return load(); }
  RelaxedAtomic& operator=(T v) noexcept {
    store(v);
    return *this;
  }
  RelaxedAtomic& operator+=(T d) noexcept {
    store(load() + d);
    return *this;
  }
  RelaxedAtomic& operator-=(T d) noexcept {
    store(load() - d);
    return *this;
  }

private:
  std::atomic<T> v_;
};

} // namespace tavo
