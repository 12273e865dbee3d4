// Rectangle and Ellipse: brush interior, pen outline, both inside the box left..right-1,
// top..bottom-1 (the right and bottom edges are exclusive, as for every GDI box).
#include "raster.h"

#include <algorithm>
#include <utility>

namespace qp {
namespace {

using UInt128 = unsigned __int128;

bool DrawsOutline(const Pen* pen) { return pen && pen->style != PS_NULL; }
bool Fills(const Brush* brush) { return brush && !brush->hollow; }

// One row of an ellipse: the inside pixels are columns left..right (empty when left > right).
struct Run {
    int64_t left = 1, right = 0;
    bool Empty() const { return left > right; }
};

// The ellipse in doubled coordinates: centre (cx, cy) = (l + r, t + b), semi-axes a = r - l and
// b = b - t, pixel centres at (2x + 1, 2y + 1). All of these fit 33 bits.
struct EllipseShape {
    int64_t cx, cy, a, b;

    // Inside when dx^2 * b^2 <= a^2 * (b^2 - dy^2); with |dx| <= a and |dy| <= b both products
    // stay below 2^128, so unsigned 128-bit arithmetic is exact.
    Run RowRun(int64_t y) const {
        const int64_t dy = 2 * y + 1 - cy;
        const int64_t ady = dy < 0 ? -dy : dy;
        if (ady > b) return {};
        const UInt128 bb = UInt128(b) * UInt128(b);
        const UInt128 room = UInt128(a) * UInt128(a) * (bb - UInt128(ady) * UInt128(ady));
        // Largest m in 0..a with m^2 * b^2 <= room: pixels with |2x + 1 - cx| <= m are inside.
        int64_t lo = 0, hi = a;
        while (lo < hi) {
            const int64_t mid = lo + (hi - lo + 1) / 2;
            if (UInt128(mid) * UInt128(mid) * bb <= room) lo = mid; else hi = mid - 1;
        }
        const int64_t m = lo;
        // 2x + 1 >= cx - m and 2x + 1 <= cx + m.
        Run run;
        run.left = CeilHalf(cx - m - 1);
        run.right = FloorHalf(cx + m - 1);
        return run;
    }

    static int64_t FloorHalf(int64_t v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }
    static int64_t CeilHalf(int64_t v) { return -FloorHalf(-v); }
};

// The pixels of `run` not inside `neighbour`: at most a piece on each side.
void FillUncovered(Bitmap& bitmap, int64_t y, Run run, Run neighbour, uint32_t pixel) {
    if (neighbour.Empty()) {
        FillSpan(bitmap, y, run.left, run.right, pixel);
        return;
    }
    FillSpan(bitmap, y, run.left, std::min(run.right, neighbour.left - 1), pixel);
    FillSpan(bitmap, y, std::max(run.left, neighbour.right + 1), run.right, pixel);
}

}  // namespace
}  // namespace qp

using namespace qp;

namespace {

// A box given by corners in any order, put in order; empty when it has no width or height.
struct Box {
    Box(int left, int top, int right, int bottom)
        : l(std::min(left, right)), t(std::min(top, bottom)), r(std::max(left, right)), b(std::max(top, bottom)) {}
    bool Empty() const { return l == r || t == b; }
    int64_t l, t, r, b;
};

}  // namespace

BOOL WINAPI Rectangle(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext* context = LookupDc(dc);
    if (!context) return FALSE;
    Bitmap* target = DrawTarget(context);
    const Box box(left, top, right, bottom);
    if (!target || box.Empty()) return TRUE;
    const int64_t l = box.l, t = box.t, r = box.r, b = box.b;
    const Pen* pen = context->pen;
    const Brush* brush = context->brush;
    if (!DrawsOutline(pen)) {
        // Without an outline the interior ends one pixel short on the right and at the bottom.
        if (Fills(brush)) FillBox(*target, l, t, r - 2, b - 2, ToPixel(brush->color));
        return TRUE;
    }
    if (Fills(brush)) FillBox(*target, l, t, r - 1, b - 1, ToPixel(brush->color));
    const uint32_t ink = ToPixel(pen->color);
    if (pen->width <= 1) {
        FillSpan(*target, t, l, r - 1, ink);
        FillSpan(*target, b - 1, l, r - 1, ink);
        FillBox(*target, l, t, l, b - 1, ink);
        FillBox(*target, r - 1, t, r - 1, b - 1, ink);
    } else {
        DrawWideLine(*target, l, t, r - 1, t, pen->width, ink);
        DrawWideLine(*target, r - 1, t, r - 1, b - 1, pen->width, ink);
        DrawWideLine(*target, r - 1, b - 1, l, b - 1, pen->width, ink);
        DrawWideLine(*target, l, b - 1, l, t, pen->width, ink);
    }
    return TRUE;
}

BOOL WINAPI Ellipse(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext* context = LookupDc(dc);
    if (!context) return FALSE;
    Bitmap* target = DrawTarget(context);
    const Box box(left, top, right, bottom);
    if (!target || box.Empty()) return TRUE;
    const int64_t l = box.l, t = box.t, r = box.r, b = box.b;
    const EllipseShape shape{l + r, t + b, r - l, b - t};
    const bool fill = Fills(context->brush);
    const bool outline = DrawsOutline(context->pen);
    const uint32_t paint = fill ? ToPixel(context->brush->color) : 0;
    const uint32_t ink = outline ? ToPixel(context->pen->color) : 0;
    // Rows t..b-1 can hold inside pixels; only those in the bitmap are visited.
    const int64_t first = std::max<int64_t>(t, 0), last = std::min<int64_t>(b - 1, target->height - 1);
    if (first > last) return TRUE;
    Run above = shape.RowRun(first - 1), here = shape.RowRun(first);
    for (int64_t y = first; y <= last; ++y) {
        const Run below = shape.RowRun(y + 1);
        if (!here.Empty()) {
            if (fill) FillSpan(*target, y, here.left, here.right, paint);
            // The outline: inside pixels with a 4-neighbour outside (pens of every width).
            if (outline) {
                FillSpan(*target, y, here.left, here.left, ink);
                FillSpan(*target, y, here.right, here.right, ink);
                FillUncovered(*target, y, here, above, ink);
                FillUncovered(*target, y, here, below, ink);
            }
        }
        above = here;
        here = below;
    }
    return TRUE;
}
