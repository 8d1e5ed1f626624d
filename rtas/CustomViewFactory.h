#pragma once
// Custom views by class name: a view description such as "!IPlugDigiView[('NoID')]" names the
// class after '!' (up to '['); the group registers the classes it provides when it starts, and
// the process adaptor makes its editor's view from a description.

#include <cstdint>
#include <memory>

#include "hostlib/CPlugInView.h"

namespace tavo {

class CustomViewFactory {
public:
  using Maker = std::unique_ptr<CPlugInView> (*)(int32_t width, int32_t height);

  // [main thread] A class registered again keeps its first maker.
  static void Register(const char* className, Maker maker);
  // [main thread] The class named in the description, made at the given size; null for a
  // malformed description or a class nobody registered.
  static std::unique_ptr<CPlugInView> Create(const char* description, int32_t width,
                                             int32_t height);
  // [main thread] Forgets every class (the module is closing).
  static void Clear();
};

} // namespace tavo
