#include "host/tavo-host/Progress.h"

#include <algorithm>
#include <cstdio>

#include "host/tavo-host/SystemFiles.h"

namespace tavo::host::cli {

namespace {
constexpr int kBarWidth = 30;
}

Progress::Progress(std::string label, int64_t total, bool wanted)
    : label_(std::move(label)), total_(total), shown_(wanted && StandardErrorIsTerminal()) {}

Progress::~Progress() {
  Finish();
}

void Progress::Update(int64_t done) {
  if (!shown_) return;
  const int percent =
      total_ > 0 ? static_cast<int>(std::clamp<int64_t>(done * 100 / total_, 0, 100)) : 100;
  if (percent == lastPercent_) return;
  lastPercent_ = percent;
  const int filled = percent * kBarWidth / 100;
  std::fprintf(stderr, "\r[%.*s%.*s] %3d%% %s", filled, "##############################",
               kBarWidth - filled, "                              ", percent, label_.c_str());
  std::fflush(stderr);
}

void Progress::Finish() {
  if (!shown_ || lastPercent_ < 0) return;
  std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
  lastPercent_ = -1;
}

} // namespace tavo::host::cli
