// Qorin1 and the shell's frame protocol, checked on frames captured from the real binary.
// At 1024 x 768: D = 578, A = 71, base lines at y = 172, 326 and 553, the start/pause face at
// (201, 713), minus at (381, 713), plus at (581, 713), the slider thumb on row 754.
#include "runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <sstream>

namespace {

const uint32_t white = Rgb(255, 255, 255), black = 0, grey = Rgb(150, 150, 150), blue = Rgb(0, 50, 225),
               redOrange = Rgb(200, 50, 0), red = Rgb(250, 0, 0);
const int nodes[] = {223, 334, 446, 557, 669, 780, 892, 1003};

std::string Click(int after, int x, int y)
{
    std::ostringstream s;
    s << after << " down " << x << ' ' << y << '\n' << after << " up " << x << ' ' << y << '\n';
    return s.str();
}

// Clicks that reveal the middle and the bottom strip (one click takes two frames).
const std::string revealBoth = Click(1, 600, 326) + Click(3, 600, 553);
const std::string start = Click(5, 276, 738);

// Left edge of the black 16 x 16 thumb (rows 746..761 over the track), or -1.
int ThumbLeft(const Frame& f)
{
    for (int x = 436; x < 600; ++x) {
        bool solid = f.At(x - 1, 746) != black;
        for (int i = 0; i < 16 && solid; ++i)
            solid = f.At(x + i, 746) == black && f.At(x + i, 754) == black && f.At(x + i, 761) == black;
        if (solid)
            return x;
    }
    return -1;
}

// The caption's glyph pixels: red text blended over its white box (r near 255, g == b).
bool CaptionPixel(uint32_t p)
{
    int r = p >> 16, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return r >= 248 && g == b && g < 200;
}

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
};

Box CaptionBox(const Frame& f)
{
    Box box;
    for (int y = 200; y < 250; ++y)
        for (int x = 395; x < 610; ++x)
            if (CaptionPixel(f.At(x, y))) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

void ExpectFinished(const RunResult& r)
{
    ASSERT_TRUE(r.finished) << "the run did not end by itself\n" << r.out << r.err;
    ASSERT_EQ(r.status, r.exitCode & 0xFF) << r.out << r.err;
}

}  // namespace

