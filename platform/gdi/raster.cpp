// Clipped span filling, the base of every primitive that writes pixels.
#include "raster.h"

#include <algorithm>

namespace qp {

Bitmap* DrawTarget(DeviceContext* dc) {
    if (!dc || !dc->bitmap || dc->bitmap->stock || dc->bitmap->pixels.empty()) return nullptr;
    return dc->bitmap;
}

void FillSpan(Bitmap& bitmap, int64_t y, int64_t x0, int64_t x1, uint32_t pixel) {
    if (y < 0 || y >= bitmap.height) return;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, bitmap.width - 1);
    if (x0 > x1) return;
    uint32_t* row = bitmap.Row(static_cast<int>(y));
    std::fill(row + x0, row + x1 + 1, pixel);
    ++bitmap.version;
}

void FillBox(Bitmap& bitmap, int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t pixel) {
    y0 = std::max<int64_t>(y0, 0);
    y1 = std::min<int64_t>(y1, bitmap.height - 1);
    for (int64_t y = y0; y <= y1; ++y) FillSpan(bitmap, y, x0, x1, pixel);
}

}  // namespace qp
