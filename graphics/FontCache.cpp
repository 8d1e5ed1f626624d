#include "graphics/FontCache.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "base/FixedText.h"
#include "drawing/LICE_CachedFont.h"

namespace tavo {

namespace {

constexpr int kBoldWeight = 700;
constexpr int kNormalWeight = 400;
constexpr int kTenthsPerDegree = 10;
// The editor draws natively where it can, and the font owns its system handle.
constexpr int kEditorFontFlags = LICE_FONT_FLAG_OWNS_HFONT | LICE_FONT_FLAG_FORCE_NATIVE;

struct Entry {
  int32_t size;
  int32_t orientation;
  int32_t style;
  char face[sizeof(ITextStyle::face)];
  std::unique_ptr<LICE_CachedFont> font;

  bool Matches(const ITextStyle& s, const char* key) const {
    return size == s.size && orientation == s.orientation && style == s.style &&
           std::strcmp(face, key) == 0;
  }
};

struct Store {
  std::mutex lock;
  std::vector<Entry> entries;
};

Store& TheStore() {
  // Fonts live as long as the module; each keeps its glyph source alive until it is released.
  static Store store;
  return store;
}

} // namespace

LICE_CachedFont* FontCache::FontFor(const ITextStyle& s) {
  // The style's face field may lack its terminator; the key keeps at most 31 characters.
  char bounded[sizeof s.face + 1] = {};
  std::memcpy(bounded, s.face, sizeof s.face);
  Entry entry{s.size, s.orientation, s.style, {}, nullptr};
  CopyText(entry.face, bounded);

  Store& store = TheStore();
  std::lock_guard guard(store.lock);
  for (const Entry& e : store.entries) {
    if (e.Matches(s, entry.face)) return e.font.get();
  }

  LICE_FontStyle wanted;
  wanted.face = entry.face;
  wanted.height = s.size;
  wanted.weight = s.style == ITextStyle::kBold ? kBoldWeight : kNormalWeight;
  wanted.italic = s.style == ITextStyle::kItalic;
  wanted.escapement = s.orientation * kTenthsPerDegree;
  wanted.quality = s.quality;
  LICE_FontHandle handle = LICE_CreateFont(wanted);
  if (!handle) return nullptr;
  entry.font = std::make_unique<LICE_CachedFont>();
  entry.font->SetFont(handle, kEditorFontFlags);
  store.entries.push_back(std::move(entry));
  return store.entries.back().font.get();
}

} // namespace tavo
