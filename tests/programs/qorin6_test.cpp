// Qorin6 (light at a boundary), checked on frames captured from the real binary at 1024 x 768:
// A = 144, the axis at y = 314, the boundary at x = 512, the boxes on rows 166..461. The switch
// slots are at (814, 648) (scene 1's) and (814, 708) (scene 2's); the index thumb runs from
// x = 222 on rows 686..701, the readout stands at (360, 653), start/pause at (11, 713).
#include "runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <vector>

namespace {

const uint32_t white = Rgb(255, 255, 255), black = 0, axisGrey = Rgb(100, 100, 100), medium = Rgb(200, 190, 200),
               vacuum = Rgb(240, 240, 240), tick = Rgb(0, 50, 50);
const int axisY = 314, boundaryX = 512;
const int indexThumbY = 694;  // a row through the index thumb

struct Curves {
    uint32_t incident, reflected, transmitted;
};
const Curves sceneCurves[] = {
    {Rgb(0, 50, 225), Rgb(0, 80, 0), Rgb(100, 10, 0)},     // scene 1
    {Rgb(50, 50, 10), Rgb(10, 0, 200), Rgb(150, 0, 100)},  // scene 2
};

std::string Click(int after, int x, int y)
{
    std::ostringstream s;
    s << after << " down " << x << ' ' << y << '\n' << after << " up " << x << ' ' << y << '\n';
    return s.str();
}

// A drag of the index thumb from fromX to toX, in one frame.
std::string DragIndex(int after, int fromX, int toX)
{
    std::ostringstream s;
    s << after << " down " << fromX << ' ' << indexThumbY << '\n'
      << after << " move " << toX << ' ' << indexThumbY << '\n'
      << after << " up " << toX << ' ' << indexThumbY << '\n';
    return s.str();
}

// Scene 1's button to scene 2, and scene 2's button back to scene 1.
std::string SwitchToScene2(int after) { return Click(after, 914, 733); }
std::string SwitchToScene1(int after) { return Click(after, 914, 673); }
std::string StartPause(int after) { return Click(after, 86, 738); }

void ExpectFinished(const RunResult& r)
{
    ASSERT_TRUE(r.finished) << "the run did not end by itself\n" << r.out << r.err;
    ASSERT_EQ(r.status, r.exitCode & 0xFF) << r.out << r.err;
}

// Left edge of a solid black 16 x 16 thumb whose rows are top..top+15, searched in [from, to).
int ThumbLeft(const Frame& f, int top, int from, int to)
{
    for (int x = from; x < to; ++x) {
        bool solid = f.At(x - 1, top + 8) != black;
        for (int i = 0; i < 16 && solid; ++i)
            solid = f.At(x + i, top) == black && f.At(x + i, top + 8) == black && f.At(x + i, top + 15) == black;
        if (solid)
            return x;
    }
    return -1;
}

Frame Crop(const Frame& f, int x, int y, int w, int h)
{
    Frame c;
    c.width = w;
    c.height = h;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            c.pixels.push_back(f.At(x + i, y + j));
    return c;
}

// The readout's glyphs, left to right: the columns of its box (rows 653..677 from x = 360,
// up to the slider frame at 441) split wherever a column is all white.
std::vector<Frame> ReadoutGlyphs(const Frame& f)
{
    std::vector<Frame> glyphs;
    int start = -1;
    for (int x = 360; x <= 441; ++x) {
        bool ink = false;
        for (int y = 653; y < 678 && x < 441; ++y)
            ink = ink || f.At(x, y) != white;
        if (ink && start < 0)
            start = x;
        if (!ink && start >= 0) {
            glyphs.push_back(Crop(f, start, 653, x - start, 25));
            start = -1;
        }
    }
    return glyphs;
}

// Rows a curve's colour covers in columns [from, to): its extent, or {-1, -1}.
std::pair<int, int> RowsOf(const Frame& f, uint32_t colour, int from, int to)
{
    int top = -1, bottom = -1;
    for (int y = 167; y < 461; ++y)
        for (int x = from; x < to; ++x)
            if (f.At(x, y) == colour) {
                if (top < 0)
                    top = y;
                bottom = y;
                break;
            }
    return {top, bottom};
}

// Drawn with a 3-px pen, a curve reaches one row past its extreme points.
double Amplitude(const Frame& f, uint32_t colour, int from, int to)
{
    auto [top, bottom] = RowsOf(f, colour, from, to);
    return top < 0 ? -1 : (bottom - top - 2) / 2.0;
}

// Mean row of a colour in one column, relative to the axis (negative: above); NaN if absent.
double Offset(const Frame& f, uint32_t colour, int x)
{
    int sum = 0, count = 0;
    for (int y = 167; y < 461; ++y)
        if (f.At(x, y) == colour) {
            sum += y;
            ++count;
        }
    return count ? double(sum) / count - axisY : NAN;
}

// Centres of the long ticks: only they reach row axisY - 7 (3-px pen, 6 px each side).
std::vector<int> LongTicks(const Frame& f)
{
    std::vector<int> centres;
    for (int x = 10; x < 1014; ++x)
        if (f.At(x, axisY - 7) == tick) {
            int last = x;
            while (f.At(last + 1, axisY - 7) == tick)
                ++last;
            centres.push_back((x + last) / 2);
            x = last;
        }
    return centres;
}

}  // namespace

