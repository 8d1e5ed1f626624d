// A fresh, private directory for one test's files, removed with everything in it when the
// object goes out of scope. Two runs of the suite at the same time never share one.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace tavo_test {

class ScopedTempDir {
public:
  ScopedTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavo-test-XXXXXX").string();
    if (::mkdtemp(pattern.data())) path_ = pattern;
  }
  ~ScopedTempDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;

  // Empty when no directory could be made; callers then fail on their first file operation.
  const std::filesystem::path& Path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
  std::filesystem::path path_;
};

} // namespace tavo_test
