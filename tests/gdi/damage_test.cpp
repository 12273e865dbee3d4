// Damage tracking may leave out writes, never change a pixel. Random drawing runs twice, on
// bitmaps that track their tiles and on bitmaps whose tables are emptied (which track nothing,
// so every copy and fill writes everything); every pixel must agree after every step. The
// bitmaps share a size, so that whole-bitmap copies run between them in every direction.
#include "canvas.h"

#include "gdi/damage.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 75, kHeight = 45;  // tiles cut at the right and bottom edges
constexpr COLORREF kPalette[] = {kWhite, kBlack, kRed};

struct Step {
    int kind;
    int a, b, c, d, e, f;
    int width;
    COLORREF ink, paint;
};

Step RandomStep(std::mt19937& random) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    Step step{};
    step.kind = pick(0, 8);
    step.a = pick(-20, kWidth + 20), step.b = pick(-20, kHeight + 20);
    step.c = pick(-20, kWidth + 20), step.d = pick(-20, kHeight + 20);
    step.e = pick(0, 3), step.f = pick(0, 3);  // bitmaps for copies
    step.width = pick(0, 3);
    step.ink = kPalette[pick(0, 2)], step.paint = kPalette[pick(0, 2)];
    return step;
}

struct World {
    std::vector<std::unique_ptr<Canvas>> canvases;
    bool tracked;

    explicit World(bool tracking) : tracked(tracking) {
        for (int i = 0; i < 4; ++i) {
            canvases.push_back(std::make_unique<Canvas>(kWidth, kHeight));
            Forget(*canvases.back()->bitmap);
        }
    }
    void Forget(qp::Bitmap& bitmap) const {
        if (tracked) return;
        bitmap.tileStamps.clear();
        bitmap.tileColors.clear();
    }

    void Apply(const Step& s) {
        Canvas& to = *canvases[static_cast<size_t>(s.e)];
        const Canvas& from = *canvases[static_cast<size_t>(s.f)];
        to.Pen(s.width, s.ink);
        to.Brush(s.paint);
        switch (s.kind) {
        case 0: Rectangle(to.dc, s.a, s.b, s.c, s.d); break;
        case 1: Rectangle(to.dc, 0, 0, kWidth, kHeight); break;  // the whole bitmap, as frames start
        case 2: Ellipse(to.dc, s.a, s.b, s.c, s.d); break;
        case 3: to.Line(s.a, s.b, s.c, s.d); break;
        case 8: to.Line(s.a, s.b, s.a + s.c % 5, s.b + s.d % 5); break;  // a curve's short segment
        case 4:
            SetTextColor(to.dc, s.ink);
            SetBkColor(to.dc, s.paint);
            TextOutW(to.dc, s.a, s.b, L"Ab9", 3);
            break;
        case 5: BitBlt(to.dc, 0, 0, kWidth, kHeight, from.dc, 0, 0, SRCCOPY); break;  // whole
        case 6: BitBlt(to.dc, s.a, s.b, s.c / 2, s.d / 2, from.dc, s.c - s.a, s.d - s.b, SRCCOPY); break;
        case 7: {
            // New pixels for a DC; the old bitmap is deleted, so its address may come back.
            HGDIOBJ old = SelectObject(to.dc, CreateCompatibleBitmap(to.dc, kWidth, kHeight));
            DeleteObject(old);
            to.bitmap = static_cast<qp::Bitmap*>(qp::Lookup(GetCurrentObject(to.dc, OBJ_BITMAP)));
            Forget(*to.bitmap);
            break;
        }
        }
    }
};