TEST(Qorin6, SceneLayoutAt1024x768)
{
    struct Case {
        const char* name;
        std::string script;
        int frames;
        const char *top, *title, *button;
        int titleY, buttonY, mediumLabelX, vacuumLabelX;
        uint32_t leftBox, rightBox;
    } cases[] = {
        {"scene 1", "", 1, "top1.bmp", "2.bmp", "11.bmp", 648, 708, 262, 562, medium, vacuum},
        {"scene 2", SwitchToScene2(1), 3, "top2.bmp", "1.bmp", "22.bmp", 708, 648, 562, 262, vacuum, medium},
    };
    const Frame sred = LoadPicture("Qorin6", "sred.bmp"), vak = LoadPicture("Qorin6", "vak.bmp");
    const Frame track = LoadPicture("Qorin6", "scr1.bmp");
    ASSERT_FALSE(track.Empty());
    for (auto& c : cases) {
        RunOptions o;
        o.frames = c.frames;
        RunResult r = RunProgram("Qorin6", c.script, o);
        ExpectFinished(r);
        const Frame& f = r.Last();
        ASSERT_FALSE(f.Empty()) << c.name;

        struct Probe { int x, y; uint32_t colour; } probes[] = {
            // The boxes: rows 166..461, the first from x = 10, meeting on the second's outline at 512.
            {100, 165, white}, {100, 166, black}, {100, 167, c.leftBox}, {100, 460, c.leftBox},
            {100, 461, black}, {100, 462, white}, {9, 200, white}, {10, 200, black}, {11, 200, c.leftBox},
            {511, 200, c.leftBox}, {512, 200, black}, {513, 200, c.rightBox}, {1013, 200, black},
            {1014, 200, white},
            // The axis: a 2-px grey line on rows 313..314 from x = 9 to 1013.
            {9, 312, white}, {9, 313, axisGrey}, {9, 314, axisGrey}, {9, 315, white},
            {1013, 313, axisGrey}, {1014, 313, white},
            // The grey box around the running scene's title in its slot; 1-px black frames elsewhere.
            {812, c.titleY - 2, axisGrey}, {1015, c.titleY + 51, axisGrey}, {813, c.buttonY, black},
            // The frame around the index slider, (11, 648) to (441, 707).
            {11, 648, black}, {441, 707, black}, {442, 707, white}, {11, 709, white},
        };
        for (auto& p : probes)
            EXPECT_EQ(Hex(f.At(p.x, p.y)), Hex(p.colour)) << c.name << " at (" << p.x << ", " << p.y << ")";

        const std::string scene = std::string(c.name) == "scene 1" ? "1" : "2";
        EXPECT_TRUE(ShowsPicture(f, 10, 0, LoadPicture("Qorin6", c.top), "top-" + scene));
        EXPECT_TRUE(ShowsPicture(f, 412, 100, LoadPicture("Qorin6", c.title), "title-" + scene));
        EXPECT_TRUE(ShowsPicture(f, 814, c.titleY, LoadPicture("Qorin6", c.title), "slot-title-" + scene));
        EXPECT_TRUE(ShowsPicture(f, 814, c.buttonY, LoadPicture("Qorin6", c.button), "slot-button-" + scene));
        // The labels stand at y = 468, just below the boxes, each under its own region.
        EXPECT_TRUE(ShowsPicture(f, c.mediumLabelX, 468, sred, "medium-label-" + scene));
        EXPECT_TRUE(ShowsPicture(f, c.vacuumLabelX, 468, vak, "vacuum-label-" + scene));
        EXPECT_TRUE(ShowsPicture(f, 11, 713, LoadPicture("Qorin6", "s.bmp"), "start-" + scene));
        EXPECT_TRUE(ShowsPicture(f, 853, 10, LoadPicture("Qorin6", "e.bmp"), "exit-" + scene));
        // The index track, left of the thumb, and the thumb for n = 1.70.
        EXPECT_TRUE(ShowsPicture(f, 12, 653, Crop(track, 0, 0, 280, 50), "index-track-" + scene));
        EXPECT_EQ(ThumbLeft(f, 686, 215, 345), 302) << c.name;
    }
}

