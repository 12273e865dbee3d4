// Wide pens against their rule, pixel by pixel: a pixel is drawn exactly when its centre (offset
// by half a pixel for even widths) lies within width/2 of the segment. Short segments, which
// the programs draw by the thousand per frame, are checked wherever the bitmap's edges cut them.
#include "canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

// The rule in doubled coordinates, where pixel centres and the radius are integers.
bool Covered(int px, int py, int x0, int y0, int x1, int y1, int width)
{
    const int64_t shift = width % 2 == 0 ? 1 : 0;
    const int64_t vx = 2 * px + shift - 2 * x0, vy = 2 * py + shift - 2 * y0;
    const int64_t dx = 2 * (x1 - x0), dy = 2 * (y1 - y0);
    const int64_t r2 = int64_t(width) * width, length2 = dx * dx + dy * dy;
    const int64_t along = vx * dx + vy * dy;
    if (along <= 0)
        return vx * vx + vy * vy <= r2;
    if (along >= length2) {
        const int64_t wx = vx - dx, wy = vy - dy;
        return wx * wx + wy * wy <= r2;
    }
    const int64_t cross = vx * dy - vy * dx;
    return cross * cross <= r2 * length2;
}

}  // namespace

TEST(WideLines, FollowTheirRuleWhereverTheEdgesCutThem)
{
    struct Segment { int dx, dy; } segments[] = {
        {1, 0}, {0, 1}, {1, 1}, {1, -2}, {-1, 3}, {2, -1}, {-3, -3}, {5, 2}, {-7, 4},
        {40, -13}, {64, 64}, {-64, 5}, {65, 3}, {3, -70},
    };
    const int widths[] = {2, 3, 4, 7};
    // Start points inside, and across each edge and corner of a 48 x 36 bitmap.
    struct Start { int x, y; } starts[] = {{20, 15}, {0, 15}, {-2, 10}, {47, 20}, {49, 5}, {10, 0},
                                           {30, -3}, {25, 35}, {12, 37}, {-1, -1}, {48, 36}};
    const int W = 48, H = 36;
    for (auto& s : segments)
        for (int width : widths)
            for (auto& p : starts) {
                Canvas c(W, H);
                c.Pen(width, kRed);
                c.Line(p.x, p.y, p.x + s.dx, p.y + s.dy);
                int wrong = 0, firstX = -1, firstY = -1;
                for (int y = 0; y < H; ++y)
                    for (int x = 0; x < W; ++x) {
                        const bool drawn = c.bitmap->Row(y)[x] == qp::ToPixel(kRed);
                        if (drawn != Covered(x, y, p.x, p.y, p.x + s.dx, p.y + s.dy, width) && wrong++ == 0)
                            firstX = x, firstY = y;
                    }
                EXPECT_EQ(wrong, 0) << "width " << width << " from (" << p.x << ", " << p.y << ") by (" << s.dx
                                    << ", " << s.dy << "): first wrong pixel (" << firstX << ", " << firstY << ")\n"
                                    << Join(c.Picture());
            }
}

// The runs of short segments are kept per shape in a cache of fixed size that starts again when
// full: every shape of widths 2, 3 and 12 in reach, drawn twice (so that each pass fills the cache
// several times over and the second finds shapes kept from the first), must follow the rule.
TEST(WideLines, KeepTheirRuleWhenTheCacheOfShapesFillsUp)
{
    const int W = 200, H = 200, x0 = 100, y0 = 100;
    Canvas c(W, H);
    int wrong = 0;
    std::string first;
    for (int pass = 0; pass < 2; ++pass)
        for (int width : {2, 3, 12})
            for (int dy = -64; dy <= 64; ++dy)
                for (int dx = -64; dx <= 64; ++dx) {
                    c.Pen(width, kRed);
                    c.Line(x0, y0, x0 + dx, y0 + dy);
                    // Only the segment's box can hold its pixels; it is cleared again after the check.
                    const int left = x0 + std::min(0, dx) - width, right = x0 + std::max(0, dx) + width;
                    const int top = y0 + std::min(0, dy) - width, bottom = y0 + std::max(0, dy) + width;
                    for (int y = top - 1; y <= bottom + 1; ++y)
                        for (int x = left - 1; x <= right + 1; ++x) {
                            uint32_t& pixel = c.bitmap->Row(y)[x];
                            const bool drawn = pixel == qp::ToPixel(kRed);
                            const bool rule = (dx != 0 || dy != 0) && Covered(x, y, x0, y0, x0 + dx, y0 + dy, width);
                            if (drawn != rule && wrong++ == 0)
                                first = "width " + std::to_string(width) + " by (" + std::to_string(dx) + ", " +
                                        std::to_string(dy) + ") at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
                            pixel = 0xFFFFFF;
                        }
                }
    EXPECT_EQ(wrong, 0) << "first wrong pixel: " << first;
}
