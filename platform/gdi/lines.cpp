// Lines: the 1-pixel Bresenham rasterizer, the capsule of wider pens, MoveToEx and LineTo.
// Both rasterizers compute each pixel from a closed formula, so they start directly at the
// first pixel inside the bitmap and never walk the part of a line that lies outside it; the
// runs of short wide segments, a few pixels each, are kept per shape and reused.
#include "raster.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace qp {
namespace {

using Int128 = __int128;
using UInt128 = unsigned __int128;

int64_t Abs64(int64_t v) { return v < 0 ? -v : v; }

Int128 FloorDiv(Int128 num, Int128 den) {
    if (den < 0) num = -num, den = -den;
    // Screen-sized values fit 64 bits, where division is a single instruction, not a libcall.
    constexpr Int128 limit = Int128(1) << 62;
    if (num > -limit && num < limit && den < limit) {
        const int64_t n = static_cast<int64_t>(num), d = static_cast<int64_t>(den);
        const int64_t q = n / d;
        return (n % d != 0 && n < 0) ? q - 1 : q;
    }
    Int128 q = num / den;
    if (num % den != 0 && num < 0) --q;
    return q;
}

void Put(Bitmap& bitmap, int64_t x, int64_t y, uint32_t pixel) {
    bitmap.Row(static_cast<int>(y))[x] = pixel;
    TouchPixel(bitmap, x, y);
}

// The capsule of one wide line in doubled coordinates, where pixel centres and the pen's
// radius are integers: a pixel (px, py) sits at (2px + shift, 2py + shift) with shift 1 for even
// widths (their centre line runs between pixel rows) and 0 for odd ones; the radius is width.
struct Capsule {
    int64_t ax, ay, bx, by, dx, dy;
    Int128 lengthSquared;
    int64_t shift;
    Int128 radiusSquared;

    bool Covers(int64_t px, int64_t py) const {
        const int64_t vx = 2 * px + shift - ax, vy = 2 * py + shift - ay;
        const Int128 along = Int128(vx) * dx + Int128(vy) * dy;
        if (along <= 0) return Int128(vx) * vx + Int128(vy) * vy <= radiusSquared;
        if (along >= lengthSquared) {
            const int64_t wx = 2 * px + shift - bx, wy = 2 * py + shift - by;
            return Int128(wx) * wx + Int128(wy) * wy <= radiusSquared;
        }
        // Distance to the segment's line is |cross| / length. radius^2 * length^2 stays below
        // 2^101, so any |cross| of 2^63 or more is outside, and the squares below fit 128 bits.
        const Int128 cross = Int128(vx) * dy - Int128(vy) * dx;
        const Int128 magnitude = cross < 0 ? -cross : cross;
        if (magnitude >= (Int128(1) << 63)) return false;
        return UInt128(magnitude) * UInt128(magnitude) <= UInt128(radiusSquared) * UInt128(lengthSquared);
    }

    // The column of the pixel centre at or left of the point of row py closest to the segment;
    // the covered pixels of a row form one run that contains this column or the next.
    int64_t NearestColumn(int64_t py, int64_t windowLeft) const {
        const int64_t rowY = 2 * py + shift;
        int64_t nearestX;
        if (dy == 0) {
            nearestX = std::clamp<int64_t>(2 * windowLeft + shift, std::min(ax, bx), std::max(ax, bx));
        } else if ((rowY - ay) * (dy > 0 ? 1 : -1) >= 0 && (by - rowY) * (dy > 0 ? 1 : -1) >= 0) {
            // Where the segment crosses the row: x = ax + (rowY - ay) * dx / dy.
            const Int128 num = Int128(ax) * dy + Int128(rowY - ay) * dx - Int128(shift) * dy;
            return static_cast<int64_t>(FloorDiv(num, Int128(2) * dy));
        } else {
            nearestX = Abs64(rowY - ay) <= Abs64(rowY - by) ? ax : bx;
        }
        return static_cast<int64_t>(FloorDiv(nearestX - shift, 2));
    }
};

}  // namespace

