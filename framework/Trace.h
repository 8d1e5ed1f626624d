#pragma once
// The trace hook: framework operations report what they do with their qualified name, a line
// number and a printf-style message. The product discards every line; tests may install a sink
// to watch what happened.

#include <cstdarg>

namespace tavo {

using TraceSink = void (*)(const char* function, int line, const char* message);

// [any thread] Installs a sink (nullptr restores the default, which discards). Not meant to be
// changed while other threads trace.
void SetTraceSink(TraceSink sink);

// [any thread · lock-free when no sink is installed] Formats and forwards one line.
void Trace(const char* function, int line, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

} // namespace tavo
