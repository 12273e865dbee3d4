// Qorin5, the standing electromagnetic wave, checked on frames captured from the real binary.
// At 1024 x 768: A = 72, X0 = 164, the axis of travel on y = 213 (2-px pen: rows 212, 213),
// panels on rows 97..295 (fields), 305..489 (density), 499..683 (flux), arrows every 75 px.
// Controls: start/pause face at (21, 713), minus at (201, 713), plus at (401, 713), thumb on row 754.
#include "runner.h"

#include "../../Qorin5/motion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <sstream>

namespace {

const uint32_t white = Rgb(255, 255, 255), black = 0, red = Rgb(250, 5, 5), blue = Rgb(0, 5, 250),
               green = Rgb(0, 175, 50);
const int A = 72, X0 = 164, Y0 = 213, Ys = 606;

std::string Click(int after, int x, int y)
{
    std::ostringstream s;
    s << after << " down " << x << ' ' << y << '\n' << after << " up " << x << ' ' << y << '\n';
    return s.str();
}

std::string Clicks(int first, int x, int y, int count)
{
    std::string s;
    for (int i = 0; i < count; ++i)
        s += Click(first + 2 * i, x, y);
    return s;
}

// A click is taken in the second frame after its line and shows from the frame after that.
const std::string openDensity = Click(1, 512, 377), openFlux = Click(3, 512, 571);
const std::string plusClick = Click(1, 426, 738), minusClick = Click(1, 226, 738), pauseClick = Click(1, 96, 738);
const std::string dragRight = "1 down 318 754\n1 move 900 754\n1 up 900 754\n";

std::vector<int> Range(int from, int to)
{
    std::vector<int> v;
    for (int n = from; n <= to; ++n)
        v.push_back(n);
    return v;
}

void ExpectFinished(const RunResult& r)
{
    ASSERT_TRUE(r.finished) << "the run did not end by itself\n" << r.out << r.err;
    ASSERT_EQ(r.status, r.exitCode & 0xFF) << r.out << r.err;
}

// The top rows of a picture, for a label whose lower rows a curve may cross.
Frame TopRows(const Frame& picture, int rows)
{
    Frame top = picture;
    top.height = rows;
    top.pixels.resize(static_cast<size_t>(picture.width) * rows);
    return top;
}

// Signed distance from the row y0 of the pixel of this colour farthest from it in column x,
// searched over rows top..bottom; 0 when the column has none.
int FarthestFrom(const Frame& f, uint32_t colour, int x, int y0, int top, int bottom)
{
    int best = 0;
    for (int y = top; y <= bottom; ++y)
        if (f.At(x, y) == colour && std::abs(y0 - y) > std::abs(best))
            best = y0 - y;
    return best;
}

// Left edge of the black 16 x 16 thumb (rows 746..761), or -1.
int ThumbLeft(const Frame& f)
{
    for (int x = 250; x < 400; ++x) {
        bool solid = f.At(x - 1, 750) != black;
        for (int i = 0; i < 16 && solid; ++i)
            solid = f.At(x + i, 746) == black && f.At(x + i, 754) == black && f.At(x + i, 761) == black;
        if (solid)
            return x;
    }
    return -1;
}

int CountColour(const Frame& f, uint32_t colour, int left, int top, int right, int bottom)
{
    int n = 0;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            n += f.At(x, y) == colour;
    return n;
}

// Least-squares slope of v over n.
double Slope(const std::vector<double>& n, const std::vector<double>& v)
{
    double mn = 0, mv = 0;
    for (size_t i = 0; i < n.size(); ++i) {
        mn += n[i];
        mv += v[i];
    }
    mn /= n.size();
    mv /= n.size();
    double sxy = 0, sxx = 0;
    for (size_t i = 0; i < n.size(); ++i) {
        sxy += (n[i] - mn) * (v[i] - mv);
        sxx += (n[i] - mn) * (n[i] - mn);
    }
    return sxy / sxx;
}

}  // namespace

