// Qorin3, the travelling electromagnetic wave, checked on frames captured from the real binary.
// At 1024 x 768: A = 110, origin (164, 273), arrows every 115 px from x = 164, field panel rows
// 117..393, flux panel rows 403..663 with its axis on row 643, the white strip from column 1004.
#include "runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>
#include <sstream>
#include <vector>

namespace {

const uint32_t white = Rgb(255, 255, 255), black = 0, axisGrey = Rgb(100, 100, 100), red = Rgb(250, 5, 5),
               blue = Rgb(0, 5, 250), green = Rgb(50, 160, 25);
const int X0 = 164, Y0 = 273;
const int arrowColumns[] = {164, 279, 394, 509, 624, 739, 854, 969};

std::string Click(int after, int x, int y)
{
    std::ostringstream s;
    s << after << " down " << x << ' ' << y << '\n' << after << " up " << x << ' ' << y << '\n';
    return s.str();
}

// The flux panel's area and the start/pause face.
const std::string openFlux = Click(1, 600, 600);
const std::string start = Click(3, 96, 738);

void ExpectFinished(const RunResult& r)
{
    ASSERT_TRUE(r.finished) << "the run did not end by itself\n" << r.out << r.err;
    ASSERT_EQ(r.status, r.exitCode & 0xFF) << r.out << r.err;
}

// The w x h part at (x, y) of a picture, for labels that a moving curve may cross elsewhere.
Frame Crop(const Frame& picture, int x, int y, int w, int h)
{
    Frame part;
    part.width = w;
    part.height = h;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            part.pixels.push_back(picture.At(i, j));
    return part;
}

// Left edge of the black 16 x 16 thumb (rows 746..761 over the track), or -1.
int ThumbLeft(const Frame& f)
{
    for (int x = 250; x < 420; ++x) {
        bool solid = f.At(x - 1, 746) != black;
        for (int i = 0; i < 16 && solid; ++i)
            solid = f.At(x + i, 746) == black && f.At(x + i, 754) == black && f.At(x + i, 761) == black;
        if (solid)
            return x;
    }
    return -1;
}

int CountIn(const Frame& f, uint32_t colour, int left, int top, int right, int bottom)
{
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            n += f.At(x, y) == colour;
    return n;
}

bool NearArrowColumn(int x, int margin)
{
    return std::any_of(std::begin(arrowColumns), std::end(arrowColumns),
                       [&](int c) { return std::abs(x - c) <= margin; });
}

// Centres of the runs of columns in which a curve of the colour passes within 3 rows of the axis
// of travel, away from the arrows' feet.
std::vector<int> AxisCrossings(const Frame& f, uint32_t colour)
{
    std::vector<int> columns;
    for (int x = X0 + 1; x < 1004; ++x) {
        if (NearArrowColumn(x, 10))
            continue;
        for (int y = Y0 - 3; y <= Y0 + 3; ++y)
            if (f.At(x, y) == colour) {
                columns.push_back(x);
                break;
            }
    }
    std::vector<int> centres;
    for (size_t i = 0; i < columns.size();) {
        size_t j = i;
        while (j + 1 < columns.size() && columns[j + 1] - columns[j] <= 2)
            ++j;
        centres.push_back((columns[i] + columns[j]) / 2);
        i = j + 1;
    }
    return centres;
}

}  // namespace