// Every tile whose pixels changed since a mark carries a later stamp, and a tile held to be
// solid holds only that colour. Returns what is wrong, or nothing.
std::string CheckTiles(const qp::Bitmap& now, const qp::PixelVector& before, uint64_t mark) {
    for (int y = 0; y < now.height; ++y)
        for (int x = 0; x < now.width; ++x) {
            const size_t tile = qp::TileIndex(now, x, y), i = static_cast<size_t>(y) * now.width + x;
            if (now.pixels[i] != before[i] && now.tileStamps[tile] <= mark)
                return "pixel " + std::to_string(x) + "," + std::to_string(y) + " changed in an unmarked tile";
            if (now.tileColors[tile] != qp::kMixedTile && now.tileColors[tile] != now.pixels[i])
                return "pixel " + std::to_string(x) + "," + std::to_string(y) + " breaks its solid tile";
        }
    return {};
}

TEST(DamageTracking, NeverChangesAPixel) {
    for (unsigned seed = 1; seed <= 24; ++seed) {
        std::mt19937 random(seed);
        World tracked(true), plain(false);
        for (int i = 0; i < 1500; ++i) {
            const Step step = RandomStep(random);
            std::vector<qp::PixelVector> before;
            for (const auto& canvas : tracked.canvases) before.push_back(canvas->bitmap->pixels);
            const uint64_t mark = qp::Mark();
            tracked.Apply(step);
            plain.Apply(step);
            for (size_t k = 0; k < tracked.canvases.size(); ++k) {
                const qp::Bitmap& bitmap = *tracked.canvases[k]->bitmap;
                ASSERT_EQ(bitmap.pixels, plain.canvases[k]->bitmap->pixels)
                    << "seed " << seed << ", step " << i << " (kind " << step.kind << "), bitmap " << k << "\n"
                    << Join(tracked.canvases[k]->Picture()) << "should be\n" << Join(plain.canvases[k]->Picture());
                ASSERT_EQ(CheckTiles(bitmap, before[k], mark), "")
                    << "seed " << seed << ", step " << i << " (kind " << step.kind << "), bitmap " << k;
            }
        }
    }
}

// The tracking must also do its job: a copy after a small change moves only the changed tiles,
// and the display learns exactly those.
TEST(DamageTracking, MovesOnlyChangedTiles) {
    Canvas scene(kWidth, kHeight), screen(kWidth, kHeight);
    BitBlt(screen.dc, 0, 0, kWidth, kHeight, scene.dc, 0, 0, SRCCOPY);
    const uint64_t version = screen.bitmap->version;
    BitBlt(screen.dc, 0, 0, kWidth, kHeight, scene.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(screen.bitmap->version, version) << "an unchanged bitmap was copied again";

    struct Case { const char* what; int x0, y0, x1, y1; int width; std::vector<std::array<int64_t, 4>> runs; };
    const Case cases[] = {
        {"a dot in the first tile", 3, 2, 4, 2, 1, {{0, 0, 15, 7}}},
        {"a row across two tiles", 10, 20, 20, 20, 1, {{0, 16, 31, 23}}},
        {"a column in the last, cut tiles", 70, 30, 70, 44, 1, {{64, 24, 74, 31}, {64, 32, 74, 39}, {64, 40, 74, 44}}},
        {"a 3-pixel pen inside one tile", 40, 11, 42, 11, 3, {{32, 8, 47, 15}}},
    };
    for (const Case& c : cases) {
        Canvas fresh(kWidth, kHeight);  // white, as both bitmaps are
        BitBlt(scene.dc, 0, 0, kWidth, kHeight, fresh.dc, 0, 0, SRCCOPY);
        BitBlt(screen.dc, 0, 0, kWidth, kHeight, scene.dc, 0, 0, SRCCOPY);
        const uint64_t since = qp::Mark();
        scene.Pen(c.width, kBlack);
        scene.Line(c.x0, c.y0, c.x1, c.y1);
        BitBlt(screen.dc, 0, 0, kWidth, kHeight, scene.dc, 0, 0, SRCCOPY);
        std::vector<std::array<int64_t, 4>> runs;
        qp::ForEachChangedRun(*screen.bitmap, since, [&](int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
            runs.push_back({x0, y0, x1, y1});
        });
        EXPECT_EQ(runs, c.runs) << c.what;
        EXPECT_EQ(screen.bitmap->pixels, scene.bitmap->pixels) << c.what;
    }
}

}  // namespace
