#include "graphics/ImageCache.h"

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "drawing/LICE_IBitmap.h"

namespace tavo {

namespace {

struct Store {
  std::mutex lock;
  std::vector<std::pair<int, std::unique_ptr<LICE_IBitmap>>> entries;

  LICE_IBitmap* FindLocked(int id) const {
    for (const auto& [entryId, bitmap] : entries) {
      if (entryId == id) return bitmap.get();
    }
    return nullptr;
  }
};

Store& TheStore() {
  static Store store;
  return store;
}

} // namespace

LICE_IBitmap* ImageCache::FindOrLoad(int id, const std::function<LICE_IBitmap*()>& load) {
  Store& store = TheStore();
  std::lock_guard guard(store.lock);
  if (LICE_IBitmap* cached = store.FindLocked(id)) return cached;
  if (!load) return nullptr;
  std::unique_ptr<LICE_IBitmap> loaded(load());
  if (!loaded) return nullptr;
  LICE_IBitmap* bitmap = loaded.get();
  store.entries.emplace_back(id, std::move(loaded));
  return bitmap;
}

LICE_IBitmap* ImageCache::Find(int id) {
  Store& store = TheStore();
  std::lock_guard guard(store.lock);
  return store.FindLocked(id);
}

} // namespace tavo