TEST(Qorin1, LayoutAt1024x768)
{
    RunOptions o;
    o.frames = 5;
    o.shots = {1, 5};
    RunResult r = RunProgram("Qorin1", revealBoth, o);
    ExpectFinished(r);
    const Frame& first = r.Shot(1);
    const Frame& open = r.Shot(5);
    ASSERT_FALSE(first.Empty());
    ASSERT_FALSE(open.Empty());

    // Strip borders: rows 100..243, 254..398 and 409..697, columns 200..1003.
    struct Probe { int x, y; uint32_t colour; } probes[] = {
        {600, 100, black}, {600, 243, black}, {600, 244, white}, {600, 99, white},
        {600, 253, white}, {600, 254, black}, {600, 398, black}, {600, 399, white},
        {600, 408, white}, {600, 409, black}, {600, 697, black}, {600, 698, white},
        {199, 150, white}, {200, 150, black}, {1003, 150, black}, {1004, 150, white},
    };
    for (auto& p : probes)
        EXPECT_EQ(Hex(first.At(p.x, p.y)), Hex(p.colour)) << "at (" << p.x << ", " << p.y << ")";

    // Base lines: grey along rows 172, 326 and 553 wherever no curve or disc lies on them.
    for (int y : {172, 326, 553}) {
        int greyCount = 0, greyAround = 0;
        for (int x = 201; x < 1003; ++x) {
            greyCount += open.At(x, y) == grey;
            greyAround += open.At(x, y - 1) == grey || open.At(x, y + 1) == grey;
        }
        EXPECT_GT(greyCount, 600) << "base line at y = " << y;
        EXPECT_EQ(greyAround, 0) << "grey next to the base line at y = " << y;
    }

    // Node discs of radius 5 on the bottom base line; no red-orange anywhere else in the strips.
    for (int x : nodes)
        EXPECT_EQ(Hex(open.At(x - 1, 552)), Hex(redOrange)) << "node at x = " << x;
    for (int y = 100; y < 698; ++y)
        for (int x = 200; x < open.width; ++x)
            if (open.At(x, y) == redOrange) {
                bool nearNode = y >= 548 && y <= 557 &&
                                std::any_of(std::begin(nodes), std::end(nodes),
                                            [&](int n) { return x >= n - 5 && x <= n + 4; });
                ASSERT_TRUE(nearNode) << "red-orange at (" << x << ", " << y << ")";
            }

    // Wavelength strokes, 3 px wide, at x = 390 and 613, crossing the gap between the top strips.
    std::set<int> strokeColumns;
    for (int x = 0; x < first.width; ++x)
        if (first.At(x, 249) == red)
            strokeColumns.insert(x);
    EXPECT_EQ(strokeColumns, (std::set<int>{389, 390, 391, 612, 613, 614}));
    EXPECT_EQ(Hex(first.At(390, 234)), Hex(red));
    EXPECT_EQ(Hex(open.At(613, 254)), Hex(red)) << "the strokes stay when the strip below is open";

    // The caption " wavelength " from (445, 220), in a font 17 px high: the leading space comes first.
    Box caption = CaptionBox(first);
    ASSERT_FALSE(caption.Empty());
    EXPECT_GE(caption.left, 446);
    EXPECT_LE(caption.left, 452);
    EXPECT_GE(caption.top, 220);
    EXPECT_LE(caption.bottom, 236);
    EXPECT_LT(caption.right, 445 + 12 * 8 + 8);
}

TEST(Qorin1, StartButtonFollowsTheBarOffset)
{
    struct Case { const char* size; int x, y; } cases[] = {
        {"1024x768", 201, 713}, {"850x600", 201, 545}, {"800x600", 151, 545}, {"640x480", 11, 425},
    };
    const Frame face = LoadPicture("Qorin1", "s.bmp");
    ASSERT_FALSE(face.Empty());
    for (auto& c : cases) {
        RunOptions o;
        o.size = c.size;
        RunResult r = RunProgram("Qorin1", "", o);
        ExpectFinished(r);
        EXPECT_TRUE(ShowsPicture(r.Last(), c.x, c.y, face, std::string("start-face-") + c.size));
        EXPECT_EQ(r.Last().At(c.x - 1, c.y + 25), black) << c.size << ": 1-px frame left of the face";
    }
}

TEST(Qorin1, HoverFrameUsesStrictEdges)
{
    // The start/pause face spans 201..350 x 713..762; a hovered face gets a 3-px frame, so
    // column 199 turns black.
    struct Case { int x, y; bool hovered; } cases[] = {
        {201, 738, false}, {202, 738, true},  {350, 738, true}, {351, 738, false},
        {276, 713, false}, {276, 714, true},  {276, 762, true}, {276, 763, false},
    };
    for (auto& c : cases) {
        RunOptions o;
        o.frames = 2;
        RunResult r = RunProgram("Qorin1", "0 move " + std::to_string(c.x) + " " + std::to_string(c.y), o);
        ExpectFinished(r);
        EXPECT_EQ(r.Last().At(199, 738) == black, c.hovered) << "pointer at (" << c.x << ", " << c.y << ")";
    }
}

