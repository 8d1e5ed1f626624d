#pragma once
// A progress bar on stderr, drawn only when stderr is a terminal and the user did not ask for
// quiet; redrawn at most once per percent.

#include <cstdint>
#include <string>

namespace tavo::host::cli {

class Progress {
public:
  Progress(std::string label, int64_t total, bool wanted);
  ~Progress();
  void Update(int64_t done);
  // Clears the bar's line.
  void Finish();

private:
  std::string label_;
  int64_t total_;
  bool shown_;
  int lastPercent_ = -1;
};

} // namespace tavo::host::cli