TEST(Qorin5, SignOfAndTheFactorsFold)
{
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    struct Sign { double x, sign; } signs[] = {
        {0.0, 1.0}, {-0.0, 1.0}, {1e-300, 1.0}, {0.14, 1.0}, {inf, 1.0},
        {-1e-300, -1.0}, {-0.05, -1.0}, {-inf, -1.0}, {nan, -1.0}, {-nan, -1.0},
    };
    for (auto& c : signs)
        EXPECT_EQ(SignOf(c.x), c.sign) << "SignOf(" << c.x << ")";

    // An overshoot past 1 or -1 comes back by as much as it went over, and the step turns round.
    struct Step { double factor, step, factorAfter, stepAfter; } steps[] = {
        {1.0, 0.05, 0.95, -0.05},    {0.5, 0.05, 0.55, 0.05},    {-0.98, -0.05, -0.97, 0.05},
        {0.96, 0.14, 0.90, -0.14},   {-1.0, -0.14, -0.86, 0.14}, {0.99, -0.14, 0.85, -0.14},
        {1.0, 0.0, 1.0, 0.0},
    };
    for (auto& c : steps) {
        double factor = c.factor, step = c.step;
        StepFactor(factor, step);
        EXPECT_NEAR(factor, c.factorAfter, 1e-12) << c.factor << " + " << c.step;
        EXPECT_EQ(step, c.stepAfter) << c.factor << " + " << c.step;
    }
}

TEST(Qorin5, PicturesHaveTheirLoadSizesInBothLanguages)
{
    struct Case { const char* file; int width, height; bool words; } cases[] = {
        {"E.bmp", 40, 40, false},   {"H.bmp", 40, 40, false},    {"k.bmp", 40, 40, false},
        {"S_.bmp", 40, 40, false},  {"W.bmp", 40, 40, false},    {"s.bmp", 150, 50, true},
        {"p.bmp", 150, 50, true},   {"ex.bmp", 150, 50, true},   {"+.bmp", 50, 50, false},
        {"-.bmp", 50, 50, false},   {"scr.bmp", 143, 50, true},  {"pto.bmp", 250, 40, true},
        {"top.bmp", 600, 80, true}, {"top1.bmp", 400, 35, true}, {"top2.bmp", 400, 35, true},
        {"top3.bmp", 400, 35, true},
    };
    for (auto& c : cases) {
        const Frame en = LoadPicture("Qorin5", c.file, "en"), ru = LoadPicture("Qorin5", c.file, "ru");
        for (const Frame* p : {&en, &ru}) {
            EXPECT_EQ(p->width, c.width) << c.file;
            EXPECT_EQ(p->height, c.height) << c.file;
            EXPECT_GE(std::set<uint32_t>(p->pixels.begin(), p->pixels.end()).size(), 2u) << c.file << ": blank";
        }
        EXPECT_EQ(en.pixels != ru.pixels, c.words) << c.file;
    }
}

