// TranslucentBounds: where a picture lets what lies under it show.

#include "drawing/LICE_PixelOps.h"
#include "drawing/LICE_Raster.h"

#include <algorithm>

using namespace lice_detail;

bool TranslucentBounds(const LICE_IBitmap* src, const LICE_Rect& area, LICE_Rect* bounds) {
  if (!src || !bounds) return false;
  if (area.left < 0 || area.top < 0 || area.right > src->Width() || area.bottom > src->Height() ||
      area.left > area.right || area.top > area.bottom)
    return false;
  const Rows rows = RowsOf(*src);
  if (!rows.first) return false;
  LICE_Rect found{area.right, area.bottom, area.left, area.top};
  for (int y = area.top; y < area.bottom; ++y) {
    const LICE_pixel* row = rows.Row(y);
    int x = area.left;
    while (x < area.right && Alpha(row[x]) == 255)
      ++x;
    if (x == area.right) continue;
    int last = area.right - 1;
    while (Alpha(row[last]) == 255)
      --last;
    found = {std::min(found.left, x), std::min(found.top, y), std::max(found.right, last + 1),
             std::max(found.bottom, y + 1)};
  }
  *bounds = found.left < found.right ? found : LICE_Rect{};
  return true;
}
