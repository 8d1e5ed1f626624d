#include "rtas/CustomViewFactory.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

namespace {
struct Registration {
  std::string className;
  CustomViewFactory::Maker maker;
};

std::vector<Registration>& Registry() {
  static std::vector<Registration> registry;
  return registry;
}

// The class name of a description: what follows '!' up to '[' or the end.
std::string_view ClassName(const char* description) {
  if (!description || description[0] != '!') return {};
  std::string_view rest(description + 1);
  return rest.substr(0, rest.find('['));
}
} // namespace

void CustomViewFactory::Register(const char* className, Maker maker) {
  if (!className || !maker) return;
  for (const Registration& r : Registry())
    if (r.className == className) return;
  Registry().push_back({className, maker});
}

std::unique_ptr<CPlugInView> CustomViewFactory::Create(const char* description, int32_t width,
                                                       int32_t height) {
  const std::string_view name = ClassName(description);
  if (name.empty()) return nullptr;
  for (const Registration& r : Registry())
    if (r.className == name) return r.maker(width, height);
  return nullptr;
}

void CustomViewFactory::Clear() {
  Registry().clear();
}

} // namespace tavo
