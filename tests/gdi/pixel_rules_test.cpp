// Which pixels each primitive touches: one table of small drawings on a white canvas, each
// with the picture it must leave. A failure prints the picture actually drawn.
#include "canvas.h"

#include <gtest/gtest.h>

namespace {

constexpr int kFar = 2000000000;

struct PixelCase {
    const char* name;
    int width, height;
    void (*draw)(Canvas&);
    std::vector<std::string> expected;
};

// The 4 x 3 picture the copy cases take their pixels from.
const std::vector<std::string> kSource = {
    "r#bg",
    "#rb#",
    "bg#r",
};

const PixelCase kCases[] = {
    // Rectangles: columns left..right-1, rows top..bottom-1; the 1-px border is the outermost ring.
    {"RectangleSolidColour", 10, 7, [](Canvas& c) {
         c.Pen(1, kRed);
         c.Brush(kRed);
         Rectangle(c.dc, 2, 1, 7, 5);
     },
     {"..........",
      "..rrrrr...",
      "..rrrrr...",
      "..rrrrr...",
      "..rrrrr...",
      "..........",
      ".........."}},
    {"RectangleCornersInAnyOrder", 10, 7, [](Canvas& c) {
         c.Pen(1, kRed);
         c.Brush(kRed);
         Rectangle(c.dc, 7, 5, 2, 1);
     },
     {"..........",
      "..rrrrr...",
      "..rrrrr...",
      "..rrrrr...",
      "..rrrrr...",
      "..........",
      ".........."}},
    {"RectangleBlackPenWhiteBrush", 10, 7, [](Canvas& c) {
         c.Brush(kBlue);
         Rectangle(c.dc, 0, 0, 10, 7);
         c.Replace(GetStockObject(WHITE_BRUSH));
         Rectangle(c.dc, 2, 1, 8, 6);
     },
     {"##########",
      "#b######b#",
      "#b#....#b#",
      "#b#....#b#",
      "#b#....#b#",
      "#b######b#",
      "##########"}},
    {"RectangleNullBrushKeepsInterior", 10, 7, [](Canvas& c) {
         c.Replace(GetStockObject(NULL_PEN));
         c.Brush(kBlue);
         Rectangle(c.dc, 0, 0, 11, 8);
         c.Replace(GetStockObject(BLACK_PEN));
         c.Replace(GetStockObject(NULL_BRUSH));
         Rectangle(c.dc, 2, 1, 6, 5);
     },
     {"bbbbbbbbbb",
      "bb####bbbb",
      "bb#bb#bbbb",
      "bb#bb#bbbb",
      "bb####bbbb",
      "bbbbbbbbbb",
      "bbbbbbbbbb"}},
    {"RectangleNullPenIsOnePixelSmaller", 10, 7, [](Canvas& c) {
         c.Replace(GetStockObject(NULL_PEN));
         c.Brush(kRed);
         Rectangle(c.dc, 2, 1, 7, 5);
     },
     {"..........",
      "..rrrr....",
      "..rrrr....",
      "..rrrr....",
      "..........",
      "..........",
      ".........."}},
    {"RectangleEmptyDrawsNothing", 10, 7, [](Canvas& c) {
         c.Pen(3, kRed);
         c.Brush(kRed);
         Rectangle(c.dc, 3, 1, 3, 6);
         Rectangle(c.dc, 1, 4, 9, 4);
     },
     {"..........",
      "..........",
      "..........",
      "..........",
      "..........",
      "..........",
      ".........."}},
    {"RectangleThreePixelPen", 12, 11, [](Canvas& c) {
         c.Pen(3, kRed);
         c.Brush(kBlue);
         Rectangle(c.dc, 3, 3, 9, 8);
     },
     {"............",
      "............",
      "..rrrrrrrr..",
      "..rrrrrrrr..",
      "..rrrrrrrr..",
      "..rrrbbrrr..",
      "..rrrrrrrr..",
      "..rrrrrrrr..",
      "..rrrrrrrr..",
      "............",
      "............"}},
    {"RectangleHugeIsClipped", 10, 7, [](Canvas& c) {
         c.Brush(kRed);
         Rectangle(c.dc, -kFar, 3, 5, kFar);
     },
     {"..........",
      "..........",
      "..........",
      "#####.....",
      "rrrr#.....",
      "rrrr#.....",
      "rrrr#....."}},

    // 1-pixel lines: Bresenham, end point excluded; an exact half keeps the start's row or column.
    {"LineRight", 10, 5, [](Canvas& c) { c.Line(2, 3, 8, 3); },
     {"..........",
      "..........",
      "..........",
      "..######..",
      ".........."}},
    {"LineLeft", 10, 5, [](Canvas& c) { c.Line(8, 3, 2, 3); },
     {"..........",
      "..........",
      "..........",
      "...######.",
      ".........."}},
    {"LineDownAndUp", 6, 8, [](Canvas& c) {
         c.Line(1, 1, 1, 6);
         c.Line(4, 6, 4, 1);
     },
     {"......",
      ".#....",
      ".#..#.",
      ".#..#.",
      ".#..#.",
      ".#..#.",
      "....#.",
      "......"}},
    {"LineShallowDownRight", 10, 5, [](Canvas& c) { c.Line(1, 1, 7, 3); },
     {"..........",
      ".##.......",
      "...###....",
      "......#...",
      ".........."}},
    {"LineShallowUpLeft", 12, 8, [](Canvas& c) { c.Line(10, 6, 4, 4); },
     {"............",
      "............",
      "............",
      "............",
      ".....#......",
      "......###...",
      ".........##.",
      "............"}},
    {"LineShallowUpRight", 10, 10, [](Canvas& c) { c.Line(1, 8, 7, 6); },
     {"..........",
      "..........",
      "..........",
      "..........",
      "..........",
      "..........",
      "......#...",
      "...###....",
      ".##.......",
      ".........."}},
    {"LineShallowDownLeft", 12, 6, [](Canvas& c) { c.Line(9, 2, 3, 4); },
     {"............",
      "............",
      "........##..",
      ".....###....",
      "....#.......",
      "............"}},
    {"LineSteepDownRight", 6, 10, [](Canvas& c) { c.Line(2, 1, 4, 8); },
     {"......",
      "..#...",
      "..#...",
      "...#..",
      "...#..",
      "...#..",
      "...#..",
      "....#.",
      "......",
      "......"}},
    {"LineSteepUpLeft", 12, 10, [](Canvas& c) { c.Line(9, 9, 7, 2); },
     {"............",
      "............",
      "............",
      ".......#....",
      "........#...",
      "........#...",
      "........#...",
      "........#...",
      ".........#..",
      ".........#.."}},
    {"LineSteepUpRight", 8, 10, [](Canvas& c) { c.Line(3, 9, 5, 2); },
     {"........",
      "........",
      "........",
      ".....#..",
      "....#...",
      "....#...",
      "....#...",
      "....#...",
      "...#....",
      "...#...."}},
    {"LineSteepDownLeft", 10, 10, [](Canvas& c) { c.Line(8, 1, 6, 8); },
     {"..........",
      "........#.",
      "........#.",
      ".......#..",
      ".......#..",
      ".......#..",
      ".......#..",
      "......#...",
      "..........",
      ".........."}},
    {"LineDiagonal", 7, 7, [](Canvas& c) { c.Line(1, 1, 5, 5); },
     {".......",
      ".#.....",
      "..#....",
      "...#...",
      "....#..",
      ".......",
      "......."}},
    {"LineTieKeepsStartRow", 7, 5, [](Canvas& c) { c.Line(1, 1, 5, 3); },
     {".......",
      ".##....",
      "...##..",
      ".......",
      "......."}},
    {"LineTieReversed", 7, 5, [](Canvas& c) { c.Line(5, 3, 1, 1); },
     {".......",
      ".......",
      "..##...",
      "....##.",
      "......."}},
    {"LineSteepTieKeepsStartColumn", 5, 7, [](Canvas& c) { c.Line(1, 1, 3, 5); },
     {".....",
      ".#...",
      ".#...",
      "..#..",
      "..#..",
      ".....",
      "....."}},
    {"ZeroLengthLinesDrawNothing", 12, 6, [](Canvas& c) {
         c.Pen(1, kRed);
         c.Line(2, 3, 2, 3);
         c.Pen(2, kRed);
         c.Line(5, 3, 5, 3);
         c.Pen(3, kRed);
         c.Line(9, 3, 9, 3);
     },
     {"............",
      "............",
      "............",
      "............",
      "............",
      "............"}},

    // Wider pens: pixels whose centre (offset by half a pixel for even widths) lies within
    // width/2 of the segment; both ends are round and included.
    {"PenTwoHorizontal", 12, 9, [](Canvas& c) {
         c.Pen(2, kRed);
         c.Line(3, 5, 9, 5);
     },
     {"............",
      "............",
      "............",
      "............",
      "..rrrrrrrr..",
      "..rrrrrrrr..",
      "............",
      "............",
      "............"}},
    {"PenThreeHorizontal", 12, 9, [](Canvas& c) {
         c.Pen(3, kRed);
         c.Line(3, 5, 9, 5);
     },
     {"............",
      "............",
      "............",
      "............",
      "..rrrrrrrrr.",
      "..rrrrrrrrr.",
      "..rrrrrrrrr.",
      "............",
      "............"}},
    {"PenTwoVertical", 9, 12, [](Canvas& c) {
         c.Pen(2, kRed);
         c.Line(4, 9, 4, 2);
     },
     {".........",
      "...rr....",
      "...rr....",
      "...rr....",
      "...rr....",
      "...rr....",
      "...rr....",
      "...rr....",
      "...rr....",
      "...rr....",
      ".........",
      "........."}},
    {"PenThreeVertical", 9, 12, [](Canvas& c) {
         c.Pen(3, kRed);
         c.Line(4, 2, 4, 9);
     },
     {".........",
      "...rrr...",
      "...rrr...",
      "...rrr...",
      "...rrr...",
      "...rrr...",
      "...rrr...",
      "...rrr...",
      "...rrr...",
      "...rrr...",
      "...rrr...",
      "........."}},
    {"PenThreeDiagonal", 12, 11, [](Canvas& c) {
         c.Pen(3, kRed);
         c.Line(2, 2, 7, 7);
     },
     {"............",
      ".rrr........",
      ".rrrr.......",
      ".rrrrr......",
      "..rrrrr.....",
      "...rrrrr....",
      "....rrrrr...",
      ".....rrrr...",
      "......rrr...",
      "............",
      "............"}},
    {"PenTwoDiagonal", 12, 11, [](Canvas& c) {
         c.Pen(2, kRed);
         c.Line(2, 7, 8, 3);
     },
     {"............",
      "............",
      ".......rr...",
      ".....rrrr...",
      "....rrrr....",
      "..rrrr......",
      ".rrrr.......",
      ".rr.........",
      "............",
      "............",
      "............"}},

    // Huge coordinates: only the part inside the bitmap is visited, pixel-exact.
    {"LinesHugeHorizontal", 10, 9, [](Canvas& c) {
         c.Pen(3, kRed);
         c.Line(-kFar, 2, kFar, 2);
         c.Pen(1, kBlack);
         c.Line(kFar, 6, -kFar, 6);
     },
     {"..........",
      "rrrrrrrrrr",
      "rrrrrrrrrr",
      "rrrrrrrrrr",
      "..........",
      "..........",
      "##########",
      "..........",
      ".........."}},
    {"LineHugeSteepHitsATie", 5, 5, [](Canvas& c) { c.Line(0, -kFar, 3, kFar); },
     // Row 0 is step 2e9 of 4e9: offset 1.5 exactly, which stays on column 1.
     {".#...",
      "..#..",
      "..#..",
      "..#..",
      "..#.."}},
    {"PenThreeHugeDiagonal", 8, 8, [](Canvas& c) {
         c.Pen(3, kRed);
         c.Line(-kFar, -kFar, kFar, kFar);
     },
     {"rrr.....",
      "rrrr....",
      "rrrrr...",
      ".rrrrr..",
      "..rrrrr.",
      "...rrrrr",
      "....rrrr",
      ".....rrr"}},

    // Ellipses: pixel centres inside the inscribed ellipse; inside pixels with a 4-neighbour
    // outside take the pen colour.
    {"DiscOfRadiusFive", 18, 14, [](Canvas& c) {
         c.Brush(kBlue);
         Ellipse(c.dc, 8 - 5, 6 - 5, 8 + 5, 6 + 5);
     },
     {"..................",
      "......####........",
      "....##bbbb##......",
      "....#bbbbbb#......",
      "...#bbbbbbbb#.....",
      "...#bbbbbbbb#.....",
      "...#bbbbbbbb#.....",
      "...#bbbbbbbb#.....",
      "....#bbbbbb#......",
      "....##bbbb##......",
      "......####........",
      "..................",
      "..................",
      ".................."}},
    {"EllipseOddBox", 16, 10, [](Canvas& c) {
         c.Brush(kBlue);
         Ellipse(c.dc, 13, 8, 2, 2);
     },
     {"................",
      "................",
      "....#######.....",
      "...#bbbbbbb#....",
      "..#bbbbbbbbb#...",
      "..#bbbbbbbbb#...",
      "...#bbbbbbb#....",
      "....#######.....",
      "................",
      "................"}},
    {"EllipseNullPenHasNoOutline", 12, 8, [](Canvas& c) {
         c.Replace(GetStockObject(NULL_PEN));
         c.Brush(kBlue);
         Ellipse(c.dc, 1, 1, 11, 7);
     },
     {"............",
      "...bbbbbb...",
      "..bbbbbbbb..",
      ".bbbbbbbbbb.",
      ".bbbbbbbbbb.",
      "..bbbbbbbb..",
      "...bbbbbb...",
      "............"}},
    {"EllipseHugeIsClipped", 10, 12, [](Canvas& c) {
         c.Brush(kBlue);
         Ellipse(c.dc, 6 - kFar, 2, 6 + kFar, 10);
     },
     {"..........",
      "..........",
      "##########",
      "bbbbbbbbbb",
      "bbbbbbbbbb",
      "bbbbbbbbbb",
      "bbbbbbbbbb",
      "bbbbbbbbbb",
      "bbbbbbbbbb",
      "##########",
      "..........",
      ".........."}},

    // Copies, clipped to the destination and to the source.
    {"CopyInside", 8, 6, [](Canvas& c) {
         Canvas source(kSource);
         EXPECT_TRUE(BitBlt(c.dc, 3, 2, 4, 3, source.dc, 0, 0, SRCCOPY));
     },
     {"........",
      "........",
      "...r#bg.",
      "...#rb#.",
      "...bg#r.",
      "........"}},
    {"CopyClippedTopLeft", 8, 6, [](Canvas& c) {
         Canvas source(kSource);
         BitBlt(c.dc, -1, -2, 4, 3, source.dc, 0, 0, SRCCOPY);
     },
     {"g#r.....",
      "........",
      "........",
      "........",
      "........",
      "........"}},
    {"CopyClippedBottomRight", 8, 6, [](Canvas& c) {
         Canvas source(kSource);
         BitBlt(c.dc, 6, 4, 4, 3, source.dc, 0, 0, SRCCOPY);
     },
     {"........",
      "........",
      "........",
      "........",
      "......r#",
      "......#r"}},
    {"CopyClippedToSource", 8, 6, [](Canvas& c) {
         Canvas source(kSource);
         BitBlt(c.dc, 2, 2, 6, 5, source.dc, 1, 1, SRCCOPY);
         BitBlt(c.dc, 0, 0, 4, 1, source.dc, -2, 0, SRCCOPY);
     },
     {"..r#....",
      "........",
      "..rb#...",
      "..g#r...",
      "........",
      "........"}},
    {"CopyFailsWithoutSourceOrWithOtherRop", 8, 6, [](Canvas& c) {
         Canvas source(kSource);
         EXPECT_FALSE(BitBlt(c.dc, 0, 0, 4, 3, nullptr, 0, 0, SRCCOPY));
         EXPECT_FALSE(BitBlt(c.dc, 0, 0, 4, 3, reinterpret_cast<HDC>(&source), 0, 0, SRCCOPY));
         EXPECT_FALSE(BitBlt(c.dc, 0, 0, 4, 3, source.dc, 0, 0, 0x00EE0086));
     },
     {"........",
      "........",
      "........",
      "........",
      "........",
      "........"}},
    {"CopyOntoItselfRightward", 8, 7, [](Canvas& c) {
         c.Line(0, 0, 6, 6);
         BitBlt(c.dc, 1, 0, 6, 6, c.dc, 0, 0, SRCCOPY);
     },
     {"##......",
      "..#.....",
      "...#....",
      "....#...",
      ".....#..",
      "......#.",
      "........"}},
    {"CopyOntoItselfDownward", 8, 8, [](Canvas& c) {
         c.Line(0, 0, 6, 6);
         BitBlt(c.dc, 0, 1, 6, 6, c.dc, 0, 0, SRCCOPY);
     },
     {"#.......",
      "#.......",
      ".#......",
      "..#.....",
      "...#....",
      "....#...",
      ".....#..",
      "........"}},
};

class PixelRules : public testing::TestWithParam<PixelCase> {};

TEST_P(PixelRules, TouchesExactlyThesePixels) {
    const PixelCase& rule = GetParam();
    Canvas canvas(rule.width, rule.height);
    const uint64_t versionBefore = canvas.bitmap->version;
    rule.draw(canvas);
    const std::vector<std::string> picture = canvas.Picture();
    if (picture != rule.expected)
        ADD_FAILURE() << "expected:\n" << Join(rule.expected) << "drawn:\n" << Join(picture);
    // The window layer presents a bitmap only when its version moved.
    if (picture != Canvas(rule.width, rule.height).Picture()) {
        EXPECT_NE(canvas.bitmap->version, versionBefore) << "pixels changed without a version bump";
    }
}

INSTANTIATE_TEST_SUITE_P(Table, PixelRules, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<PixelCase>& info) { return std::string(info.param.name); });

TEST(GetPixel, KeepsRedInTheLowByte) {
    Canvas canvas(4, 3);
    canvas.Pen(1, RGB(255, 0, 0));
    canvas.Line(1, 1, 2, 1);
    EXPECT_EQ(canvas.bitmap->Row(1)[1], 0xFF0000u);  // pixels are 0x00RRGGBB
    EXPECT_EQ(GetPixel(canvas.dc, 1, 1), 0x0000FFu);
    EXPECT_EQ(GetPixel(canvas.dc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(canvas.dc, 4, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(canvas.dc, 0, -1), CLR_INVALID);
    EXPECT_EQ(GetPixel(nullptr, 0, 0), CLR_INVALID);
}

TEST(LineTo, LeavesTheEndAsCurrentPosition) {
    Canvas canvas(4, 3);
    POINT previous{-1, -1};
    MoveToEx(canvas.dc, 1, 2, nullptr);
    LineTo(canvas.dc, 3, 0);
    EXPECT_TRUE(MoveToEx(canvas.dc, 0, 0, &previous));
    EXPECT_EQ(previous.x, 3);
    EXPECT_EQ(previous.y, 0);
}

}  // namespace