TEST(Qorin1, StartButtonPresses)
{
    struct Case { const char* name; std::string script; bool starts; } cases[] = {
        {"press and release on the face", Click(1, 276, 738), true},
        {"press outside, move on with the button down", "1 down 100 738\n1 move 276 738\n1 up 276 738\n", true},
        {"release far away", "1 down 276 738\n1 up 900 300\n", true},
        {"shift held", "1 down 276 738 shift\n1 up 276 738\n", false},
        {"ctrl held", "1 down 276 738 ctrl\n1 up 276 738\n", false},
        {"right button", "1 rdown 276 738\n1 rup 276 738\n", false},
        {"press and release twice", Click(1, 276, 738) + Click(4, 276, 738), false},
    };
    const Frame pauseFace = LoadPicture("Qorin1", "p.bmp"), startFace = LoadPicture("Qorin1", "s.bmp");
    for (auto& c : cases) {
        RunOptions o;
        o.frames = 8;
        RunResult r = RunProgram("Qorin1", c.script, o);
        ExpectFinished(r);
        EXPECT_TRUE(ShowsPicture(r.Last(), 201, 713, c.starts ? pauseFace : startFace, "start-button")) << c.name;
    }
}

TEST(Qorin1, HowRunsEnd)
{
    // The exit code is the word of the last message the program's pumps picked up.
    struct Case { const char* name; std::string script; int frames; int expectFrames; int expectExit; } cases[] = {
        {"Escape", "2 key escape\n", 10, 2, 0x1B},
        {"exit button", Click(1, 928, 35), 10, 1, 0},
        {"the frame limit closes the window", "", 3, 3, -1},
        {"ALT+F4", "2 close\n", 10, 2, -1},
        {"ALT+F4 while a button is held", "1 down 276 738\n2 close\n", 10, 2, -1},
        // The About box takes the Escape, then the loop test finds it pressed: the last message the
        // program itself picked up is the ALT+"?" character.
        {"About box closed by Escape", "2 alt ?\n20 key escape\n", 10, -1, '?'},
        {"About box closed by Enter", "2 alt ?\n20 key enter\n", 10, 10, -1},
        {"About box on ALT+/ closed by Enter", "2 alt /\n20 key enter\n", 10, 10, -1},
    };
    for (auto& c : cases) {
        RunOptions o;
        o.frames = c.frames;
        RunResult r = RunProgram("Qorin1", c.script, o);
        ExpectFinished(r);
        if (c.expectFrames >= 0) {
            EXPECT_EQ(r.frames, c.expectFrames) << c.name;
        }
        if (c.expectExit >= 0) {
            EXPECT_EQ(r.exitCode, c.expectExit) << c.name;
        }
    }
}

TEST(Qorin1, SpeedStaysWithinItsBounds)
{
    auto presses = [](int x, int count) {
        std::string s;
        for (int i = 0; i < count; ++i)
            s += Click(1 + 2 * i, x, 738);
        return s;
    };
    struct Case { const char* name; std::string script; int thumb; } cases[] = {
        {"start value 0.06", "", 451},
        {"minus five times: just under 0.01", presses(406, 5), 443},
        {"minus six times: 0.001", presses(406, 6), 442},
        {"minus eight times: still 0.001", presses(406, 8), 442},
        {"plus 70 times stops at 0.7", presses(606, 70), 554},
        {"drag far left: 0.001", "1 down 458 754\n1 move 300 754\n1 up 300 754\n", 442},
        {"drag far right: 0.7", "1 down 458 754\n1 move 900 754\n1 up 900 754\n", 554},
        {"drag to x = 500: 0.36", "1 down 458 754\n1 move 500 754\n1 up 500 754\n", 499},
    };
    for (auto& c : cases) {
        RunOptions o;
        o.frames = 150;
        RunResult r = RunProgram("Qorin1", c.script, o);
        ExpectFinished(r);
        EXPECT_EQ(ThumbLeft(r.Last()), c.thumb) << c.name;
    }
}