TEST(Qorin6, IndexSliderStepsAndReadout)
{
    // One run: the thumb pulled past the right end, past the left end, then step by step from
    // n = 1.05 to 2.00, each drag starting where the last one let go (still on the thumb).
    struct Step { int toX; std::string text; int thumb; };
    std::vector<Step> steps = {{1000, "2.00", 336}, {0, "1.00", 222}};
    for (int k = 1; k <= 20; ++k) {
        // The thumb's centre follows the pointer, 800/7 px per unit of n: aim mid-step.
        const int toX = 230 + int(std::lround((k + 0.5) * 800 / 140));
        const int hundredths = 100 + 5 * k;
        std::string text = std::to_string(hundredths / 100) + "." + std::to_string(hundredths / 10 % 10) +
                           std::to_string(hundredths % 10);
        steps.push_back({k == 20 ? 400 : toX, text, -1});
    }
    std::string script = DragIndex(1, 310, steps[0].toX) + DragIndex(3, 344, steps[1].toX);
    int fromX = 230;
    for (size_t i = 2; i < steps.size(); ++i) {
        script += DragIndex(2 * int(i) + 1, fromX, steps[i].toX);
        fromX = steps[i].toX;
    }
    RunOptions o;
    o.frames = 2 * int(steps.size()) + 1;
    o.shots = {1};
    for (size_t i = 0; i < steps.size(); ++i)
        o.shots.push_back(2 * int(i) + 2);
    RunResult r = RunProgram("Qorin6", script, o);
    ExpectFinished(r);

    // Each character must always show the same glyph, and different characters different ones:
    // so every reading shows its own digits, with the start's 1.70 among them.
    std::map<char, Frame> glyphOf;
    auto read = [&](const Frame& f, const std::string& text, const std::string& where) {
        ASSERT_FALSE(f.Empty()) << where;
        std::vector<Frame> glyphs = ReadoutGlyphs(f);
        ASSERT_EQ(glyphs.size(), 4u) << where << ": expected " << text;
        for (int i = 0; i < 4; ++i) {
            auto [it, added] = glyphOf.emplace(text[i], glyphs[i]);
            EXPECT_TRUE(added || it->second.pixels == glyphs[i].pixels)
                << where << ": character " << i << " of " << text << " differs from an earlier '" << text[i] << "'";
        }
    };
    read(r.Shot(1), "1.70", "start");
    for (size_t i = 0; i < steps.size(); ++i) {
        const Frame& f = r.Shot(2 * int(i) + 2);
        read(f, steps[i].text, "drag " + std::to_string(i) + " to x = " + std::to_string(steps[i].toX));
        if (steps[i].thumb >= 0) {
            EXPECT_EQ(ThumbLeft(f, 686, 215, 345), steps[i].thumb) << steps[i].text;
        }
    }
    ASSERT_EQ(glyphOf.size(), 11u);  // the ten digits and the point
    for (auto& [a, ga] : glyphOf)
        for (auto& [b, gb] : glyphOf)
            if (a < b) {
                EXPECT_NE(ga.pixels, gb.pixels) << "'" << a << "' and '" << b << "' look alike";
            }
}

