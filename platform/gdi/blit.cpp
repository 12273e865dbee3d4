// BitBlt (SRCCOPY only) and GetPixel. Copies are clipped to both bitmaps; a source and
// destination in the same bitmap copy as if through a temporary (rows in a safe order, memmove).
#include "raster.h"

#include <algorithm>
#include <cstring>

using namespace qp;

BOOL WINAPI BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                   DWORD rop) {
    DeviceContext* to = LookupDc(destination);
    DeviceContext* from = LookupDc(source);
    if (!to || !from || rop != SRCCOPY) return FALSE;
    Bitmap* target = DrawTarget(to);
    const Bitmap* origin = from->bitmap;
    if (!target || !origin || width <= 0 || height <= 0) return TRUE;

    // Clip in int64: shift the start of the copy until both the destination and the source
    // corner are inside, then shorten it to what both bitmaps hold.
    int64_t dx = x, dy = y, sx = sourceX, sy = sourceY, w = width, h = height;
    const int64_t skipX = std::max<int64_t>({0, -dx, -sx});
    const int64_t skipY = std::max<int64_t>({0, -dy, -sy});
    dx += skipX, sx += skipX, w -= skipX;
    dy += skipY, sy += skipY, h -= skipY;
    w = std::min<int64_t>({w, target->width - dx, origin->width - sx});
    h = std::min<int64_t>({h, target->height - dy, origin->height - sy});
    if (w <= 0 || h <= 0) return TRUE;

    // A whole bitmap into another of its size, as every frame does twice: only tiles that may
    // differ are moved.
    if (target != origin && dx == 0 && dy == 0 && sx == 0 && sy == 0 && w == target->width && w == origin->width &&
        h == target->height && h == origin->height && CopyChangedTiles(*target, *origin))
        return TRUE;
    const bool upward = target == origin && dy > sy;  // overlapping rows: copy bottom row first
    for (int64_t i = 0; i < h; ++i) {
        const int64_t row = upward ? h - 1 - i : i;
        std::memmove(target->Row(static_cast<int>(dy + row)) + dx, origin->Row(static_cast<int>(sy + row)) + sx,
                     static_cast<size_t>(w) * sizeof(uint32_t));
    }
    TouchBox(*target, dx, dy, dx + w - 1, dy + h - 1);
    ++target->version;
    return TRUE;
}

COLORREF WINAPI GetPixel(HDC dc, int x, int y) {
    DeviceContext* context = LookupDc(dc);
    if (!context || !context->bitmap) return CLR_INVALID;
    const Bitmap& bitmap = *context->bitmap;
    if (x < 0 || y < 0 || x >= bitmap.width || y >= bitmap.height) return CLR_INVALID;
    return ToColorRef(bitmap.Row(y)[x]);
}
