#include "graphics/FileDialogFilter.h"

#include <sstream>

namespace tavo {

std::string FileDialogFilter::DialogFilterList() const {
  if (pattern.empty()) return {};
  std::string list = pattern;
  list.push_back('\0');
  list += pattern;
  list.push_back('\0');
  list.push_back('\0');
  return list;
}

FileDialogFilter BuildFileDialogFilter(const char* extensions) {
  FileDialogFilter filter;
  if (!extensions) return filter;
  std::istringstream words(extensions);
  std::string word;
  while (words >> word) {
    if (filter.defaultExtension.empty())
      filter.defaultExtension = word.substr(0, FileDialogFilter::kMaxDefaultExtension);
    const std::string piece = (filter.pattern.empty() ? "*." : ";*.") + word;
    if (filter.pattern.size() + piece.size() <= FileDialogFilter::kMaxPattern)
      filter.pattern += piece;
  }
  return filter;
}

} // namespace tavo