TEST(Qorin6, SpeedControls)
{
    auto presses = [](int x, int count) {
        std::string s;
        for (int i = 0; i < count; ++i)
            s += Click(1 + 2 * i, x, 738);
        return s;
    };
    // The speed thumb's left edge is at 252 + 160 speed; the pointer stands for its centre.
    struct Case { const char* name; std::string script; int thumb; } cases[] = {
        {"start value 0.06", "", 261},
        {"minus five times: just under 0.01", presses(216, 5), 253},
        {"minus six times: 0.001", presses(216, 6), 252},
        {"plus 70 times stops at 0.7", presses(416, 70), 364},
        {"drag far left: 0.001", "1 down 268 754\n1 move 100 754\n1 up 100 754\n", 252},
        {"drag far right: 0.7", "1 down 268 754\n1 move 900 754\n1 up 900 754\n", 364},
        {"drag to x = 320: 0.37", "1 down 268 754\n1 move 320 754\n1 up 320 754\n", 311},
    };
    for (auto& c : cases) {
        RunOptions o;
        o.frames = 145;
        RunResult r = RunProgram("Qorin6", c.script, o);
        ExpectFinished(r);
        EXPECT_EQ(ThumbLeft(r.Last(), 746, 246, 400), c.thumb) << c.name;
    }
}

TEST(Qorin6, SwitchStartsTheOtherScenePausedAtTheStartIndex)
{
    // n is moved to 1.45 and the scene started before the switch.
    struct Case { const char* name; std::string script; int switchFrame; const char* title; } cases[] = {
        {"scene 1 to scene 2", DragIndex(1, 310, 286) + StartPause(3) + SwitchToScene2(6), 7, "1.bmp"},
        {"scene 2 to scene 1", SwitchToScene2(1) + DragIndex(3, 310, 286) + StartPause(5) + SwitchToScene1(8), 9,
         "2.bmp"},
    };
    const Frame startFace = LoadPicture("Qorin6", "s.bmp");
    for (auto& c : cases) {
        RunOptions o;
        o.frames = c.switchFrame + 4;
        o.shots = {1, c.switchFrame, c.switchFrame + 1, c.switchFrame + 4};
        RunResult r = RunProgram("Qorin6", c.script, o);
        ExpectFinished(r);
        const Frame &start = r.Shot(1), &before = r.Shot(c.switchFrame), &after = r.Shot(c.switchFrame + 1),
                    &later = r.Shot(c.switchFrame + 4);
        ASSERT_FALSE(later.Empty()) << c.name;
        const Frame readout = Crop(start, 360, 653, 66, 25);
        EXPECT_FALSE(AreaEquals(before, 360, 653, readout)) << c.name << ": n was changed before the switch";
        EXPECT_TRUE(ShowsPicture(after, 412, 100, LoadPicture("Qorin6", c.title), "switched-title"));
        EXPECT_TRUE(ShowsPicture(after, 360, 653, readout, "switched-readout")) << c.name;
        EXPECT_EQ(ThumbLeft(after, 686, 215, 345), 302) << c.name;
        EXPECT_TRUE(ShowsPicture(later, 11, 713, startFace, "switched-paused")) << c.name;
        EXPECT_TRUE(AreaEquals(later, 10, 166, Crop(after, 10, 166, 1004, 296))) << c.name << ": the waves moved";
    }
}