TEST(Qorin1, CoversAndCaption)
{
    const Frame cover = LoadPicture("Qorin1", "pto.bmp");
    ASSERT_FALSE(cover.Empty());
    // Cover captions at (412, 142), (412, 296) and (412, 523).
    struct Case { const char* name; std::string script; bool top, middle, bottom, caption; } cases[] = {
        {"at start", "", false, true, true, true},
        {"middle revealed", Click(1, 600, 326), false, false, true, true},
        {"middle revealed and hidden again", Click(1, 600, 326) + Click(3, 600, 326), false, true, true, true},
        {"top covered", Click(1, 600, 172), true, true, true, true},
        {"bottom revealed", Click(1, 600, 553), false, true, false, true},
        {"started", Click(1, 276, 738), false, true, true, false},
        {"started and paused again", Click(1, 276, 738) + Click(3, 276, 738), false, true, true, false},
    };
    for (auto& c : cases) {
        RunOptions o;
        o.frames = 7;
        RunResult r = RunProgram("Qorin1", c.script, o);
        ExpectFinished(r);
        const Frame& f = r.Last();
        EXPECT_EQ(AreaEquals(f, 412, 142, cover), c.top) << c.name;
        EXPECT_EQ(AreaEquals(f, 412, 296, cover), c.middle) << c.name;
        EXPECT_EQ(AreaEquals(f, 412, 523, cover), c.bottom) << c.name;
        EXPECT_EQ(!CaptionBox(f).Empty(), c.caption) << c.name;
        EXPECT_EQ(f.At(390, 249), red) << c.name << ": the strokes are always drawn";
    }
}

TEST(Qorin1, SumCrossesItsBaseLineAtEveryNode)
{
    RunOptions o;
    o.frames = 40;
    for (int n = 8; n <= 40; n += 4)
        o.shots.push_back(n);
    RunResult r = RunProgram("Qorin1", revealBoth + start, o);
    ExpectFinished(r);
    ASSERT_EQ(r.shots.size(), o.shots.size());
    // Blue rows in one column of the bottom strip, nearest to the base line.
    auto curveRow = [](const Frame& f, int x) {
        int best = -1;
        for (int y = 410; y < 697; ++y)
            if (f.At(x, y) == blue && (best < 0 || std::abs(y - 553) < std::abs(best - 553)))
                best = y;
        return best;
    };
    int moving = 0;
    for (auto& [n, f] : r.shots) {
        for (int x : nodes) {
            if (x + 6 >= 1003)
                continue;
            // Just outside the disc on either side the curve lies on opposite sides of the base
            // line (or on it), and close to it: it passes through the node.
            int left = curveRow(f, x - 7), right = curveRow(f, x + 6);
            ASSERT_GE(left, 0) << "frame " << n << " node " << x;
            ASSERT_GE(right, 0) << "frame " << n << " node " << x;
            EXPECT_LE((left - 553) * (right - 553), 0) << "frame " << n << " node " << x;
            EXPECT_LE(std::abs(left - 553), 30) << "frame " << n << " node " << x;
            EXPECT_LE(std::abs(right - 553), 30) << "frame " << n << " node " << x;
        }
        // Between nodes the loops swing: a crest's height changes from frame to frame.
        moving += curveRow(f, 278) != curveRow(r.Shot(8), 278);
    }
    EXPECT_GT(moving, 3);
}

TEST(Qorin1, LiveDrawingObjectsStayConstant)
{
    const std::string script = revealBoth + start;
    RunOptions shortRun, longRun;
    shortRun.frames = 10;
    longRun.frames = 1000;
    RunResult a = RunProgram("Qorin1", script, shortRun), b = RunProgram("Qorin1", script, longRun);
    ExpectFinished(a);
    ExpectFinished(b);
    EXPECT_EQ(a.frames, 10);
    EXPECT_EQ(b.frames, 1000);
    EXPECT_GT(a.objects, 0);
    EXPECT_EQ(a.objects, b.objects);
}

TEST(Runner, RefusesABadScriptLineAndRunsNothing)
{
    RunResult r = RunProgram("Qorin1", "1 move 10 10\n2 jump 3 4\n");
    ASSERT_TRUE(r.finished);
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("script:2:"), std::string::npos) << r.err;
    EXPECT_TRUE(r.shots.empty());
    EXPECT_EQ(r.frames, -1) << "nothing may run";
}
