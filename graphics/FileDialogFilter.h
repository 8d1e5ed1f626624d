#pragma once
// What a file dialog offers for a space-separated list of extensions without dots: the pattern
// "*.a;*.b" (one piece per extension, at most 126 characters; a piece that does not fit whole is
// left out) and the default extension, the first word (at most 15 characters). No extensions
// give neither.

#include <string>

namespace tavo {

struct FileDialogFilter {
  static constexpr size_t kMaxPattern = 126;
  static constexpr size_t kMaxDefaultExtension = 15;

  std::string pattern;
  std::string defaultExtension;

  // The dialog's filter list: one entry whose description and pattern are both the pattern,
  // each NUL-terminated, closed by a second NUL; empty without a pattern.
  std::string DialogFilterList() const;
};

// [any thread] Null or blank extensions give an empty filter.
FileDialogFilter BuildFileDialogFilter(const char* extensions);

} // namespace tavo