TEST(Qorin5, LayoutAt1024x768)
{
    // Frame 20: the electric factor is 0 and the magnetic one 1, so no curve crosses a label but
    // the second caption's last rows. The H label's corner and the density panel's k lie under
    // their axes' arrowheads.
    for (const char* lang : {"en", "ru"}) {
        RunOptions o;
        o.frames = 20;
        o.shots = {1, 10, 20};
        o.lang = lang;
        RunResult r = RunProgram("Qorin5", openDensity + openFlux, o);
        ExpectFinished(r);
        const Frame& covered = r.Shot(1);
        const Frame& open = r.Shot(20);
        const Frame& swinging = r.Shot(10);
        ASSERT_FALSE(covered.Empty());
        ASSERT_FALSE(open.Empty());
        ASSERT_FALSE(swinging.Empty());

        auto picture = [&](const char* file) { return LoadPicture("Qorin5", file, lang); };
        struct Place { const char* file; int x, y, rows; } places[] = {
            {"top.bmp", 10, 10, 80},    {"top1.bmp", 302, 98, 35}, {"top2.bmp", 302, 306, 33},
            {"top3.bmp", 302, 500, 35}, {"E.bmp", 174, 107, 40},   {"H.bmp", 37, 221, 38},
            {"k.bmp", 964, 223, 40},    {"k.bmp", 959, 444, 34},   {"k.bmp", 964, 611, 40},
            {"W.bmp", 114, 330, 40},    {"S_.bmp", 114, 534, 40},  {"ex.bmp", 853, 10, 50},
            {"p.bmp", 21, 713, 50},     {"-.bmp", 201, 713, 50},   {"+.bmp", 401, 713, 50},
            {"scr.bmp", 255, 713, 33},
        };
        for (auto& p : places)
            EXPECT_TRUE(ShowsPicture(open, p.x, p.y, TopRows(picture(p.file), p.rows), std::string(lang) + "-" + p.file))
                << p.file << " at (" << p.x << ", " << p.y << ")";
        const Frame cover = picture("pto.bmp");
        EXPECT_TRUE(ShowsPicture(covered, 462, 377, cover, "density-cover"));
        EXPECT_TRUE(ShowsPicture(covered, 462, 571, cover, "flux-cover"));
        EXPECT_FALSE(AreaEquals(open, 462, 377, cover));
        EXPECT_FALSE(AreaEquals(open, 462, 571, cover));

        // Panel borders, 1 px: left of the plot, at x = 100, and in each panel's middle rows.
        struct Probe { int x, y; uint32_t colour; } probes[] = {
            {100, 96, white},  {100, 97, black},  {100, 98, white},  {100, 294, white}, {100, 295, black},
            {100, 296, white}, {100, 304, white}, {100, 305, black}, {100, 488, white}, {100, 489, black},
            {100, 490, white}, {100, 498, white}, {100, 499, black}, {100, 682, white}, {100, 683, black},
            {100, 684, white}, {19, 150, white},  {20, 150, black},  {21, 150, white},  {19, 400, white},
            {20, 400, black},  {21, 400, white},  {20, 600, black},  {1004, 100, black}, {1004, 150, black},
            {1004, 400, black}, {1004, 600, black}, {1004, 300, white}, {1004, 494, white},
            // The axes, 2-px grey pens: the electric axis above the curves, the flux axis left of
            // its panel's label, the vertical axes of the two lower panels.
            {162, 125, white}, {163, 125, Rgb(100, 100, 100)}, {164, 125, Rgb(100, 100, 100)}, {165, 125, white},
            {163, 350, Rgb(100, 100, 100)}, {164, 560, Rgb(100, 100, 100)}, {164, 650, Rgb(100, 100, 100)},
        };
        for (auto& p : probes)
            EXPECT_EQ(Hex(open.At(p.x, p.y)), Hex(p.colour)) << lang << " at (" << p.x << ", " << p.y << ")";
        // Both grey rows of the axis of travel and of the flux axis show between the curves (in
        // frame 20 the electric curve and the flux lie flat on them).
        for (int y : {212, 213, 605, 606}) {
            int grey = CountColour(swinging, Rgb(100, 100, 100), X0, y, 1003, y);
            EXPECT_GT(grey, 400) << lang << " row " << y;
        }
    }
}

TEST(Qorin5, WhiteStripRightOfThePlot)
{
    RunOptions o;
    o.frames = 40;
    o.shots = {5, 10, 20, 30, 40};
    RunResult r = RunProgram("Qorin5", openDensity + openFlux, o);
    ExpectFinished(r);
    ASSERT_EQ(r.shots.size(), o.shots.size());
    int reachingTheStrip = 0;
    for (auto& [n, f] : r.shots) {
        for (int y = 117; y < 768; ++y)
            for (int x = 1005; x < 1024; ++x)
                ASSERT_EQ(f.At(x, y), white) << "frame " << n << " at (" << x << ", " << y << ")";
        // Column 1004 is the panels' right side, white in the gaps between them.
        for (int y = 97; y < 768; ++y) {
            const bool side = y <= 295 || (y >= 305 && y <= 489) || (y >= 499 && y <= 683);
            ASSERT_EQ(f.At(1004, y), side ? black : white) << "frame " << n << " row " << y;
        }
        // The curves run on up to the strip, so it does hide something.
        for (uint32_t colour : {red, blue, green})
            reachingTheStrip += CountColour(f, colour, 1000, 117, 1003, 767) > 0;
    }
    EXPECT_GT(reachingTheStrip, 10);
}

TEST(Qorin5, ArrowsStandEveryTruncOfAPiOverThreeFromTheOrigin)
{
    // Frame 40: the electric factor is -1, so every arrow column carries an electric arrow at
    // least 0.44 A long; a curve never runs more than 5 rows straight down.
    struct Case { const char* size; int x0, y0, a, spacing, right; } cases[] = {
        {"1024x768", 164, 213, 72, 75, 1003},
        {"1920x1080", 242, 307, 113, 118, 1899},
        {"800x600", 122, 163, 49, 51, 779},
    };
    for (auto& c : cases) {
        RunOptions o;
        o.size = c.size;
        o.frames = 40;
        o.shots = {40};
        RunResult r = RunProgram("Qorin5", "", o);
        ExpectFinished(r);
        const Frame& f = r.Shot(40);
        ASSERT_FALSE(f.Empty()) << c.size;
        std::set<int> shafts;
        bool previousLong = false;
        for (int x = c.x0 - 3; x <= c.right; ++x) {
            int run = 0, longest = 0;
            for (int y = c.y0 - c.a - 3; y <= c.y0 + c.a + 3; ++y) {
                run = f.At(x, y) == red ? run + 1 : 0;
                longest = std::max(longest, run);
            }
            // A 3-px shaft: the middle column of three.
            if (longest >= 15 && !previousLong)
                shafts.insert(x + 1);
            previousLong = longest >= 15;
        }
        std::set<int> expected;
        for (int x = c.x0; x + 1 <= c.right; x += c.spacing)
            expected.insert(x);
        EXPECT_EQ(shafts, expected) << c.size;
    }
}

