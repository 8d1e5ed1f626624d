// Embedded resource tables. Each table registers itself during static initialisation of the
// module that carries it; look-ups match the module by the table's own address.

#include "platform/Resources.h"

#include <cstring>
#include <mutex>
#include <vector>

namespace tavo::platform {
namespace {

struct Table {
  ModuleHandle module;
  std::span<const EmbeddedResource> entries;
};

struct Registry {
  std::mutex lock;
  std::vector<Table> tables;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

} // namespace

void RegisterEmbeddedResources(std::span<const EmbeddedResource> table) {
  if (table.empty()) return;
  Registry& registry = TheRegistry();
  const std::lock_guard<std::mutex> guard(registry.lock);
  registry.tables.push_back(Table{ModuleOf(table.data()), table});
}

std::span<const unsigned char> FindModuleResource(ModuleHandle module, const char* type, int id) {
  if (!type) return {};
  Registry& registry = TheRegistry();
  const std::lock_guard<std::mutex> guard(registry.lock);
  for (const Table& table : registry.tables) {
    if (module && table.module != module) continue;
    for (const EmbeddedResource& entry : table.entries) {
      if (entry.id == id && entry.type && std::strcmp(entry.type, type) == 0 && entry.data)
        return {entry.data, entry.size};
    }
  }
  return {};
}

} // namespace tavo::platform
