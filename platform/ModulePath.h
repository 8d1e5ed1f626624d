#pragma once
// Which loaded module (shared object or executable) a piece of code belongs to, and where its
// file is. The module handle is what resource look-ups are keyed by.

#include <cstddef>

namespace tavo::platform {

using ModuleHandle = void*;

// [any thread] The module that contains the given code or data address; null when unknown.
ModuleHandle ModuleOf(const void* address);

// [any thread] The module this platform library is linked into.
ModuleHandle CurrentModule();

// [any thread] Writes the module's file path into out (always NUL-terminated, cut to fit) and
// returns its full length, or 0 when the path cannot be found.
std::size_t ModuleFilePath(ModuleHandle module, char* out, std::size_t outSize);

} // namespace tavo::platform
