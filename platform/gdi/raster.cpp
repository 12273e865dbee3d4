// Clipped span filling, the base of every primitive that writes pixels.
#include "raster.h"

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
    std::fill(row + x0, row + x1 + 1, pixel);
    ++bitmap.version;
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
    if (width * rows * sizeof(uint32_t) < kStreamingFillBytes) {
        for (int64_t y = y0; y <= y1; ++y) FillSpan(bitmap, y, x0, x1, pixel);
        return;
    }
    // Rows spanning the whole width are one block in memory.
    const bool whole = width == static_cast<size_t>(bitmap.width);
    for (int64_t y = y0; y <= y1; y += whole ? static_cast<int64_t>(rows) : 1)
        FillStreaming(bitmap.Row(static_cast<int>(y)) + x0, whole ? width * rows : width, pixel);
    StreamedStoresDone();
    ++bitmap.version;
}

}  // namespace qp
