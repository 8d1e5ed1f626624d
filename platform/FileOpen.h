#pragma once
// Opening a file named by a UTF-8 path. On Windows a narrow path would be read in the system's
// code page, so the path goes through UTF-16; on Linux paths are bytes and pass unchanged.

#include <cstdio>

namespace tavo::platform {

// [any thread · may block] Like std::fopen, with the path in UTF-8. Null when the file cannot be
// opened. The caller closes the file with std::fclose.
std::FILE* OpenFile(const char* utf8Path, const char* mode);

} // namespace tavo::platform
