#include "host/tavo-host/SystemFiles.h"

#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace tavo::host::cli {

const char* ModuleFileName() {
  return "TAVO.dll";
}

std::string ProgramFolder() {
  std::vector<char> path(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) return std::filesystem::path(path.data()).parent_path().string();
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

bool StandardErrorIsTerminal() {
  return _isatty(_fileno(stderr)) != 0;
}

// A new file takes its folder's permissions on Windows; there is nothing to widen.
void MakeOrdinaryFile(int) {}

// The C library's rename refuses an existing target on Windows; the system replaces it.
bool MoveOver(const std::string& from, const std::string& to) {
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  errno = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
  return false;
}

} // namespace tavo::host::cli
