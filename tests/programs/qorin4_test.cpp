// Qorin4, checked on frames captured from the real binary, and its rules that need no window.
// At 1024 x 768: waveScale 110, figureScale 186, originX 144, axisY 273, the plane view's centre
// (809, 321); the phase field at (160, 585), 40 x 20; the phase thumb on rows 586..601, the
// start/pause face at (11, 713), minus at (191, 713), plus at (391, 713), reset at (471, 713),
// the speed thumb on rows 746..761 with its left edge at 252 + 800 x speed.
#include "runner.h"

#include "../../Qorin4/polarization.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <sstream>

namespace {

const uint32_t white = Rgb(255, 255, 255), black = 0, axisGrey = Rgb(100, 100, 100), componentY = Rgb(240, 50, 25),
               vectorRed = Rgb(250, 50, 25), trace = Rgb(150, 150, 25);
const int centreX = 809, centreY = 321, figureScale = 186;

std::string Click(int after, int x, int y)
{
    std::ostringstream s;
    s << after << " down " << x << ' ' << y << '\n' << after << " up " << x << ' ' << y << '\n';
    return s.str();
}

std::string Drag(int after, int fromX, int fromY, int toX, int toY)
{
    std::ostringstream s;
    s << after << " down " << fromX << ' ' << fromY << '\n'
      << after << " move " << toX << ' ' << toY << '\n'
      << after << " up " << toX << ' ' << toY << '\n';
    return s.str();
}

const std::string start = Click(1, 86, 738);

// A click on the phase field, then End and five Backspaces: the field is empty by frame 30 (the
// loop takes one message per frame).
std::string EmptyField(int after)
{
    std::string s = Click(after, 180, 594) + std::to_string(after + 4) + " key end\n";
    for (int i = 0; i < 5; ++i)
        s += std::to_string(after + 8) + " key backspace\n";
    return s;
}

void ExpectFinished(const RunResult& r)
{
    ASSERT_TRUE(r.finished) << "the run did not end by itself\n" << r.out << r.err;
    ASSERT_EQ(r.status, r.exitCode & 0xFF) << r.out << r.err;
}

struct Point {
    double x, y;
};

// The field vector's far end: its pixel farthest from the plane view's centre.
Point VectorTip(const Frame& f)
{
    Point tip{centreX, centreY};
    double best = -1;
    for (int y = 123; y < 520; ++y)
        for (int x = 615; x < 1005; ++x)
            if (f.At(x, y) == vectorRed && std::hypot(x - centreX, y - centreY) > best) {
                best = std::hypot(x - centreX, y - centreY);
                tip = {double(x), double(y)};
            }
    return tip;
}

// The tip a phase difference d gives at phase 0 with both amplitudes 1: u = 144 / 110, and the
// shifts put X ahead of Y by d half turns (3.1415 each) without either exceeding one.
Point TipAtStart(double d)
{
    const double P = 3.1415, u = 144.0 / 110;
    double sY = d > 1 ? -(d - 1) * P : d > 0 ? 0 : d >= -1 ? -d * P : -P;
    double sX = d > 1 ? P : d > 0 ? d * P : d >= -1 ? 0 : (d + 1) * P;
    return {centreX - std::sin(u + sX) * figureScale, centreY - std::sin(u + sY) * figureScale};
}

// The 3-px vector reaches 1.5 px past its truncated end.
::testing::AssertionResult TipNear(const Frame& f, Point expected)
{
    const Point tip = VectorTip(f);
    const double off = std::hypot(tip.x - expected.x, tip.y - expected.y);
    if (off <= 3)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "tip at (" << tip.x << ", " << tip.y << "), expected near (" << expected.x
                                         << ", " << expected.y << ")";
}

bool SameArea(const Frame& a, const Frame& b, int x, int y, int w, int h)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if (a.At(i, j) != b.At(i, j))
                return false;
    return true;
}

// Left edge of a black 16-px run on the row, within [from, to), or -1.
int ThumbLeft(const Frame& f, int row, int from, int to)
{
    for (int x = from; x + 16 <= to; ++x) {
        bool solid = f.At(x - 1, row) != black;
        for (int i = 0; i < 16 && solid; ++i)
            solid = f.At(x + i, row) == black;
        if (solid && f.At(x + 16, row) != black)
            return x;
    }
    return -1;
}