void DrawThinLine(Bitmap& bitmap, int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t pixel) {
    const int64_t dx = x1 - x0, dy = y1 - y0;
    if (dx == 0 && dy == 0) return;
    // Walk the major axis one pixel per step; the minor offset at step i is i*|dMinor|/|dMajor|
    // rounded to nearest, an exact half rounding back toward the start:
    // offset(i) = floor((2*i*|dMinor| + |dMajor| - 1) / (2*|dMajor|)).
    const bool xMajor = Abs64(dx) >= Abs64(dy);
    const int64_t major0 = xMajor ? x0 : y0, minor0 = xMajor ? y0 : x0;
    const int64_t dMajor = xMajor ? dx : dy, dMinor = xMajor ? dy : dx;
    const int64_t majorStep = dMajor > 0 ? 1 : -1, minorStep = dMinor >= 0 ? 1 : -1;
    const int64_t majorLength = Abs64(dMajor), minorLength = Abs64(dMinor);
    const int64_t majorLimit = xMajor ? bitmap.width : bitmap.height;
    const int64_t minorLimit = xMajor ? bitmap.height : bitmap.width;

    // Steps 0 .. majorLength-1 (the end point is excluded), limited to those inside the bitmap.
    int64_t first, last;
    if (majorStep > 0) {
        first = std::max<int64_t>(0, -major0);
        last = std::min<int64_t>(majorLength - 1, majorLimit - 1 - major0);
    } else {
        first = std::max<int64_t>(0, major0 - (majorLimit - 1));
        last = std::min<int64_t>(majorLength - 1, major0);
    }
    if (first > last) return;

    const int64_t denominator = 2 * majorLength;
    const Int128 numerator = Int128(2) * first * minorLength + majorLength - 1;
    int64_t offset = static_cast<int64_t>(numerator / denominator);
    int64_t remainder = static_cast<int64_t>(numerator % denominator);
    bool wrote = false;
    for (int64_t i = first; i <= last; ++i) {
        const int64_t major = major0 + majorStep * i;
        const int64_t minor = minor0 + minorStep * offset;
        if (minor >= 0 && minor < minorLimit) {
            if (xMajor) Put(bitmap, major, minor, pixel); else Put(bitmap, minor, major, pixel);
            wrote = true;
        } else if ((minorStep > 0 && minor >= minorLimit) || (minorStep < 0 && minor < 0)) {
            break;  // the line has left the bitmap for good
        }
        remainder += 2 * minorLength;
        if (remainder >= denominator) {
            remainder -= denominator;
            ++offset;
        }
    }
    if (wrote) ++bitmap.version;
}

namespace {

Capsule MakeCapsule(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int width) {
    Capsule capsule{};
    capsule.ax = 2 * x0;
    capsule.ay = 2 * y0;
    capsule.bx = 2 * x1;
    capsule.by = 2 * y1;
    capsule.dx = capsule.bx - capsule.ax;
    capsule.dy = capsule.by - capsule.ay;
    capsule.lengthSquared = Int128(capsule.dx) * capsule.dx + Int128(capsule.dy) * capsule.dy;
    capsule.shift = width % 2 == 0 ? 1 : 0;
    capsule.radiusSquared = Int128(width) * width;
    return capsule;
}

// Calls run(py, first, last) for every row of the box that the capsule covers.
template <class Run>
void CapsuleRuns(const Capsule& capsule, int64_t left, int64_t right, int64_t top, int64_t bottom, Run run) {
    for (int64_t py = top; py <= bottom; ++py) {
        // Each row of a convex shape is one run: find a covered seed next to the closest
        // point, then the run's ends by bisection.
        const int64_t near = capsule.NearestColumn(py, left);
        int64_t seed = std::clamp(near, left, right);
        if (!capsule.Covers(seed, py)) {
            seed = std::clamp(near + 1, left, right);
            if (!capsule.Covers(seed, py)) continue;
        }
        int64_t lo = left, hi = seed;  // first covered column in [left, seed]
        while (lo < hi) {
            const int64_t mid = lo + (hi - lo) / 2;
            if (capsule.Covers(mid, py)) hi = mid; else lo = mid + 1;
        }
        const int64_t runLeft = lo;
        lo = seed, hi = right;  // last covered column in [seed, right]
        while (lo < hi) {
            const int64_t mid = lo + (hi - lo + 1) / 2;
            if (capsule.Covers(mid, py)) lo = mid; else hi = mid - 1;
        }
        run(py, runLeft, lo);
    }
}

// A wide line's pixels depend only on its end points' difference and its width, so the curves
// that programs draw from short segments repeat a few shapes. A short shape's runs are computed
// once, relative to the start point, over its whole extent: a run cut by the bitmap's edge is
// then the same as the one computed inside the edge, since each row's run is contiguous.
constexpr int64_t kShortReach = 64;
constexpr int kShortWidth = 32;

// The shapes live in one table of fixed size and their runs in one arena, both made once: new
// shapes keep coming while a wave moves, and they must not cost an allocation each. When either
// is full, the whole cache starts again.
class ShapeCache {
public:
    struct Run {
        int16_t first, last;  // columns relative to the start point; first > last: an empty row
    };
    struct Shape {
        uint32_t key = 0;  // 0: a free slot (a real key holds a width of at least 2)
        uint32_t start = 0;
        int16_t top = 0;   // first row, relative to the start point
        uint16_t rows = 0;
    };

