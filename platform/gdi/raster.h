// Pixel writing shared by the drawing primitives: clipped spans and the two line rasterizers.
// Every coordinate here is int64, so the int arguments of the public calls, and their sums
// and differences, never overflow; everything is clipped to the bitmap before any loop.
#pragma once

#include "damage.h"
#include "objects.h"

#include <cstddef>
#include <cstdint>

namespace qp {

// The bitmap a device context draws into, or null while it holds the shared 1x1 placeholder,
// which is never written.
Bitmap* DrawTarget(DeviceContext* dc);

// Row y, columns x0..x1 inclusive, clipped. Bumps the bitmap's version when it writes.
void FillSpan(Bitmap& bitmap, int64_t y, int64_t x0, int64_t x1, uint32_t pixel);
// Columns x0..x1, rows y0..y1, inclusive, clipped.
void FillBox(Bitmap& bitmap, int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t pixel);

// Copies pixels with streaming stores, which write whole cache lines without reading them first:
// faster for copies that do not fit the cache, or whose destination another core reads next.
// StreamedStoresDone orders them before whatever reads the pixels next; call it after the last.
void CopyStreaming(uint32_t* to, const uint32_t* from, size_t count);
void StreamedStoresDone();

// 1-pixel line from (x0,y0) towards (x1,y1), the end point excluded.
void DrawThinLine(Bitmap& bitmap, int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t pixel);
// Line of a pen width >= 2: the capsule of radius width/2 around the segment, round ends.
void DrawWideLine(Bitmap& bitmap, int64_t x0, int64_t y0, int64_t x1, int64_t y1, int width, uint32_t pixel);

// The widest pen we rasterize; wider requests are clamped so the capsule test stays within 128 bits.
constexpr int kMaxPenWidth = 1 << 16;

}  // namespace qp