TEST(Qorin6, HowRunsEnd)
{
    struct Case { const char* name; std::string script; int expectFrames; int expectExit; } cases[] = {
        {"Escape in scene 1", "2 key escape\n", 2, 0x1B},
        {"Escape in scene 2", SwitchToScene2(1) + "4 key escape\n", 4, 0x1B},
        {"exit button in scene 1", Click(1, 928, 35), 1, 0},
        {"exit button in scene 2", SwitchToScene2(1) + Click(3, 928, 35), 3, 0},
        {"ALT+F4 in scene 2", SwitchToScene2(1) + "4 close\n", 4, -1},
        // The window goes while the switch button is held: the other scene must not start.
        {"ALT+F4 while scene 1's switch is held", "1 down 914 733\n2 close\n", 2, -1},
        {"ALT+F4 while scene 2's switch is held", SwitchToScene2(1) + "3 down 914 673\n4 close\n", 4, -1},
        // No release can come once the window is gone: the drags end on their own.
        {"ALT+F4 while the index thumb is dragged", "1 down 310 694\n1 move 290 694\n2 close\n", 2, -1},
        {"ALT+F4 while the speed thumb is dragged", "1 down 268 754\n1 move 300 754\n2 close\n", 2, -1},
    };
    for (auto& c : cases) {
        RunOptions o;
        o.frames = 12;
        RunResult r = RunProgram("Qorin6", c.script, o);
        ExpectFinished(r);
        EXPECT_EQ(r.frames, c.expectFrames) << c.name;
        if (c.expectExit >= 0) {
            EXPECT_EQ(r.exitCode, c.expectExit) << c.name;
        }
    }
}

TEST(Qorin6, ScreensTooShortForTheLayoutStillRun)
{
    // (H - 190) / 4 is the wave scale A: at 0 the tick step is 0, at 1 the medium's step is under
    // a pixel, so a tick run could never move on; below 190 A is negative. Each run must reach
    // its frame limit in both scenes.
    struct Case { const char* size; int height; } cases[] = {{"640x190", 190}, {"640x195", 195}, {"640x120", 120}};
    for (auto& c : cases) {
        // Scene 1's switch button is at (W - 210, H - 60), start/pause at (11, H - 55).
        for (const std::string& scene : {std::string(""), Click(1, 640 - 110, c.height - 35)}) {
            RunOptions o;
            o.size = c.size;
            o.frames = 4;
            RunResult r = RunProgram("Qorin6", scene + Click(3, 86, c.height - 30), o);
            ExpectFinished(r);
            EXPECT_EQ(r.frames, 4) << c.size << (scene.empty() ? " scene 1" : " scene 2");
        }
    }
}