    const Shape& Get(int64_t dx, int64_t dy, int width) {
        if (slots_.empty()) {
            slots_.resize(kSlots);
            // Left unwritten: each shape writes its own rows, and untouched pages cost nothing.
            runs_.reset(new Run[kRuns]);  // default-initialised, as make_unique_for_overwrite would
        }
        const uint32_t key = static_cast<uint32_t>(((dx + kShortReach) << 20) | ((dy + kShortReach) << 8) | width);
        size_t i = (key * 0x9E3779B1u) >> (32 - kSlotBits);
        for (; slots_[i].key; i = (i + 1) & (kSlots - 1))
            if (slots_[i].key == key) return slots_[i];
        const int64_t top = std::min<int64_t>(0, dy) - width, bottom = std::max<int64_t>(0, dy) + width;
        const auto rows = static_cast<size_t>(bottom - top + 1);
        if (2 * (count_ + 1) > kSlots || used_ + rows > kRuns) {
            std::fill(slots_.begin(), slots_.end(), Shape{});
            count_ = used_ = 0;
            return Get(dx, dy, width);
        }
        Shape& shape = slots_[i];
        shape = Shape{key, static_cast<uint32_t>(used_), static_cast<int16_t>(top), static_cast<uint16_t>(rows)};
        std::fill_n(runs_.get() + used_, rows, Run{1, 0});
        const int64_t left = std::min<int64_t>(0, dx) - width, right = std::max<int64_t>(0, dx) + width;
        CapsuleRuns(MakeCapsule(0, 0, dx, dy, width), left, right, top, bottom, [&](int64_t py, int64_t first, int64_t last) {
            runs_[used_ + static_cast<size_t>(py - top)] = Run{static_cast<int16_t>(first), static_cast<int16_t>(last)};
        });
        used_ += rows;
        ++count_;
        return shape;
    }

    const Run* RunsOf(const Shape& shape) const { return runs_.get() + shape.start; }

private:
    static constexpr int kSlotBits = 14;
    static constexpr size_t kSlots = size_t{1} << kSlotBits;  // at most half full: 8192 shapes
    static constexpr size_t kRuns = size_t{1} << 20;
    std::vector<Shape> slots_;
    std::unique_ptr<Run[]> runs_;
    size_t count_ = 0, used_ = 0;
};

ShapeCache shapeCache;

}  // namespace

void DrawWideLine(Bitmap& bitmap, int64_t x0, int64_t y0, int64_t x1, int64_t y1, int width, uint32_t pixel) {
    if (x0 == x1 && y0 == y1) return;
    width = std::clamp(width, 2, kMaxPenWidth);
    const int64_t dx = x1 - x0, dy = y1 - y0;
    if (Abs64(dx) <= kShortReach && Abs64(dy) <= kShortReach && width <= kShortWidth) {
        const ShapeCache::Shape& shape = shapeCache.Get(dx, dy, width);
        const ShapeCache::Run* runs = shapeCache.RunsOf(shape);
        const int64_t top = y0 + shape.top, left = std::min(x0, x1) - width, right = std::max(x0, x1) + width;
        if (top >= 0 && top + shape.rows <= bitmap.height && left >= 0 && right < bitmap.width) {
            // Wholly inside the bitmap, as nearly every segment of a curve is: no clipping per row.
            // Its box is marked as written: a tile or two more than the capsule's at most.
            TouchBox(bitmap, left, top, right, top + static_cast<int64_t>(shape.rows) - 1);
            for (size_t i = 0; i < shape.rows; ++i)
                if (runs[i].first <= runs[i].last) {
                    uint32_t* row = bitmap.Row(static_cast<int>(top + static_cast<int64_t>(i)));
                    std::fill(row + x0 + runs[i].first, row + x0 + runs[i].last + 1, pixel);
                }
            ++bitmap.version;
            return;
        }
        for (size_t i = 0; i < shape.rows; ++i)
            if (runs[i].first <= runs[i].last)
                FillSpan(bitmap, top + static_cast<int64_t>(i), x0 + runs[i].first, x0 + runs[i].last, pixel);
        return;
    }

    const int64_t left = std::max<int64_t>(std::min(x0, x1) - width, 0);
    const int64_t right = std::min<int64_t>(std::max(x0, x1) + width, bitmap.width - 1);
    const int64_t top = std::max<int64_t>(std::min(y0, y1) - width, 0);
    const int64_t bottom = std::min<int64_t>(std::max(y0, y1) + width, bitmap.height - 1);
    CapsuleRuns(MakeCapsule(x0, y0, x1, y1, width), left, right, top, bottom,
                [&](int64_t py, int64_t first, int64_t last) { FillSpan(bitmap, py, first, last, pixel); });
}

}  // namespace qp

using namespace qp;

BOOL WINAPI MoveToEx(HDC dc, int x, int y, POINT* previous) {
    DeviceContext* context = LookupDc(dc);
    if (!context) return FALSE;
    if (previous) *previous = context->position;
    context->position = POINT{x, y};
    return TRUE;
}

BOOL WINAPI LineTo(HDC dc, int x, int y) {
    DeviceContext* context = LookupDc(dc);
    if (!context) return FALSE;
    const POINT from = context->position;
    context->position = POINT{x, y};
    Bitmap* target = DrawTarget(context);
    const Pen* pen = context->pen;
    if (!target || !pen || pen->style == PS_NULL) return TRUE;
    const uint32_t pixel = ToPixel(pen->color);
    if (pen->width <= 1) DrawThinLine(*target, from.x, from.y, x, y, pixel);
    else DrawWideLine(*target, from.x, from.y, x, y, pen->width, pixel);
    return TRUE;
}