TEST(Qorin3, LayoutAt1024x768)
{
    RunOptions o;
    o.frames = 4;
    o.shots = {1, 4};
    RunResult r = RunProgram("Qorin3", openFlux, o);
    ExpectFinished(r);
    const Frame& covered = r.Shot(1);
    const Frame& open = r.Shot(4);
    ASSERT_FALSE(covered.Empty());
    ASSERT_FALSE(open.Empty());

    // Panel frames: field panel rows 117..393, flux panel rows 403..663, columns 20..1004; the
    // 2-px axes cover the row or column before their line too.
    struct Probe { int x, y; uint32_t colour; } probes[] = {
        {600, 116, white}, {600, 117, black}, {600, 118, white}, {600, 393, black}, {600, 394, white},
        {19, 200, white},  {20, 200, black},  {21, 200, white},  {1004, 200, black}, {1005, 200, white},
        {600, 402, white}, {600, 403, black}, {600, 663, black}, {600, 664, white},
        {20, 500, black},  {1004, 500, black}, {1005, 500, white},
        {163, 140, axisGrey}, {164, 140, axisGrey}, {165, 140, white},       // electric axis, above the crest
        {164, 200, red}, {164, 166, red},  // at phase 0 the origin's arrow is A sin(164/110), up to row 163
        {163, 500, axisGrey}, {164, 500, axisGrey}, {165, 500, white},       // flux panel's vertical axis
        {500, 642, axisGrey}, {500, 643, axisGrey}, {500, 644, white},       // flux axis
    };
    for (auto& p : probes)
        EXPECT_EQ(Hex(open.At(p.x, p.y)), Hex(p.colour)) << "at (" << p.x << ", " << p.y << ")";
    // The axis of travel is grey along row 273 wherever no curve or arrow crosses it.
    EXPECT_GT(CountIn(covered, axisGrey, X0 + 1, Y0, 1004, Y0 + 1), 600);

    struct Place { const char* file; int x, y; bool whenOpen; } places[] = {
        {"top.bmp", 10, 10, false},  {"form.bmp", 784, 688, false}, {"k_v.bmp", 244, 127, false},
        {"E.bmp", 104, 127, false},  {"H.bmp", 37, 281, false},     {"pto.bmp", 462, 513, false},
        {"ex.bmp", 853, 10, false},  {"s.bmp", 21, 713, false},     {"-.bmp", 201, 713, false},
        {"+.bmp", 401, 713, false},  {"S_.bmp", 114, 413, true},
    };
    for (auto& p : places) {
        const Frame picture = LoadPicture("Qorin3", p.file);
        ASSERT_FALSE(picture.Empty()) << p.file;
        EXPECT_TRUE(ShowsPicture(p.whenOpen ? open : covered, p.x, p.y, picture, p.file));
    }
    // The slider track left of the thumb, and the flux panel's k label left of where the curve
    // passes at the start phase, above the flux axis that covers its bottom row.
    EXPECT_TRUE(ShowsPicture(covered, 255, 713, Crop(LoadPicture("Qorin3", "scr.bmp"), 0, 0, 30, 50), "scr.bmp"));
    EXPECT_TRUE(ShowsPicture(open, 964, 603, Crop(LoadPicture("Qorin3", "k.bmp"), 0, 0, 20, 39), "k.bmp"));
}

TEST(Qorin3, RunsWithEitherLanguagesPictures)
{
    for (const char* lang : {"en", "ru"}) {
        RunOptions o;
        o.lang = lang;
        RunResult r = RunProgram("Qorin3", "", o);
        ExpectFinished(r);
        for (auto [file, x, y] : {std::tuple{"top.bmp", 10, 10}, {"pto.bmp", 462, 513}, {"ex.bmp", 853, 10}}) {
            const Frame picture = LoadPicture("Qorin3", file, lang);
            ASSERT_FALSE(picture.Empty()) << lang << " " << file;
            EXPECT_TRUE(ShowsPicture(r.Last(), x, y, picture, std::string(lang) + "-" + file));
        }
    }
    // The two sets differ where there are words.
    EXPECT_NE(LoadPicture("Qorin3", "top.bmp", "en").pixels, LoadPicture("Qorin3", "top.bmp", "ru").pixels);
}

TEST(Qorin3, ArrowsStandInFixedColumns)
{
    // Red shafts are the only long vertical red runs (the curve's slope is at most 1): collect
    // the columns that hold one, over frames of the moving wave.
    RunOptions o;
    o.frames = 60;
    for (int n = 6; n <= 60; n += 6)
        o.shots.push_back(n);
    RunResult r = RunProgram("Qorin3", start, o);
    ExpectFinished(r);
    ASSERT_EQ(r.shots.size(), o.shots.size());
    std::set<int> shaftColumns;
    for (auto& [n, f] : r.shots)
        for (int x = X0 - 10; x < 1004; ++x) {
            int run = 0, longest = 0;
            for (int y = 118; y < 393; ++y) {
                run = f.At(x, y) == red ? run + 1 : 0;
                longest = std::max(longest, run);
            }
            if (longest >= 20)
                shaftColumns.insert(x);
        }
    std::set<int> expected;
    for (int c : arrowColumns)
        for (int dx = -1; dx <= 1; ++dx)
            expected.insert(c + dx);
    EXPECT_EQ(shaftColumns, expected);
}