TEST(Qorin6, WavesAtTheBoundary)
{
    // n is pulled to an end in frame 4, then the waves run: frame 5, the first drawn with the new
    // n, is still at phase 0; frame 30 has run 25 frames. Amplitudes are 3/4 A = 108 px times
    // the boundary coefficients.
    struct Case {
        const char* name;
        int scene;
        int toX;
        double n, reflection, transmission;
        bool mediumOnLeft;
    } cases[] = {
        {"scene 1, n = 1", 1, 0, 1, 0, 1, true},
        {"scene 1, n = 2", 1, 1000, 2, 1.0 / 3, 4.0 / 3, true},
        {"scene 2, n = 1", 2, 0, 1, 0, 1, false},
        {"scene 2, n = 2", 2, 1000, 2, 1.0 / 3, 2.0 / 3, false},
    };
    for (auto& c : cases) {
        const Curves& colours = sceneCurves[c.scene - 1];
        std::string script = (c.scene == 2 ? SwitchToScene2(1) : "") + DragIndex(3, 310, c.toX) + StartPause(5);
        RunOptions o;
        o.frames = 30;
        o.shots = {5, 30};
        RunResult r = RunProgram("Qorin6", script, o);
        ExpectFinished(r);
        const Frame &still = r.Shot(5), &running = r.Shot(30);
        ASSERT_FALSE(still.Empty()) << c.name;
        ASSERT_FALSE(running.Empty()) << c.name;

        for (const Frame* f : {&still, &running}) {
            EXPECT_NEAR(Amplitude(*f, colours.incident, 12, 509), 108, 1) << c.name;
            EXPECT_NEAR(Amplitude(*f, colours.reflected, 12, 509), 108 * c.reflection, 1) << c.name;
            EXPECT_NEAR(Amplitude(*f, colours.transmitted, 515, 1012), 108 * c.transmission, 1) << c.name;
        }
        if (c.reflection == 0) {
            auto [top, bottom] = RowsOf(running, colours.reflected, 12, 509);
            EXPECT_GE(top, axisY - 1) << c.name << ": the reflected curve lies on the axis";
            EXPECT_LE(bottom, axisY + 1) << c.name;
        } else {
            // Near the boundary the reflected wave has the incident one's sign in scene 1 and the
            // opposite sign in scene 2.
            const double incident = Offset(running, colours.incident, 505);
            const double reflected = Offset(running, colours.reflected, 505);
            ASSERT_GT(std::fabs(incident), 20) << c.name;
            ASSERT_GT(std::fabs(reflected), 5) << c.name;
            EXPECT_EQ(incident * reflected > 0, c.scene == 1) << c.name << ": " << incident << ", " << reflected;
        }

        // Long ticks: one on the boundary, then whole wavelengths on either side, the medium's
        // n times shorter. At phase 0 the wave of each side crosses the axis at every one of them.
        std::vector<int> ticks = LongTicks(still);
        ASSERT_NE(std::find(ticks.begin(), ticks.end(), boundaryX), ticks.end()) << c.name;
        std::vector<int> leftGaps, rightGaps;
        for (size_t i = 1; i < ticks.size(); ++i)
            (ticks[i] <= boundaryX ? leftGaps : rightGaps).push_back(ticks[i] - ticks[i - 1]);
        ASSERT_GE(leftGaps.size(), 2u) << c.name;
        ASSERT_GE(rightGaps.size(), 2u) << c.name;
        const std::vector<int>& vacuumGaps = c.mediumOnLeft ? rightGaps : leftGaps;
        const std::vector<int>& mediumGaps = c.mediumOnLeft ? leftGaps : rightGaps;
        for (int gap : vacuumGaps)
            EXPECT_NEAR(gap, 226, 1) << c.name << ": the vacuum wavelength";
        for (int gap : mediumGaps)
            EXPECT_NEAR(gap, 226 / c.n, 1.5) << c.name << ": the medium's wavelength";
        for (int x : ticks) {
            if (x == boundaryX || x < 20 || x > 1004)
                continue;
            const uint32_t wave = x < boundaryX ? colours.incident : colours.transmitted;
            const double before = Offset(still, wave, x - 5), after = Offset(still, wave, x + 5);
            EXPECT_LT(before * after, 0) << c.name << ": no crossing at the tick at x = " << x;
        }
    }
}

TEST(Qorin6, LiveDrawingObjectsStayConstant)
{
    // Every 20 frames the scene switches and the new scene is started.
    std::string switching;
    for (int after = 1; after < 1000; after += 40)
        switching +=
            SwitchToScene2(after) + StartPause(after + 3) + SwitchToScene1(after + 20) + StartPause(after + 23);
    struct Case { const char* name; std::string script; } cases[] = {
        {"scene 1 running", DragIndex(1, 310, 290) + StartPause(3)},
        {"scene 2 running", SwitchToScene2(1) + DragIndex(3, 310, 290) + StartPause(5)},
        {"switching back and forth", switching},
    };
    for (auto& c : cases) {
        RunOptions shortRun, longRun;
        shortRun.frames = 50;
        longRun.frames = 1000;
        RunResult a = RunProgram("Qorin6", c.script, shortRun), b = RunProgram("Qorin6", c.script, longRun);
        ExpectFinished(a);
        ExpectFinished(b);
        EXPECT_EQ(a.frames, 50) << c.name;
        EXPECT_EQ(b.frames, 1000) << c.name;
        EXPECT_GT(a.objects, 0) << c.name;
        EXPECT_EQ(a.objects, b.objects) << c.name;
    }
}
