#pragma once
// What the format-layer fuzz targets share: the check that ends a run, the output clamp they
// hold the audio to, and the seeds they write with the plug-in itself.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace tavo::fuzz {

// The output clamp at 20, times the last step of the fade-in ramp, plus the noise floor.
inline constexpr float kLoudest = 20.01f;

// A broken property ends the run; the line says which one.
inline void Require(bool condition, const char* file = __builtin_FILE(),
                    int line = __builtin_LINE()) {
  if (condition) return;
  std::fprintf(stderr, "property broken at %s:%d\n", file, line);
  std::abort();
}

// [start-up] With TAVO_FUZZ_WRITE_SEEDS naming a folder, a target writes its seed inputs there,
// made with the plug-in itself, and ends: fuzz/corpus/lv2_* and vst3_* are made so.
inline const char* SeedFolder() {
  return std::getenv("TAVO_FUZZ_WRITE_SEEDS");
}
// [LLVMFuzzerInitialize] Makes the target's host before the first input, so that its set-up is
// not counted against an input; then writes the seeds and ends, when asked to.
template <class MakeHost> int StartTarget(MakeHost& makeHost, void (&writeSeeds)(const char*)) {
  makeHost();
  if (const char* folder = SeedFolder()) {
    writeSeeds(folder);
    std::exit(0);
  }
  return 0;
}
inline void WriteSeed(const char* folder, const char* name, const std::vector<uint8_t>& bytes) {
  const std::string path = std::string(folder) + "/" + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  Require(f != nullptr);
  Require(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
  Require(std::fclose(f) == 0);
}

} // namespace tavo::fuzz