TEST(Qorin5, FluxArrowsOnlyWhileTheFluxPanelIsOpen)
{
    const Frame cover = LoadPicture("Qorin5", "pto.bmp");
    // The second flux click lands on the open flux curve, where it crosses its axis (x = X0 + pi A / 2).
    const std::string fluxTwice = Click(1, 512, 571) + Click(5, 277, 606);
    struct Case { const char* name; std::string script; bool density, flux; } cases[] = {
        {"at start", "", false, false},
        {"density opened", Click(1, 512, 377), true, false},
        {"density opened and closed", Click(1, 512, 377) + Click(5, 512, 450), false, false},
        {"flux opened", Click(1, 512, 571), false, true},
        {"flux opened, then closed by a click on its curve", fluxTwice, false, false},
    };
    for (auto& c : cases) {
        RunOptions o;
        o.frames = 10;
        o.shots = {10};
        RunResult r = RunProgram("Qorin5", c.script, o);
        ExpectFinished(r);
        const Frame& f = r.Shot(10);
        ASSERT_FALSE(f.Empty()) << c.name;
        EXPECT_EQ(!AreaEquals(f, 462, 377, cover), c.density) << c.name;
        EXPECT_EQ(!AreaEquals(f, 462, 571, cover), c.flux) << c.name;
        EXPECT_EQ(CountColour(f, green, 21, 98, 1003, 294) > 0, c.flux) << c.name << ": flux arrows";
    }

    // The closing click is taken in frame 7 after the plot: frame 7 still has the arrows and no
    // cover, frame 8 has the cover and no arrows.
    RunOptions o;
    o.frames = 8;
    o.shots = {7, 8};
    RunResult r = RunProgram("Qorin5", fluxTwice, o);
    ExpectFinished(r);
    EXPECT_FALSE(AreaEquals(r.Shot(7), 462, 571, cover));
    EXPECT_GT(CountColour(r.Shot(7), green, 21, 98, 1003, 294), 0);
    EXPECT_TRUE(AreaEquals(r.Shot(8), 462, 571, cover));
    EXPECT_EQ(CountColour(r.Shot(8), green, 21, 98, 1003, 294), 0);
}

TEST(Qorin5, FluxArrowsPointWithTheSignOfTheProduct)
{
    // Frame 10: both factors are 0.5, so the flux arrow at u = (x - X0)/A has length 36 sin 2u:
    // forwards where the fields have the same sign, towards the origin where they differ, none
    // where it is 8 px or less.
    RunOptions o;
    o.frames = 10;
    o.shots = {10};
    RunResult r = RunProgram("Qorin5", openFlux, o);
    ExpectFinished(r);
    const Frame& f = r.Shot(10);
    ASSERT_FALSE(f.Empty());
    int forwards = 0, backwards = 0;
    for (int x = X0; x + 30 < 1004; x += 75) {
        const double u = double(x - X0) / A, length = 36 * std::sin(2 * u);
        const int ahead = CountColour(f, green, x + 4, Y0 - 1, x + 24, Y0 + 1);
        const int behind = CountColour(f, green, x - 24, Y0 - 1, x - 4, Y0 + 1);
        if (length > 10) {
            EXPECT_GT(ahead, 40) << "x = " << x;
            EXPECT_EQ(behind, 0) << "x = " << x;
            ++forwards;
        } else if (length < -10) {
            EXPECT_EQ(ahead, 0) << "x = " << x;
            EXPECT_GT(behind, 40) << "x = " << x;
            ++backwards;
        } else if (std::abs(length) < 7) {
            EXPECT_EQ(ahead + behind, 0) << "x = " << x;
        }
    }
    EXPECT_GT(forwards, 2);
    EXPECT_GT(backwards, 2);
}

