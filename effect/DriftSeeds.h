#pragma once
// Where each instance's drift starts. Every instance of the effect in a process holds one place
// in a fixed sequence of drift seeds for as long as it lives, the lowest place no other living
// instance holds: TAVO on every track of a mix then drifts on every track on its own, the first
// instance of a process drifts exactly as a lone instance always has, and a process that creates
// and deletes its instances in the same order hears the same drifts every time. A place comes
// back when its instance is deleted, so a tool that renders file after file through a new
// instance each time renders each file as it would render it alone.
//
// Claiming and giving back a place are lock-free and allocate nothing; the audio thread never
// does either (the seed is taken once, at construction).

#include <cstddef>
#include <cstdint>

namespace tavo {

// The seed at place `index` of the sequence: DriftRandom::kSeed combined with the place number
// passed through a bijective 64-bit mixer that maps 0 to 0. Place 0 therefore holds kSeed, no two
// places hold the same seed, and neighbouring places' drift sequences are unrelated.
std::uint64_t DriftSeedAt(std::size_t index);

class DriftSeedPlace {
public:
  // Places below this are given back when their instance goes; beyond them (more instances alive
  // at once than any session holds) each new instance takes a place never handed out before.
  static constexpr std::size_t kReusedPlaces = 1024;

  // [any thread · lock-free · no allocation] Takes the lowest free place.
  DriftSeedPlace();
  // [any thread · lock-free] Gives the place back.
  ~DriftSeedPlace();
  DriftSeedPlace(const DriftSeedPlace&) = delete;
  DriftSeedPlace& operator=(const DriftSeedPlace&) = delete;

  // [any thread · lock-free] Gives the place back while the instance lives on: for an instance
  // that never renders (an editor's model of the parameters), which should not change the seed
  // the next instance takes. The seed stays this instance's.
  void GiveBack();

  std::size_t Index() const { return index_; }
  std::uint64_t Seed() const { return DriftSeedAt(index_); }

private:
  std::size_t index_;
  bool held_ = true;
};

} // namespace tavo