int CountInPlanePanel(const Frame& f, uint32_t colour)
{
    int n = 0;
    for (int y = 123; y < 520; ++y)
        for (int x = 615; x < 1005; ++x)
            n += f.At(x, y) == colour;
    return n;
}

}  // namespace

TEST(Qorin4, LayoutAt1024x768)
{
    RunOptions o;
    o.frames = 2;
    RunResult r = RunProgram("Qorin4", "", o);
    ExpectFinished(r);
    const Frame& f = r.Last();
    ASSERT_FALSE(f.Empty());
    struct Probe {
        const char* what;
        int x, y;
        uint32_t colour;
    } probes[] = {
        // Space panel (5, 122)-(596, 388): its bottom row trunc(173 + 105 + waveScale) - 1.
        {"space panel top", 300, 122, black}, {"space panel bottom", 300, 387, black},
        {"below the space panel", 300, 388, white}, {"space panel left", 5, 350, black},
        {"space panel right", 595, 350, black},
        // Y axis of the space view: 2-px grey at originX, columns 143..144.
        {"space Y axis", 144, 140, axisGrey}, {"space Y axis, second column", 143, 140, axisGrey},
        {"left of the space Y axis", 142, 140, white}, {"right of the space Y axis", 145, 140, white},
        // Propagation axis at axisY, rows 272..273, up to its arrow.
        {"propagation axis", 588, 273, axisGrey}, {"propagation axis, upper row", 588, 272, axisGrey},
        // Plane panel (614, 122)-(1006, 521) and its axes through (809, 321).
        {"plane panel left", 614, 400, black}, {"plane panel right", 1005, 400, black},
        {"plane panel bottom", 700, 520, black}, {"plane X axis", 1000, 321, axisGrey},
        {"above the plane X axis", 1000, 319, white}, {"below the plane X axis", 1000, 322, white},
        {"plane Y axis", 809, 510, axisGrey}, {"left of the plane Y axis", 807, 510, white},
        // Hatch lines of Y every trunc(110 x 3.1415 / 5) = 69 px from 144: 213 and 282, 3 px wide.
        {"Y hatch at 213", 213, 200, componentY}, {"Y hatch at 213, left column", 212, 200, componentY},
        {"Y hatch at 213, right column", 214, 200, componentY}, {"beside the Y hatch at 213", 216, 200, white},
        {"Y hatch at 282", 282, 240, componentY},
        // The phase field's frame, 40 x 20 at (160, 585).
        {"field top left", 160, 585, black}, {"field bottom right", 199, 604, black},
        {"field inside", 161, 586, white},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(Hex(f.At(p.x, p.y)), Hex(p.colour)) << p.what << " at (" << p.x << ", " << p.y << ")";
}

TEST(Qorin4, PhaseThumbTravelsFrom22To136)
{
    // The thumb starts at 22 + 2.5 / 28 x 800 = 93 (phase difference 0.5); pulled past either end.
    struct Case {
        int toX;
        int left;
    } cases[] = {{0, 22}, {1000, 136}};
    for (const Case& c : cases) {
        RunOptions o;
        o.frames = 8;
        RunResult r = RunProgram("Qorin4", Drag(1, 100, 594, c.toX, 594), o);
        ExpectFinished(r);
        EXPECT_EQ(ThumbLeft(r.Last(), 594, 16, 158), c.left) << "pulled to x = " << c.toX;
    }
}

TEST(Qorin4, TypedPhaseDifferenceApplies)
{
    struct Case {
        const char* name;
        std::vector<std::string> steps;  // script lines without AFTER, one step every 10 frames
        std::vector<double> applied;     // the phase difference after each step
    } cases[] = {
        {"1.5 one key at a time", {"text 1", "text .", "text 5"}, {1, 1, 1.5}},
        {"letters give 0", {"text abc"}, {0}},
        {"7 gives 2", {"text 7"}, {2}},
        {"-3 gives -2", {"text -3"}, {-2}},
        {"0.75 after a blank", {"key space", "text 0.75"}, {0, 0.75}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string script = EmptyField(1);
        RunOptions o;
        for (size_t i = 0; i < c.steps.size(); ++i) {
            script += std::to_string(40 + 10 * i) + " " + c.steps[i] + "\n";
            o.shots.push_back(static_cast<int>(49 + 10 * i));
        }
        o.frames = o.shots.back();
        RunResult r = RunProgram("Qorin4", script, o);
        ExpectFinished(r);
        for (size_t i = 0; i < c.applied.size(); ++i)
            EXPECT_TRUE(TipNear(r.Shot(o.shots[i]), TipAtStart(c.applied[i]))) << "after step " << i;
    }
}

TEST(Qorin4, TypedBoundsShowTheirSign)
{
    // The readout of a typed 7 and -3 is that of the slider's ends: " 2.00" and "-2.00".
    auto readout = [](const std::string& script) {
        RunOptions o;
        o.frames = 60;
        RunResult r = RunProgram("Qorin4", script, o);
        EXPECT_TRUE(r.finished);
        return r.Last();
    };
    const Frame typed7 = readout(EmptyField(1) + "40 text 7\n"), typedMinus3 = readout(EmptyField(1) + "40 text -3\n");
    const Frame right = readout(Drag(1, 100, 594, 1000, 594)), left = readout(Drag(1, 100, 594, 0, 594));
    ASSERT_FALSE(typed7.Empty());
    ASSERT_FALSE(right.Empty());
    // The readout's box: 5 characters of 15 px average width, 25 px high, at (163, 526).
    EXPECT_TRUE(SameArea(typed7, right, 160, 524, 84, 28));
    EXPECT_TRUE(SameArea(typedMinus3, left, 160, 524, 84, 28));
    EXPECT_FALSE(SameArea(typed7, typedMinus3, 160, 524, 84, 28));
}

TEST(Qorin4, PhaseDragWritesItsFiveCharacterReadoutIntoTheField)
{
    // The field after a drag shows what typing the readout's text shows, and the thumb and the
    // readout agree: the value read back from the field is the slider's. 1.15 stays 1.15.
    struct Case {
        int toX;
        const char* typed;  // after a leading key: "space" or nothing
        bool blank;
    } cases[] = {{122, "1.15", true}, {72, "-0.50", false}, {1000, "2.00", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        RunOptions o;
        o.frames = 60;
        // Both runs click the field first, so both show its caret, at the start of the text.
        RunResult dragged = RunProgram("Qorin4", Click(1, 180, 594) + Drag(10, 100, 594, c.toX, 594), o);
        std::string typing = EmptyField(1) + (c.blank ? "40 key space\n" : "") + "44 text " + c.typed + "\n50 key home\n";
        RunResult typed = RunProgram("Qorin4", typing, o);
        ExpectFinished(dragged);
        ExpectFinished(typed);
        EXPECT_TRUE(SameArea(dragged.Last(), typed.Last(), 160, 585, 40, 20)) << "the field";
        EXPECT_TRUE(SameArea(dragged.Last(), typed.Last(), 160, 524, 84, 28)) << "the readout";
        EXPECT_TRUE(SameArea(dragged.Last(), typed.Last(), 15, 523, 143, 80)) << "the phase track and thumb";
    }
}

TEST(Qorin4, ResetClearsThePlanePanelAndPauses)
{
    RunOptions o;
    o.frames = 90;
    o.shots = {60, 80, 90};
    RunResult r = RunProgram("Qorin4", start + Click(62, 546, 738), o);
    ExpectFinished(r);
    EXPECT_GT(CountInPlanePanel(r.Shot(60), trace), 500) << "the running vector leaves a long trace";
    const Frame& after = r.Shot(80);
    EXPECT_LT(CountInPlanePanel(after, trace), 10) << "the panel was cleared at the press";
    EXPECT_TRUE(ShowsPicture(after, 11, 713, LoadPicture("Qorin4", "s.bmp"), "paused-after-reset"));
    // phase = 1.570796 - 578 / 440: with d = 0.5 the vector stands almost straight up.
    const double phase = 1.570796 - 578.0 / 440, u = 144.0 / 110 + phase;
    EXPECT_TRUE(TipNear(after, {centreX - std::sin(u + 1.57075) * figureScale, centreY - std::sin(u) * figureScale}));
    EXPECT_TRUE(SameArea(after, r.Shot(90), 614, 122, 392, 400)) << "paused: nothing moves";
}

TEST(Qorin4, SpeedStaysWithinItsBounds)
{
    std::string minusTimes, plusTimes;
    for (int i = 0; i < 45; ++i) {
        minusTimes += Click(1 + 3 * i, 216, 738);
        plusTimes += Click(1 + 3 * i, 416, 738);
    }
    struct Case {
        const char* name;
        std::string script;
        int thumbLeft;      // 252 + 800 x speed, truncated
        double tipTravel;   // how far the vector tip moves over 100 running frames, 0: not checked
    } cases[] = {
        // 0.001 rad per frame: 0.1 rad over 100 frames, 18.6 px along the circle.
        {"slider pulled fully left", Drag(1, 307, 754, 0, 754), 252, 18.6},
        {"slider pulled fully right", Drag(1, 307, 754, 1000, 754), 364, 0},
        {"minus far below the bound", minusTimes, 252, 18.6},
        {"minus to the bound, then plus once", minusTimes + Click(140, 416, 738), 254, 0},
        {"plus far above the bound", plusTimes, 364, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunOptions o;
        o.frames = 360;
        o.shots = {200, 300};
        RunResult r = RunProgram("Qorin4", c.script + Click(150, 86, 738), o);
        ExpectFinished(r);
        EXPECT_EQ(ThumbLeft(r.Shot(300), 754, 245, 388), c.thumbLeft);
        if (c.tipTravel > 0) {
            const Point a = VectorTip(r.Shot(200)), b = VectorTip(r.Shot(300));
            EXPECT_NEAR(std::hypot(a.x - b.x, a.y - b.y), c.tipTravel, 3);
        }
    }
}

TEST(Qorin4, TracedTipStaysOnTheCircle)
{
    // Both amplitudes 1 and d = 0.5: one turn takes 2 pi / 0.06, about 105 frames.
    RunOptions o;
    o.frames = 130;
    RunResult r = RunProgram("Qorin4", start, o);
    ExpectFinished(r);
    const Frame& f = r.Last();
    std::vector<bool> angles(72, false);
    int pixels = 0;
    for (int y = 123; y < 520; ++y)
        for (int x = 615; x < 1005; ++x) {
            if (f.At(x, y) != trace)
                continue;
            ++pixels;
            // Tips are truncated to whole pixels (up to 1 px toward the top left) and the 2-px pen
            // covers pixel centres within 1 px of the segment: so the pixel's far corner lies
            // within 1.75 px of the circle.
            const double dx = x + 1 - centreX, dy = y + 1 - centreY;
            EXPECT_NEAR(std::hypot(dx, dy), figureScale, 1.75) << "trace pixel (" << x << ", " << y << ")";
            angles[static_cast<int>((std::atan2(dy, dx) + std::numbers::pi) / (2 * std::numbers::pi) * 72) % 72] = true;
        }
    EXPECT_GT(pixels, 1000);
    for (size_t i = 0; i < angles.size(); ++i)
        EXPECT_TRUE(angles[i]) << "no trace between " << i * 5 << " and " << i * 5 + 5 << " degrees";
}

TEST(Qorin4, LiveObjectsStayConstantOver1000Frames)
{
    // Running, with a drag of each kind of slider on the way.
    const std::string script = start + Drag(5, 100, 594, 60, 594) + Drag(10, 143, 694, 90, 694) +
                               Drag(15, 373, 694, 300, 694) + Drag(20, 307, 754, 330, 754);
    RunOptions shortRun, longRun;
    shortRun.frames = 30;
    longRun.frames = 1000;
    RunResult a = RunProgram("Qorin4", script, shortRun), b = RunProgram("Qorin4", script, longRun);
    ExpectFinished(a);
    ExpectFinished(b);
    EXPECT_EQ(b.frames, a.frames + 970);
    EXPECT_EQ(a.objects, b.objects);
}

TEST(Qorin4, RunsOnScreensTooShortForItsLayout)
{
    // At heights 210..224 the hatch spacing trunc(waveScale x 3.1415 / 5) comes out 0 (and at
    // 215..219 waveScale itself is 0): the run draws no hatches and goes on.
    for (const char* size : {"300x210", "300x215", "300x220", "300x224", "200x150", "1x1"}) {
        RunOptions o;
        o.size = size;
        o.frames = 5;
        RunResult r = RunProgram("Qorin4", Click(1, 86, 738), o);
        ExpectFinished(r);
        EXPECT_EQ(r.exitCode, 0) << size;
    }
}

TEST(Qorin4Rules, CaptionKinds)
{
    struct Case {
        double aX, aY, d;
        int kind;  // 0 linear, 1 circular left, 2 circular right, 3 elliptical left, 4 elliptical right
    } cases[] = {
        {1, 1, 0.5, 1},     {1, 1, -1.5, 1},     {1, 1, 1.5, 2},     {1, 1, -0.5, 2},    {0.5, 1, 0.5, 3},
        {1, 0.5, -1.5, 3},  {0.5, 0.5, 1.5, 2},  {0.3, 1, 1.5, 4},   {1, 1, 0.25, 3},    {1, 1, -1.75, 3},
        {1, 1, 1.25, 4},    {1, 1, -0.25, 4},    {1, 1, 0, 0},       {1, 1, 1, 0},       {1, 1, 2, 0},
        {1, 1, -1, 0},      {1, 1, -2, 0},       {0, 1, 0.5, 0},     {1, 0, 0.25, 0},    {0, 0, 0.5, 0},
        {0.5, 1, 1.5, 4},   {0.05, 0.05, -0.5, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PolarizationKind(c.aX, c.aY, c.d), c.kind) << "aX " << c.aX << ", aY " << c.aY << ", d " << c.d;
    EXPECT_EQ(std::wstring(polarizationCaptions[1]), L"Круговая поляризация (левая)");
    for (int kind = 0; kind < 5; ++kind)
        EXPECT_EQ(std::wcslen(polarizationCaptions[kind]), size_t(polarizationCaptionLengths[kind]));
}

TEST(Qorin4Rules, ReadoutsOfEveryMultipleOfFiveHundredths)
{
    // The sliders give m / 20; each reads as itself, and the signed text read back gives the value.
    for (int m = -40; m <= 40; ++m) {
        const double value = m / 20.0;
        const int hundredths = std::abs(m) * 5;
        std::wstring digits = {wchar_t(L'0' + hundredths / 100), L'.', wchar_t(L'0' + hundredths / 10 % 10),
                               wchar_t(L'0' + hundredths % 10)};
        wchar_t text[6];
        ReadoutText(value, true, text);
        EXPECT_EQ(std::wstring(text), (m < 0 ? L"-" : L" ") + digits) << "signed " << value;
        char narrow[6];
        for (int i = 0; i < 6; ++i)
            narrow[i] = static_cast<char>(text[i]);
        EXPECT_EQ(PhaseFromText(narrow), value) << "read back " << narrow;
        if (m >= 0) {
            ReadoutText(value, false, text);
            EXPECT_EQ(std::wstring(text), digits) << "unsigned " << value;
        }
    }
}

TEST(Qorin4Rules, TypedText)
{
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"1", 1},      {"1.", 1},      {"1.5", 1.5},   {"abc", 0},   {"7", 2},       {"-3", -2},
        {" 0.75", 0.75}, {"\t-1.25", -1.25}, {"", 0}, {"-", 0},     {".", 0},       {"+0.5", 0.5},
        {"+-1", 0},    {"1.5x", 1.5},  {"0,75", 0},    {"1e400", 2}, {"-1e400", -2}, {"1e-400", 0}, {"-inf", -2},   {"nan", 0},
        {"2.0000001", 2}, {"-.5", -0.5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PhaseFromText(c.text), c.value) << '"' << c.text << '"';
}

TEST(Qorin4Rules, TypedTextIgnoresADecimalCommaLocale)
{
    // A German numeric locale, made for the test: its C conversion reads "0,75" and stops at ".".
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "qorin-test-locales";
    std::filesystem::create_directories(dir);
    const std::string make = "localedef -i de_DE -f UTF-8 '" + (dir / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    if (!std::filesystem::exists(dir / "de_DE.UTF-8" / "LC_NUMERIC") && std::system(make.c_str()) != 0 &&
        !std::filesystem::exists(dir / "de_DE.UTF-8" / "LC_NUMERIC"))
        GTEST_SKIP() << "localedef could not make a de_DE locale";
    setenv("LOCPATH", dir.c_str(), 1);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "the de_DE locale does not load";
    const double commaReading = std::strtod("0,75", nullptr);
    const double typed = PhaseFromText(" 0.75"), typedWithComma = PhaseFromText("0,75"),
                 typedNegative = PhaseFromText("-1.25x");
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
    ASSERT_EQ(commaReading, 0.75) << "the locale is not in force";
    EXPECT_EQ(typed, 0.75);
    EXPECT_EQ(typedWithComma, 0) << "a comma ends the number, as in the C locale";
    EXPECT_EQ(typedNegative, -1.25);
}
