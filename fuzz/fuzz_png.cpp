// links: tavo_drawing
// Arbitrary bytes through the PNG memory loader: it must return null or a whole image, never
// crash, leak or read outside its input; and decoding into a caller's bitmap must agree.

#include "drawing/LICE_MemBitmap.h"
#include "drawing/LICE_Png.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::unique_ptr<LICE_IBitmap> created(LoadPngFromMemory(data, size, nullptr));
  LICE_MemBitmap mine(3, 3, 4);
  LICE_IBitmap* into = LoadPngFromMemory(data, size, &mine);
  if (created) {
    if (created->Width() <= 0 || created->Height() <= 0 || !created->PixelData()) std::abort();
    if (into != &mine || mine.Width() != created->Width() || mine.Height() != created->Height())
      std::abort();
    for (int y = 0; y < mine.Height(); ++y)
      for (int x = 0; x < mine.Width(); ++x)
        if (mine.PixelData()[y * mine.RowSpan() + x] !=
            created->PixelData()[y * created->RowSpan() + x])
          std::abort();
  } else if (into) {
    std::abort();
  }
  return 0;
}
