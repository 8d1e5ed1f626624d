#pragma once
// The process-wide store of the editor's images: one bitmap per resource identifier, shared by
// every editor instance and kept for the life of the module.

#include <functional>

class LICE_IBitmap;

namespace tavo {

class ImageCache {
public:
  // [any thread · takes the cache lock, may block while loading] The bitmap cached for id; on a
  // miss, load() is asked (under the lock, so two editors never load one image twice) and its
  // result, when not null, is kept from then on. The cache owns every bitmap it hands out.
  static LICE_IBitmap* FindOrLoad(int id, const std::function<LICE_IBitmap*()>& load);

  // [any thread · takes the cache lock] The bitmap cached for id, or null; never loads.
  static LICE_IBitmap* Find(int id);
};

} // namespace tavo
