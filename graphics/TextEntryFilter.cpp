#include "graphics/TextEntryFilter.h"

#include "framework/IParameter.h"

namespace tavo {

bool TextEntryAccepts(const IParameter* param, char c) {
  constexpr char kBackspace = '\b';
  if (!param || c == kBackspace) return true;
  const signed char s = static_cast<signed char>(c);
  if ((s >= '0' && s <= '9') || s == '-' || s == '+') return true;
  return s == '.' && param->Kind() == ParamKind::Double;
}

} // namespace tavo
