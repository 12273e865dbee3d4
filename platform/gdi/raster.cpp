// Clipped span filling, the base of every primitive that writes pixels.
#include "raster.h"

#include "damage.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    if (bitmap.tileStamps.empty()) {
        std::fill(row + x0, row + x1 + 1, pixel);
        ++bitmap.version;
        return;
    }
    // Tile by tile: a tile already solid in this colour keeps its pixels and its stamp.
    const size_t band = static_cast<size_t>(y >> kTileShiftY) * static_cast<size_t>(bitmap.tilesAcross);
    bool wrote = false;
    for (int64_t x = x0; x <= x1;) {
        const int64_t tileEnd = std::min<int64_t>(((x >> kTileShiftX) + 1) << kTileShiftX, x1 + 1);
        const size_t tile = band + static_cast<size_t>(x >> kTileShiftX);
        if (bitmap.tileColors[tile] != pixel) {
            std::fill(row + x, row + tileEnd, pixel);
            bitmap.tileStamps[tile] = damageClock;
            bitmap.tileColors[tile] = kMixedTile;
            wrote = true;
        }
        x = tileEnd;
    }
    if (wrote) ++bitmap.version;
}

namespace {

// Boxes of this many bytes or more are filled with streaming stores, which write whole cache
// lines without reading them first. Only a box beyond the cache (a 4K page) gains: a smaller one
// is better left in the cache for the drawing that follows.
constexpr size_t kStreamingFillBytes = size_t{16} << 20;

void FillStreaming(uint32_t* to, size_t count, uint32_t pixel) {
#if defined(__SSE2__)
    for (; count > 0 && reinterpret_cast<uintptr_t>(to) % 16 != 0; --count) *to++ = pixel;
    const __m128i four = _mm_set1_epi32(static_cast<int>(pixel));
    for (; count >= 16; count -= 16, to += 16) {
        _mm_stream_si128(reinterpret_cast<__m128i*>(to), four);
        _mm_stream_si128(reinterpret_cast<__m128i*>(to + 4), four);
        _mm_stream_si128(reinterpret_cast<__m128i*>(to + 8), four);
        _mm_stream_si128(reinterpret_cast<__m128i*>(to + 12), four);
    }
#endif
    std::fill(to, to + count, pixel);
}

}  // namespace

void CopyStreaming(uint32_t* to, const uint32_t* from, size_t count) {
#if defined(__SSE2__)
    // Pixels up to the first 16-byte boundary of the destination one by one, then 64 bytes a step.
    for (; count > 0 && reinterpret_cast<uintptr_t>(to) % 16 != 0; --count) *to++ = *from++;
    for (; count >= 16; count -= 16, to += 16, from += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 4));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 8));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 12));
        _mm_stream_si128(reinterpret_cast<__m128i*>(to), a);
        _mm_stream_si128(reinterpret_cast<__m128i*>(to + 4), b);
        _mm_stream_si128(reinterpret_cast<__m128i*>(to + 8), c);
        _mm_stream_si128(reinterpret_cast<__m128i*>(to + 12), d);
    }
    std::memcpy(to, from, count * sizeof(uint32_t));
#else
    std::memcpy(to, from, count * sizeof(uint32_t));
#endif
}

void StreamedStoresDone() {
#if defined(__SSE2__)
    _mm_sfence();
#endif
}

void FillBox(Bitmap& bitmap, int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t pixel) {
    y0 = std::max<int64_t>(y0, 0);
    y1 = std::min<int64_t>(y1, bitmap.height - 1);
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, bitmap.width - 1);
    if (y0 > y1 || x0 > x1) return;
    const size_t width = static_cast<size_t>(x1 - x0 + 1), rows = static_cast<size_t>(y1 - y0 + 1);
    const bool streaming = width * rows * sizeof(uint32_t) >= kStreamingFillBytes;
    auto fillRows = [&](int64_t top, int64_t bottom, int64_t left, int64_t right) {
        for (int64_t y = top; y <= bottom; ++y) {
            uint32_t* row = bitmap.Row(static_cast<int>(y));
            if (streaming) FillStreaming(row + left, static_cast<size_t>(right - left + 1), pixel);
            else std::fill(row + left, row + right + 1, pixel);
        }
    };
    bool wrote = bitmap.tileStamps.empty();
    if (wrote) {
        fillRows(y0, y1, x0, x1);
    } else {
        // Band by band of tiles; tiles solid in this colour are left alone, and a tile the box
        // covers whole becomes solid in it. Runs of tiles to write are filled row by row.
        const size_t across = static_cast<size_t>(bitmap.tilesAcross);
        for (int64_t ty = y0 >> kTileShiftY; ty <= (y1 >> kTileShiftY); ++ty) {
            const int64_t tileTop = ty << kTileShiftY;
            const int64_t tileBottom = std::min<int64_t>(tileTop + kTileHeight, bitmap.height) - 1;
            const int64_t top = std::max(y0, tileTop), bottom = std::min(y1, tileBottom);
            const bool allRows = top == tileTop && bottom == tileBottom;
            const size_t band = static_cast<size_t>(ty) * across;
            for (int64_t tx = x0 >> kTileShiftX; tx <= (x1 >> kTileShiftX);) {
                if (bitmap.tileColors[band + static_cast<size_t>(tx)] == pixel) {
                    ++tx;
                    continue;
                }
                int64_t end = tx;
                for (; end <= (x1 >> kTileShiftX) && bitmap.tileColors[band + static_cast<size_t>(end)] != pixel; ++end) {
                    const int64_t tileLeft = end << kTileShiftX;
                    const int64_t tileRight = std::min<int64_t>(tileLeft + kTileWidth, bitmap.width) - 1;
                    const bool whole = allRows && x0 <= tileLeft && x1 >= tileRight;
                    bitmap.tileStamps[band + static_cast<size_t>(end)] = damageClock;
                    bitmap.tileColors[band + static_cast<size_t>(end)] = whole ? pixel : kMixedTile;
                }
                fillRows(top, bottom, std::max(x0, tx << kTileShiftX), std::min(x1, (end << kTileShiftX) - 1));
                wrote = true;
                tx = end;
            }
        }
    }
    if (streaming) StreamedStoresDone();
    if (wrote) ++bitmap.version;
}

}  // namespace qp