TEST(Qorin3, WhiteStripRightOfTheBorder)
{
    // Columns 1005..1023 from the field panel's top down stay white while the plot, which runs
    // A pixels past the border, moves under them.
    RunOptions o;
    o.frames = 40;
    for (int n = 5; n <= 40; n += 5)
        o.shots.push_back(n);
    RunResult r = RunProgram("Qorin3", openFlux + start, o);
    ExpectFinished(r);
    for (auto& [n, f] : r.shots) {
        EXPECT_EQ(CountIn(f, white, 1005, 117, 1024, 768), 19 * (768 - 117)) << "frame " << n;
        // Both curves do reach the border just left of it.
        EXPECT_GT(CountIn(f, red, 990, 117, 1004, 394) + CountIn(f, green, 990, 403, 1004, 664), 0) << "frame " << n;
    }
}

TEST(Qorin3, FluxPanelCoverAndFluxArrows)
{
    const Frame caption = LoadPicture("Qorin3", "pto.bmp");
    ASSERT_FALSE(caption.Empty());
    // Green in the field panel comes only from the flux arrows along the axis of travel.
    struct Case { const char* name; std::string script; bool open; } cases[] = {
        {"at start", "", false},
        {"clicked open", openFlux, true},
        {"opened and closed", openFlux + Click(3, 300, 420), false},
        {"a click on the top edge pixel misses", Click(1, 600, 403), false},
        {"a click on the first row inside", Click(1, 600, 404), true},
        {"a click in the field panel misses", Click(1, 600, 300), false},
        {"started, still covered", start, false},
    };
    for (auto& c : cases) {
        RunOptions o;
        o.frames = 8;
        RunResult r = RunProgram("Qorin3", c.script, o);
        ExpectFinished(r);
        const Frame& f = r.Last();
        EXPECT_EQ(AreaEquals(f, 462, 513, caption), !c.open) << c.name;
        const int fieldGreen = CountIn(f, green, 21, 118, 1004, 393);
        EXPECT_EQ(fieldGreen > 0, c.open) << c.name;
        EXPECT_EQ(CountIn(f, green, 21, 118, 1004, 393), CountIn(f, green, 21, Y0 - 6, 1004, Y0 + 7)) << c.name;
        // The flux curve shows on the open panel and nowhere on the cover but in its caption.
        const int panelGreen = CountIn(f, green, 21, 404, 1003, 662);
        const int captionGreen = CountIn(f, green, 462, 513, 712, 553);
        EXPECT_EQ(panelGreen > 1000, c.open) << c.name;
        if (!c.open) {
            EXPECT_EQ(panelGreen, captionGreen) << c.name;
        }
    }
}

TEST(Qorin3, AClickOnTheRevealedCurveCoversItAgain)
{
    RunOptions o;
    o.frames = 4;
    RunResult opened = RunProgram("Qorin3", openFlux, o);
    ExpectFinished(opened);
    const Frame& f = opened.Last();
    int curveY = -1;
    for (int y = 404; y < 662 && curveY < 0; ++y)
        if (f.At(600, y) == green)
            curveY = y + 1;
    ASSERT_GE(curveY, 0) << "no flux curve in column 600";
    ASSERT_EQ(f.At(600, curveY), green);

    o.frames = 8;
    RunResult closed = RunProgram("Qorin3", openFlux + Click(4, 600, curveY), o);
    ExpectFinished(closed);
    EXPECT_TRUE(ShowsPicture(closed.Last(), 462, 513, LoadPicture("Qorin3", "pto.bmp"), "pto.bmp"));
}

TEST(Qorin3, SpeedStaysWithinItsBounds)
{
    auto presses = [](int x, int count) {
        std::string s;
        for (int i = 0; i < count; ++i)
            s += Click(1 + 2 * i, x, 738);
        return s;
    };
    // The thumb's left edge is trunc(262 + 800 speed).
    struct Case { const char* name; std::string script; int thumb; } cases[] = {
        {"start value 0.03", "", 286},
        {"minus thirteen times: just under 0.004", presses(226, 13), 265},
        {"minus fourteen times: 0.001", presses(226, 14), 262},
        {"minus twenty times: still 0.001", presses(226, 20), 262},
        {"plus 55 times reaches 0.14", presses(426, 55), 374},
        {"plus 60 times stops there", presses(426, 60), 374},
        {"drag far left: 0.001", "1 down 290 754\n1 move 100 754\n1 up 100 754\n", 262},
        {"drag far right: 0.14", "1 down 290 754\n1 move 900 754\n1 up 900 754\n", 374},
        {"drag to x = 320: 0.072", "1 down 290 754\n1 move 320 754\n1 up 320 754\n", 319},
        {"press beside the thumb", "1 down 320 754\n1 move 360 754\n1 up 360 754\n", 286},
    };
    for (auto& c : cases) {
        RunOptions o;
        o.frames = 130;
        RunResult r = RunProgram("Qorin3", c.script, o);
        ExpectFinished(r);
        EXPECT_EQ(ThumbLeft(r.Last()), c.thumb) << c.name;
    }
}

