// The host extension library stand-in: the module's resource files, host window references,
// the key map and the host's idle step, each found by ordinal (a fixed name per ordinal here).
// It is also the host's window layer on Linux: offscreen editor windows announce their ports
// here while they are open.

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <mutex>

#include "host/engine/StandInControl.h"

using namespace hostabi;

namespace {

constexpr size_t kLongestPath = 1024;
constexpr int16_t kFirstFile = 100;

struct OpenFile {
  std::string path;
  int16_t file;
};

struct Extension {
  std::mutex lock;
  std::vector<OpenFile> open;
  std::vector<standin::ResourceFileEvent> events;
  std::vector<int16_t> switches;
  int16_t current = 0; // 0: the host's own resources
  int16_t nextFile = kFirstFile;
  int errors = 0;
  int idles = 0;
  std::map<void*, void*> windows;
  std::array<uint8_t, 16> keyMap{};
  std::vector<const window::SPosixWindowPort*> ports; // in opening order

  bool IsOpen(int16_t file) const {
    return std::any_of(open.begin(), open.end(), [&](const OpenFile& f) { return f.file == file; });
  }
};

Extension& X() {
  static Extension x;
  return x;
}

} // namespace

extern "C" {

void* HOSTABI_CALL DigiExtOrdinal7(void* hostWindow) {
  std::lock_guard g(X().lock);
  const auto it = X().windows.find(hostWindow);
  if (it == X().windows.end()) {
    ++X().errors;
    return nullptr;
  }
  return it->second;
}

int32_t HOSTABI_CALL DigiExtOrdinal120() {
  std::lock_guard g(X().lock);
  ++X().idles;
  return 0;
}

void HOSTABI_CALL DigiExtOrdinal305(uint8_t map[16]) {
  std::lock_guard g(X().lock);
  if (!map) {
    ++X().errors;
    return;
  }
  std::memcpy(map, X().keyMap.data(), X().keyMap.size());
}

// Opening a resource file makes it the current one, as the host's resource manager does.
int16_t HOSTABI_CALL DigiExtOrdinal6562(const char* path, SwapResourceProc swap) {
  std::lock_guard g(X().lock);
  Extension& x = X();
  const size_t length = path ? strnlen(path, kLongestPath) : 0;
  if (length == 0 || length == kLongestPath) {
    ++x.errors;
    return -1;
  }
  const OpenFile f{std::string(path, length), x.nextFile++};
  x.open.push_back(f);
  x.events.push_back({true, f.path, f.file, swap});
  x.current = f.file;
  x.switches.push_back(f.file);
  return f.file;
}

int16_t HOSTABI_CALL DigiExtOrdinal6563(const char* path) {
  std::lock_guard g(X().lock);
  Extension& x = X();
  const size_t length = path ? strnlen(path, kLongestPath) : 0;
  const std::string p = path ? std::string(path, length) : std::string();
  const auto it =
      std::find_if(x.open.begin(), x.open.end(), [&](const OpenFile& f) { return f.path == p; });
  if (it == x.open.end()) {
    ++x.errors;
    return -1;
  }
  x.events.push_back({false, it->path, it->file, nullptr});
  if (x.current == it->file) x.current = 0;
  x.open.erase(it);
  return 0;
}

int16_t HOSTABI_CALL DigiExtOrdinal6564() {
  std::lock_guard g(X().lock);
  return X().current;
}

void HOSTABI_CALL DigiExtOrdinal6565(int16_t file) {
  std::lock_guard g(X().lock);
  Extension& x = X();
  if (file != 0 && !x.IsOpen(file)) {
    ++x.errors;
    return;
  }
  x.current = file;
  x.switches.push_back(file);
}

void HOSTABI_CALL DigiExtWindowOpened(const window::SPosixWindowPort* port) {
  std::lock_guard g(X().lock);
  if (!port || !port->tick || !port->event || !port->size || !port->readFrame) {
    ++X().errors;
    return;
  }
  std::erase(X().ports, port);
  X().ports.push_back(port);
}

// A window that opened before the last reset is not known any more; its closing is not an error.
void HOSTABI_CALL DigiExtWindowClosed(const window::SPosixWindowPort* port) {
  std::lock_guard g(X().lock);
  std::erase(X().ports, port);
}

} // extern "C"

namespace standin {

void ResetDigiExt() {
  std::lock_guard g(X().lock);
  Extension& x = X();
  x.open.clear();
  x.events.clear();
  x.switches.clear();
  x.current = 0;
  x.nextFile = kFirstFile;
  x.errors = 0;
  x.idles = 0;
  x.windows.clear();
  x.keyMap.fill(0);
  x.ports.clear();
}

std::vector<ResourceFileEvent> ResourceFileEvents() {
  std::lock_guard g(X().lock);
  return X().events;
}

std::vector<int16_t> ResourceFileSwitches() {
  std::lock_guard g(X().lock);
  return X().switches;
}

int32_t LoadResource(int16_t file, int32_t type, std::span<uint8_t> bytes) {
  SwapResourceProc swap = nullptr;
  {
    std::lock_guard g(X().lock);
    Extension& x = X();
    if (!x.IsOpen(file)) {
      ++x.errors;
      return -1;
    }
    for (const auto& e : x.events)
      if (e.open && e.file == file) swap = e.swap;
  }
  return swap ? swap(0, type, 0, bytes.data()) : 0;
}

int16_t CurrentResourceFileForTest() {
  std::lock_guard g(X().lock);
  return X().current;
}

int DigiExtErrorCount() {
  std::lock_guard g(X().lock);
  return X().errors;
}

int IdleCount() {
  std::lock_guard g(X().lock);
  return X().idles;
}

void MapHostWindow(void* hostWindow, void* nativeWindow) {
  std::lock_guard g(X().lock);
  X().windows[hostWindow] = nativeWindow;
}

void UnmapHostWindow(void* hostWindow) {
  std::lock_guard g(X().lock);
  X().windows.erase(hostWindow);
}

std::vector<const window::SPosixWindowPort*> OpenWindowPorts() {
  std::lock_guard g(X().lock);
  return X().ports;
}

// Key code k is bit (k & 7) of byte (k >> 3).
void SetKeyDown(int keyCode, bool down) {
  std::lock_guard g(X().lock);
  if (keyCode < 0 || keyCode >= 128) return;
  const auto bit = static_cast<uint8_t>(1u << (keyCode & 7));
  uint8_t& byte = X().keyMap[static_cast<size_t>(keyCode >> 3)];
  byte = down ? static_cast<uint8_t>(byte | bit) : static_cast<uint8_t>(byte & ~bit);
}

} // namespace standin
