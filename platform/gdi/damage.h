// Damage tracking: which parts of a bitmap changed, so that a full-screen copy moves only the
// tiles that differ, a fill skips tiles that already hold its colour, and the display uploads
// only what changed since the last present. Every pixel writer marks the tiles it writes.
//   uint64_t t = Mark();  ...writes...  TileChangedSince(bitmap, tile, t)  // true for written tiles
// The rules give the same pixels as writing everything; they only leave out writes of equal values.
#pragma once

#include "objects.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace qp {

// Tiles are 16 pixels (64 bytes, one cache line) wide and 8 rows high.
constexpr int kTileShiftX = 4, kTileShiftY = 3;
constexpr int kTileWidth = 1 << kTileShiftX, kTileHeight = 1 << kTileShiftY;

// No solid colour known: pixels are 0x00RRGGBB, so this never equals one.
constexpr uint32_t kMixedTile = 0xFFFFFFFFu;

// Writes carry the clock's current value as their stamp. Mark() returns a time that every
// earlier write's stamp is at most and every later write's stamp exceeds.
extern uint64_t damageClock;
inline uint64_t Mark() { return damageClock++; }

// Sizes the tile tables for the bitmap's pixels, all tiles written now and solid `fill`.
void ResetDamage(Bitmap& bitmap, uint32_t fill);

inline size_t TileIndex(const Bitmap& bitmap, int64_t x, int64_t y) {
    return static_cast<size_t>(y >> kTileShiftY) * static_cast<size_t>(bitmap.tilesAcross) +
           static_cast<size_t>(x >> kTileShiftX);
}

// One written pixel, inside the bitmap.
inline void TouchPixel(Bitmap& bitmap, int64_t x, int64_t y) {
    if (bitmap.tileStamps.empty()) return;
    const size_t i = TileIndex(bitmap, x, y);
    bitmap.tileStamps[i] = damageClock;
    bitmap.tileColors[i] = kMixedTile;
}

// Columns x0..x1, rows y0..y1 inclusive, inside the bitmap, written with mixed content.
void TouchBox(Bitmap& bitmap, int64_t x0, int64_t y0, int64_t x1, int64_t y1);

inline bool TileChangedSince(const Bitmap& bitmap, size_t tile, uint64_t time) {
    return bitmap.tileStamps.empty() || bitmap.tileStamps[tile] > time;
}

// Copies `from` into `to`, both of the same size, moving only tiles that may differ: those
// written in either bitmap since `to` was last copied from `from` this way. The first such
// copy, one after `to` was copied from another bitmap, and one where half the tiles or more may
// differ, move everything. False when the sizes differ (nothing is copied then).
bool CopyChangedTiles(Bitmap& to, const Bitmap& from);

// Every run of changed tiles in a band of tile rows, as a pixel box clipped to the bitmap:
// columns x0..x1 (inclusive), rows y0..y1 (inclusive). Runs of one band come left to right,
// bands top to bottom. A bitmap without tile tables has no runs: show such a one whole.
template <class Visit> void ForEachChangedRun(const Bitmap& bitmap, uint64_t since, Visit visit) {
    const int across = bitmap.tilesAcross, down = bitmap.tilesDown;
    for (int ty = 0; ty < down; ++ty) {
        const int64_t y0 = int64_t{ty} << kTileShiftY;
        const int64_t y1 = std::min<int64_t>(y0 + kTileHeight, bitmap.height) - 1;
        for (int tx = 0; tx < across;) {
            if (!TileChangedSince(bitmap, static_cast<size_t>(ty) * across + tx, since)) {
                ++tx;
                continue;
            }
            int end = tx + 1;
            while (end < across && TileChangedSince(bitmap, static_cast<size_t>(ty) * across + end, since)) ++end;
            visit(int64_t{tx} << kTileShiftX, y0, std::min<int64_t>(int64_t{end} << kTileShiftX, bitmap.width) - 1, y1);
            tx = end;
        }
    }
}

}  // namespace qp
