#pragma once
// The module's own resources, found by type and integer identifier. On Windows they are the
// module's resource section; on Linux they are files embedded at build time (see
// resources/EmbedResources.cmake), each table registered with the module that carries it.

#include "platform/ModulePath.h"

#include <cstddef>
#include <span>

namespace tavo::platform {

struct EmbeddedResource {
  const char* type; // "PNG"
  int id;
  const unsigned char* data;
  std::size_t size;
};

// [any thread · may block briefly] The bytes of resource (type, id) of the module, or an empty
// span when there is none. A null module searches every module's resources. The bytes live as
// long as the module.
std::span<const unsigned char> FindModuleResource(ModuleHandle module, const char* type, int id);

// [static initialisation] Adds a table of embedded resources to the module that holds the table
// itself. The table must outlive the module (it is static data of the module).
void RegisterEmbeddedResources(std::span<const EmbeddedResource> table);

} // namespace tavo::platform
