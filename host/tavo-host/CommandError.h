#pragma once
// What a command answers when it cannot do its job: one line for the user, and the exit status.

#include <stdexcept>
#include <string>

namespace tavo::host::cli {

class CommandError : public std::runtime_error {
public:
  static constexpr int kFailed = 1;
  static constexpr int kInterrupted = 130; // as a shell reports a program stopped by Ctrl-C

  explicit CommandError(const std::string& message, int exitStatus = kFailed)
      : std::runtime_error(message), exitStatus_(exitStatus) {}
  int ExitStatus() const { return exitStatus_; }

private:
  int exitStatus_;
};

} // namespace tavo::host::cli