TEST(Qorin5, SpeedStaysWithinItsBounds)
{
    struct Case { const char* name; std::string script; int thumb; } cases[] = {
        {"start value 0.06", "", 310},
        {"minus five times: 0.05", Clicks(1, 226, 738, 5), 302},
        {"minus 30 times: 0.001", Clicks(1, 226, 738, 30), 262},
        {"plus 50 times stops at 0.14", Clicks(1, 426, 738, 50), 374},
        {"drag far left: 0.001", "1 down 318 754\n1 move 100 754\n1 up 100 754\n", 262},
        {"drag far right: 0.14", dragRight, 374},
        {"drag to x = 350: the thumb's centre follows, 0.1", "1 down 318 754\n1 move 350 754\n1 up 350 754\n", 342},
        {"press on the thumb's left half: 0.05", Click(1, 311, 754), 302},
        {"press on the thumb's right half: 0.066", Click(1, 324, 754), 314},
        {"press beside the thumb", Click(1, 300, 754), 310},
    };
    for (auto& c : cases) {
        RunOptions o;
        o.frames = 110;
        RunResult r = RunProgram("Qorin5", c.script, o);
        ExpectFinished(r);
        EXPECT_EQ(ThumbLeft(r.Last()), c.thumb) << c.name;
    }
}

TEST(Qorin5, FactorStepsFollowSpeedOnceAControlIsUsed)
{
    // The electric field at the origin is electricFactor * A, falling from 1 at the start; the
    // magnetic curve's lowest point lies 0.85 A / 2 * magneticFactor below the axis, rising from
    // 0. Their slopes over a stretch of frames without a turn give the two steps, with signs.
    // Neighbouring speeds differ by 0.002, 0.14 px per frame in the electric slope.
    struct Case { const char* name; std::string script; int from, to; double step, tolerance; } cases[] = {
        {"no control used: 0.05, not speed", "", 4, 15, 0.05, 0.06},
        {"plus: 0.062", plusClick, 4, 15, 0.062, 0.06},
        {"minus: 0.058", minusClick, 4, 15, 0.058, 0.06},
        {"plus at 0.14", dragRight + Click(3, 426, 738), 6, 9, 0.14, 0.3},
        {"press on the thumb: 0.06", Click(1, 318, 754), 4, 15, 0.06, 0.06},
        {"plus while paused", pauseClick + Click(3, 426, 738) + Click(5, 96, 738), 8, 18, 0.062, 0.06},
    };
    for (auto& c : cases) {
        RunOptions o;
        o.frames = c.to;
        o.shots = Range(c.from, c.to);
        RunResult r = RunProgram("Qorin5", c.script, o);
        ExpectFinished(r);
        std::vector<double> n, electric, magnetic;
        for (int k = c.from; k <= c.to; ++k) {
            const Frame& f = r.Shot(k);
            ASSERT_FALSE(f.Empty()) << c.name << " frame " << k;
            n.push_back(k);
            electric.push_back(FarthestFrom(f, red, X0, Y0, Y0 - A - 3, Y0 + A + 3));
            int lowest = Y0;
            for (int y = Y0; y < 295; ++y)
                for (int x = 21; x < 1004; ++x)
                    if (f.At(x, y) == blue)
                        lowest = std::max(lowest, y);
            magnetic.push_back(lowest - Y0);
        }
        EXPECT_NEAR(Slope(n, electric), -c.step * A, c.tolerance) << c.name;
        EXPECT_NEAR(Slope(n, magnetic), c.step * 0.85 * A / 2, c.tolerance) << c.name;
    }
}

TEST(Qorin5, FieldsAndFluxStayWithinTheirAmplitude)
{
    // At speed 0.14 the factors overshoot 1 and -1 and are folded back; the flux e h stays within
    // A of its axis because the sizes of the two factors add up to 1.
    struct Case { const char* name; std::string script; int frames; } cases[] = {
        {"steps of 0.05", openFlux, 60},
        {"steps of 0.14", openFlux + "5 down 318 754\n5 move 900 754\n5 up 900 754\n", 60},
    };
    for (auto& c : cases) {
        RunOptions o;
        o.frames = c.frames;
        o.shots = Range(8, c.frames);
        RunResult r = RunProgram("Qorin5", c.script, o);
        ExpectFinished(r);
        int electricMost = 0, fluxMost = 0;
        for (auto& [n, f] : r.shots) {
            for (int x = X0; x < 1004; ++x) {
                const int e = FarthestFrom(f, red, x, Y0, 98, 294);
                const int s = FarthestFrom(f, green, x, Ys, 500, 682);
                // A point a hair inside A truncates one pixel further out; the pen adds one more.
                ASSERT_LE(std::abs(e), A + 2) << c.name << " frame " << n << " x = " << x;
                ASSERT_LE(std::abs(s), A + 2) << c.name << " frame " << n << " x = " << x;
                electricMost = std::max(electricMost, std::abs(e));
                fluxMost = std::max(fluxMost, std::abs(s));
            }
        }
        EXPECT_GE(electricMost, A - 6) << c.name;
        EXPECT_GE(fluxMost, A - 6) << c.name;
    }
}

