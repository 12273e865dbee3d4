// Damage tracking: tile tables, marking writes, and the full-bitmap copy that moves only tiles
// that may differ. One thread draws, so the clock and serials are plain counters.
#include "damage.h"

#include "raster.h"

#include <cstring>

namespace qp {

uint64_t damageClock = 1;

namespace {

uint64_t lastSerial = 0;

// Copies of this many bytes or more no longer fit the last-level cache beside the frames the
// program keeps: they are written with streaming stores, which skip reading the destination
// into the cache first. Smaller copies stay in the cache, warm for the drawing that follows.
constexpr size_t kStreamingBytes = size_t{16} << 20;

// Rows of one tile: plain loops, which the compiler turns into vector moves and compares,
// cost less than a call of memcpy or memcmp for each.
inline bool SameRun(const uint32_t* a, const uint32_t* b, size_t count) {
    uint32_t differences = 0;
    for (size_t i = 0; i < count; ++i) differences |= a[i] ^ b[i];
    return differences == 0;
}

inline void CopyRun(uint32_t* __restrict to, const uint32_t* __restrict from, size_t count) {
    for (size_t i = 0; i < count; ++i) to[i] = from[i];
}

}  // namespace

void ResetDamage(Bitmap& bitmap, uint32_t fill) {
    bitmap.tilesAcross = (bitmap.width + kTileWidth - 1) >> kTileShiftX;
    bitmap.tilesDown = (bitmap.height + kTileHeight - 1) >> kTileShiftY;
    const size_t tiles = static_cast<size_t>(bitmap.tilesAcross) * static_cast<size_t>(bitmap.tilesDown);
    bitmap.tileStamps.assign(tiles, damageClock);
    bitmap.tileColors.assign(tiles, fill <= 0xFFFFFFu ? fill : kMixedTile);
    bitmap.serial = ++lastSerial;
    bitmap.copiedFrom = bitmap.copiedAt = 0;
}

void TouchBox(Bitmap& bitmap, int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    if (bitmap.tileStamps.empty() || x0 > x1 || y0 > y1) return;
    const int64_t tx0 = x0 >> kTileShiftX, tx1 = x1 >> kTileShiftX;
    for (int64_t ty = y0 >> kTileShiftY; ty <= (y1 >> kTileShiftY); ++ty) {
        const size_t first = static_cast<size_t>(ty) * static_cast<size_t>(bitmap.tilesAcross);
        std::fill(bitmap.tileStamps.begin() + first + tx0, bitmap.tileStamps.begin() + first + tx1 + 1, damageClock);
        std::fill(bitmap.tileColors.begin() + first + tx0, bitmap.tileColors.begin() + first + tx1 + 1, kMixedTile);
    }
}

bool CopyChangedTiles(Bitmap& to, const Bitmap& from) {
    if (to.width != from.width || to.height != from.height || to.pixels.size() != from.pixels.size()) return false;
    const bool tracked = !to.tileStamps.empty() && !from.tileStamps.empty();
    const uint64_t since = to.copiedAt;
    bool synced = tracked && to.copiedFrom == from.serial;
    if (synced) {
        // When most tiles may differ, one plain copy of everything is cheaper than tile by tile.
        size_t marked = 0;
        for (size_t t = 0; t < to.tileStamps.size(); ++t)
            marked += to.tileStamps[t] > since || from.tileStamps[t] > since;
        synced = 2 * marked < to.tileStamps.size();
    }
    const uint64_t now = Mark();
    if (!synced) {
        const size_t count = to.pixels.size();
        if (count * sizeof(uint32_t) >= kStreamingBytes) {
            CopyStreaming(to.pixels.data(), from.pixels.data(), count);
            StreamedStoresDone();
        } else {
            std::memcpy(to.pixels.data(), from.pixels.data(), count * sizeof(uint32_t));
        }
        if (!to.tileStamps.empty()) {
            std::fill(to.tileStamps.begin(), to.tileStamps.end(), now);
            if (tracked) to.tileColors = from.tileColors;
            else std::fill(to.tileColors.begin(), to.tileColors.end(), kMixedTile);
        }
        ++to.version;
    } else {
        // A tile marked on either side may still hold the same pixels (the same line drawn again
        // at the same place): it is compared first and written only when it differs, so that the
        // bitmaps copied from this one, and the display, see no change there either.
        bool copied = false;
        const size_t across = static_cast<size_t>(to.tilesAcross);
        for (int ty = 0; ty < to.tilesDown; ++ty) {
            const size_t band = static_cast<size_t>(ty) * across;
            const int y0 = ty << kTileShiftY, y1 = std::min(y0 + kTileHeight, to.height);
            for (size_t tx = 0; tx < across; ++tx) {
                const size_t tile = band + tx;
                if (to.tileStamps[tile] <= since && from.tileStamps[tile] <= since) continue;
                const size_t x0 = tx << kTileShiftX;
                const size_t count = std::min(x0 + kTileWidth, static_cast<size_t>(to.width)) - x0;
                int y = y0;
                while (y < y1 && SameRun(to.Row(y) + x0, from.Row(y) + x0, count)) ++y;
                if (y == y1) continue;
                for (; y < y1; ++y) CopyRun(to.Row(y) + x0, from.Row(y) + x0, count);
                to.tileStamps[tile] = now;
                to.tileColors[tile] = from.tileColors[tile];
                copied = true;
            }
        }
        if (copied) ++to.version;
    }
    to.copiedFrom = tracked ? from.serial : 0;
    to.copiedAt = now;
    return true;
}

}  // namespace qp
