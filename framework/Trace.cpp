#include "framework/Trace.h"

#include <atomic>
#include <cstdio>

namespace tavo {

namespace {
std::atomic<TraceSink> gSink{nullptr};
}

void SetTraceSink(TraceSink sink) {
  gSink.store(sink, std::memory_order_release);
}

void Trace(const char* function, int line, const char* format, ...) {
  const TraceSink sink = gSink.load(std::memory_order_acquire);
  if (!sink) return;
  char message[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof message, format, args);
  va_end(args);
  sink(function, line, message);
}

} // namespace tavo