TEST(Qorin5, ElectricCrestsStandAtMagneticNodes)
{
    // The magnetic curve is a sine of u = (x - X0)/A: its nodes are at u = n pi, where the
    // electric cosine has its crests; where the electric curve has its nodes it is at rest.
    RunOptions o;
    o.frames = 30;
    o.shots = {6, 10, 14, 26, 30};
    RunResult r = RunProgram("Qorin5", "", o);
    ExpectFinished(r);
    ASSERT_EQ(r.shots.size(), o.shots.size());
    for (auto& [n, f] : r.shots) {
        int crest = 0;
        for (int x = X0; x < 1004; ++x)
            crest = std::max(crest, std::abs(FarthestFrom(f, red, x, Y0, 98, 294)));
        ASSERT_GT(crest, 15) << "frame " << n;
        for (int k = 0; X0 + k * M_PI * A < 1000; ++k) {
            const int node = X0 + int(k * M_PI * A);
            const int electricNode = X0 + int((k + 0.5) * M_PI * A);
            EXPECT_TRUE(f.At(node, Y0 - 1) == blue || f.At(node, Y0) == blue || f.At(node, Y0 + 1) == blue)
                << "frame " << n << ": the magnetic curve passes (" << node << ", " << Y0 << ")";
            EXPECT_LE(std::abs(FarthestFrom(f, blue, node, Y0, 98, 294)), 3) << "frame " << n << " x = " << node;
            EXPECT_GE(std::abs(FarthestFrom(f, red, node, Y0, 98, 294)), crest - 2) << "frame " << n << " x = " << node;
            if (electricNode < 1000) {
                EXPECT_LE(std::abs(FarthestFrom(f, red, electricNode, Y0, 98, 294)), 4)
                    << "frame " << n << " x = " << electricNode;
            }
        }
    }
}

TEST(Qorin5, PauseHoldsTheFieldsAndShowsTheStartFace)
{
    RunOptions o;
    o.frames = 12;
    o.shots = {5, 12};
    RunResult r = RunProgram("Qorin5", pauseClick, o);
    ExpectFinished(r);
    EXPECT_TRUE(ShowsPicture(r.Shot(12), 21, 713, LoadPicture("Qorin5", "s.bmp"), "start-face"));
    EXPECT_EQ(r.Shot(5).pixels, r.Shot(12).pixels);
}

TEST(Qorin5, HowRunsEnd)
{
    struct Case { const char* name; std::string script; int frames; int exitCode; } cases[] = {
        {"exit button", Click(1, 928, 35), 2, 0},
        // The key is seen down at the next loop test, before any pump has taken its message.
        {"Escape", "2 key escape\n", 2, 0},
    };
    for (auto& c : cases) {
        RunOptions o;
        o.frames = 10;
        RunResult r = RunProgram("Qorin5", c.script, o);
        ExpectFinished(r);
        EXPECT_EQ(r.frames, c.frames) << c.name;
        EXPECT_EQ(r.exitCode, c.exitCode) << c.name;
    }
}

TEST(Qorin5, ScreensTooShortForTheLayoutStillRun)
{
    // Below 235 rows the amplitude drops under 1 px and the arrow spacing to 0: no arrows then.
    for (const char* size : {"400x234", "400x230", "400x200", "320x100"}) {
        RunOptions o;
        o.size = size;
        o.frames = 3;
        RunResult r = RunProgram("Qorin5", "", o);
        ExpectFinished(r);
        EXPECT_EQ(r.frames, 4) << size;
    }
}

TEST(Qorin5, LiveDrawingObjectsStayConstant)
{
    const std::string script = openDensity + openFlux + Click(5, 426, 738);
    RunOptions shortRun, longRun;
    shortRun.frames = 10;
    longRun.frames = 1000;
    RunResult a = RunProgram("Qorin5", script, shortRun), b = RunProgram("Qorin5", script, longRun);
    ExpectFinished(a);
    ExpectFinished(b);
    EXPECT_GT(a.objects, 0);
    EXPECT_EQ(a.objects, b.objects);
}
