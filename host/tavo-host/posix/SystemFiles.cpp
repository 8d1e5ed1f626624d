#include "host/tavo-host/SystemFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace tavo::host::cli {

const char* ModuleFileName() {
  return "TAVO.so";
}

std::string ProgramFolder() {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : self.parent_path().string();
}

bool StandardErrorIsTerminal() {
  return isatty(STDERR_FILENO) == 1;
}

void MakeOrdinaryFile(int fd) {
  fchmod(fd, 0644); // not the private mode of a temporary
}

bool MoveOver(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

} // namespace tavo::host::cli