TEST(Qorin3, StartsPausedAndEnds)
{
    const Frame startFace = LoadPicture("Qorin3", "s.bmp"), pauseFace = LoadPicture("Qorin3", "p.bmp");
    struct Case { const char* name; std::string script; bool moving; } cases[] = {
        {"untouched", "", false},
        {"started", start, true},
        {"started and paused again", start + Click(5, 96, 738), false},
    };
    for (auto& c : cases) {
        RunOptions o;
        o.frames = 20;
        o.shots = {10, 20};
        RunResult r = RunProgram("Qorin3", c.script, o);
        ExpectFinished(r);
        const Frame &a = r.Shot(10), &b = r.Shot(20);
        ASSERT_FALSE(a.Empty());
        ASSERT_FALSE(b.Empty());
        EXPECT_TRUE(ShowsPicture(b, 21, 713, c.moving ? pauseFace : startFace, "start-button")) << c.name;
        EXPECT_EQ(Crop(a, 21, 118, 983, 275).pixels != Crop(b, 21, 118, 983, 275).pixels, c.moving) << c.name;
    }

    // The exit button ends the run without another frame; Escape at the next loop test. The frame
    // takes its message before its sleep, so neither leaves a key message as the exit code.
    struct End { const char* name; std::string script; int frames, exitCode; } ends[] = {
        {"exit button", Click(1, 928, 35), 2, 0},
        {"Escape", "2 key escape\n", 2, 0},
    };
    for (auto& e : ends) {
        RunOptions o;
        o.frames = 10;
        RunResult r = RunProgram("Qorin3", e.script, o);
        ExpectFinished(r);
        EXPECT_EQ(r.frames, e.frames) << e.name;
        EXPECT_EQ(r.exitCode, e.exitCode) << e.name;
    }
}

TEST(Qorin3, ElectricAndMagneticCurvesCrossTheAxisTogether)
{
    // In phase: where E passes through zero so does H, whose oblique projection puts its zero on
    // the axis of travel in the same column. The arrows stand a sixth of a wavelength apart, so
    // in some frames every crossing is at an arrow's foot.
    RunOptions o;
    o.frames = 64;
    for (int n = 4; n <= 64; n += 4)
        o.shots.push_back(n);
    RunResult r = RunProgram("Qorin3", start, o);
    ExpectFinished(r);
    ASSERT_EQ(r.shots.size(), o.shots.size());
    int compared = 0;
    for (auto& [n, f] : r.shots) {
        const std::vector<int> electric = AxisCrossings(f, red), magnetic = AxisCrossings(f, blue);
        for (int e : electric) {
            // A crossing cut by an arrow's foot is not measured.
            if (NearArrowColumn(e, 25))
                continue;
            const bool matched = std::any_of(magnetic.begin(), magnetic.end(), [&](int m) { return std::abs(m - e) <= 6; });
            EXPECT_TRUE(matched) << "frame " << n << ": E crosses at x = " << e;
            ++compared;
        }
    }
    EXPECT_GT(compared, 10);
}

TEST(Qorin3, ScreenTooShortForArrowsStillRuns)
{
    // At 219 px high A is 0 and the arrow spacing with it; at 220 px A is 1.
    for (const char* size : {"640x219", "640x220", "300x100"}) {
        RunOptions o;
        o.size = size;
        o.frames = 3;
        RunResult r = RunProgram("Qorin3", "", o);
        ExpectFinished(r);
        EXPECT_GE(r.frames, 3) << size;
        EXPECT_EQ(r.exitCode, 0) << size;
    }
}

TEST(Qorin3, LiveDrawingObjectsStayConstant)
{
    const std::string script = openFlux + start;
    RunOptions shortRun, longRun;
    shortRun.frames = 10;
    longRun.frames = 1000;
    RunResult a = RunProgram("Qorin3", script, shortRun), b = RunProgram("Qorin3", script, longRun);
    ExpectFinished(a);
    ExpectFinished(b);
    EXPECT_GE(b.frames, 1000);
    EXPECT_GT(a.objects, 0);
    EXPECT_EQ(a.objects, b.objects);
}
