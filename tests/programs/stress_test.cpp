// Robustness of every program: storms of random input, damaged and missing pictures, odd screen
// sizes, windows closed while a button or slider is held, and long runs. Each run must end by
// itself, with the exit code its last message gives, and keep its drawing objects constant.
// Storms come from fixed seeds, so a failing one is replayed by its seed. The long sweeps run
// only under ./qorin stress (QORIN_STRESS set).
#include "runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Rect {
    int x, y, w, h;
    bool Holds(int px, int py) const { return px >= x - 4 && px < x + w + 4 && py >= y - 4 && py < y + h + 4; }
};

// What the storms must know of a program on the 1024 x 768 screen.
struct Program {
    const char* name;
    Rect start;  // the start/pause face at 1024 x 768
    // Held presses that end with the window closed while the program waits: "x y" of a button
    // and of a slider thumb (drags move the pointer while held).
    std::vector<std::pair<const char*, std::string>> holds;
};

const Program kPrograms[] = {
    {"Qorin1", {201, 713, 150, 50},
     {{"start button", "276 738"}, {"plus button", "606 738"}, {"slider thumb", "458 754"}, {"cover", "600 326"}}},
    {"Qorin2", {11, 713, 150, 50},
     {{"start button", "86 738"}, {"circular scene button", "100 270"}, {"elliptical scene button", "100 380"}}},
    {"Qorin3", {21, 713, 150, 50},
     {{"start button", "96 738"}, {"plus button", "426 738"}, {"slider thumb", "294 754"}, {"flux panel", "500 550"}}},
    {"Qorin4", {11, 713, 150, 50},
     {{"start button", "86 738"}, {"plus button", "416 738"}, {"phase slider thumb", "100 593"}, {"phase field", "175 595"}}},
    {"Qorin5", {21, 713, 150, 50},
     {{"start button", "96 738"}, {"minus button", "226 738"}, {"slider thumb", "318 754"}, {"density panel", "500 400"},
      {"flux panel", "500 600"}}},
    {"Qorin6", {11, 713, 150, 50},
     {{"start button", "86 738"}, {"index slider thumb", "310 693"}, {"speed slider thumb", "269 754"},
      {"upper switch slot", "914 673"}, {"lower switch slot", "914 733"}}},
};

// The long runs exist only for ./qorin stress, which sets QORIN_STRESS.
const bool kStress = std::getenv("QORIN_STRESS") != nullptr;

std::vector<const Program*> AllPrograms()
{
    std::vector<const Program*> all;
    for (const Program& p : kPrograms)
        all.push_back(&p);
    return all;
}

std::string ProgramName(const testing::TestParamInfo<const Program*>& info) { return info.param->name; }

class EachProgram : public testing::TestWithParam<const Program*> {};
INSTANTIATE_TEST_SUITE_P(Programs, EachProgram, testing::ValuesIn(AllPrograms()), ProgramName);

// A small deterministic generator (splitmix64): the same seed gives the same storm everywhere.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }

private:
    uint64_t state_;
};

// A storm of `events` script lines: moves, left presses and releases with every modifier, right
// presses, keys held and tapped, typed text and ALT accelerators, some 40 to a frame, and
// one close at a random point of the second half. Escape and the exit button are left out so the
// storm runs on. The close ends the program, or only the About box when that is open, so the run
// is also closed a few frames after the storm's last event.
struct StormScript {
    std::string text;
    long lastFrame;
};

StormScript Storm(uint64_t seed, int events, int width, int height)
{
    static const char* keys[] = {"space", "enter", "backspace", "left", "right", "delete", "a",  "z", "0",
                                 "1",     "5",     "9",         ".",    "-",     "+",      "?",  "/", "e"};
    static const char* texts[] = {"1.5", "-0.75", "abc", "7", "0,5", "\xd0\xb2\xd0\xbe", " 2", "--", "1e9", "."};
    static const char* alts[] = {"?", "/", "x", "4", "f"};
    static const char* modifiers[] = {"", " shift", " ctrl", " shift ctrl"};
    Random random(seed);
    // Every program's exit button stands at (W - 171, 10). Storms leave it alone, or every storm
    // would end at its first press there.
    const Rect exitButton{width - 171, 10, 150, 50};
    std::ostringstream s;
    const int closeAt = events / 2 + random.Below(events / 2);
    long frame = 0;
    for (int i = 0; i < events; ++i) {
        if (random.Below(80) == 0)
            frame += 1 + random.Below(3);
        if (i == closeAt) {
            s << frame << " close\n";
            continue;
        }
        int x, y;
        do {
            // Mostly on the screen; now and then past its right or bottom edge.
            x = random.Below(width + width / 16);
            y = random.Below(height + height / 16);
        } while (exitButton.Holds(x, y));
        const int kind = random.Below(100);
        s << frame << ' ';
        if (kind < 40)
            s << "move " << x << ' ' << y;
        else if (kind < 55)
            s << "down " << x << ' ' << y << modifiers[random.Below(4)];
        else if (kind < 70)
            s << "up " << x << ' ' << y;
        else if (kind < 75)
            s << (random.Below(2) ? "rdown " : "rup ") << x << ' ' << y;
        else if (kind < 90)
            s << (kind < 80 ? "keydown " : kind < 85 ? "keyup " : "key ") << keys[random.Below(std::size(keys))];
        else if (kind < 96)
            s << "text " << texts[random.Below(std::size(texts))];
        else
            s << "alt " << alts[random.Below(std::size(alts))];
        s << '\n';
    }
    return {s.str(), frame};
}

void ExpectCleanEnd(const RunResult& r, const std::string& what)
{
    ASSERT_TRUE(r.finished) << what << ": the run did not end in time\n" << r.err;
    ASSERT_GE(r.frames, 1) << what << ": no closing line\n" << r.out << r.err;
    EXPECT_EQ(r.status, r.exitCode & 0xFF) << what << "\n" << r.err;
}

// Objects at every reported frame equal those at the first report.
void ExpectObjectsConstant(const RunResult& r, const std::string& what)
{
    ASSERT_FALSE(r.reports.empty()) << what << ": no report lines\n" << r.out;
    const int first = r.reports.begin()->second.first;
    for (const auto& [frame, report] : r.reports)
        EXPECT_EQ(report.first, first) << what << ": objects at frame " << frame;
}

// Objects over a storm. The first use of a scene or a control may still give one surface a pen,
// a brush and a font of its own for good (three objects, once, whenever the storm gets there);
// more than that, or growth in two intervals, is a leak.
void ExpectNoLeak(const RunResult& r, const std::string& what)
{
    ASSERT_GE(r.reports.size(), 2u) << what << ": too few report lines\n" << r.out;
    const int first = r.reports.begin()->second.first;
    int previous = first, grew = 0;
    for (const auto& [frame, report] : r.reports) {
        grew += report.first > previous;
        EXPECT_LE(report.first, first + 3) << what << ": objects at frame " << frame;
        previous = report.first;
    }
    EXPECT_LE(grew, 1) << what << ": objects grew in " << grew << " intervals";
}

struct StormCase {
    const Program* program;
    uint64_t seed;
};

void PrintTo(const StormCase& c, std::ostream* out) { *out << c.program->name << " seed " << c.seed; }

std::string StormName(const testing::TestParamInfo<StormCase>& info)
{
    return std::string(info.param.program->name) + "_seed" + std::to_string(info.param.seed);
}

std::vector<StormCase> StormCases(uint64_t firstSeed, int seeds)
{
    std::vector<StormCase> cases;
    for (const Program& p : kPrograms)
        for (int i = 0; i < seeds; ++i)
            cases.push_back({&p, firstSeed + static_cast<uint64_t>(i)});
    return cases;
}

void RunStorm(const StormCase& c, const std::string& size, int width, int height)
{
    RunOptions o;
    o.size = size;
    const StormScript storm = Storm(c.seed, 100000, width, height);
    o.frames = static_cast<int>(storm.lastFrame) + 20;
    o.timeLimitSeconds = 300;
    // A storm runs some 2,500 frames, closed somewhere in its second half.
    o.env["QORIN_REPORT"] = "300,600,1000,1400,1800,2200";
    const std::string what = std::string(c.program->name) + " seed " + std::to_string(c.seed) + " at " + size;
    RunResult r = RunProgram(c.program->name, storm.text, o);
    ExpectCleanEnd(r, what);
    if (!r.reports.empty())
        ExpectNoLeak(r, what);
}

class Storms : public testing::TestWithParam<StormCase> {};

TEST_P(Storms, EndCleanly)
{
    RunStorm(GetParam(), "800x600", 800, 600);
}

INSTANTIATE_TEST_SUITE_P(FixedSeeds, Storms, testing::ValuesIn(StormCases(1, 2)), StormName);

// ./qorin stress: many more seeds, at two screen sizes.
class StormSweep : public testing::TestWithParam<StormCase> {};

TEST_P(StormSweep, EndCleanly)
{
    RunStorm(GetParam(), "1024x768", 1024, 768);
    RunStorm(GetParam(), "1920x1080", 1920, 1080);
}

INSTANTIATE_TEST_SUITE_P(Seeds, StormSweep,
                         testing::ValuesIn(kStress ? StormCases(1000, 20) : std::vector<StormCase>{}), StormName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(StormSweep);

// A storm without its close, for runs that the frame limit ends.
std::string StormWithoutClose(uint64_t seed, int events, int width, int height)
{
    std::string text = Storm(seed, events, width, height).text;
    const size_t close = text.find(" close\n");
    if (close != std::string::npos) {
        const size_t lineStart = text.rfind('\n', close) + 1;
        text.erase(lineStart, close + 7 - lineStart);
    }
    return text;
}

enum Damage { Missing, Truncated, Garbage };
const char* damageNames[] = {"missing", "truncated", "random bytes"};

struct DamageCase {
    const Program* program;
    Damage damage;
};

void PrintTo(const DamageCase& c, std::ostream* out) { *out << c.program->name << " " << damageNames[c.damage]; }

class DamagedPictures : public testing::TestWithParam<DamageCase> {};

// Every picture file missing, cut to half its length, or replaced by random bytes of its length,
// one at a time: the program runs on through a short storm with constant objects. A missing face
// shows as its black frame rectangle.
TEST_P(DamagedPictures, LeaveTheProgramRunning)
{
    const Program& p = *GetParam().program;
    const Damage damage = GetParam().damage;
    const fs::path source = fs::path(QORIN_PICTURES_DIR) / "en" / p.name;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(source))
        files.push_back(entry.path().filename());
    ASSERT_FALSE(files.empty()) << p.name;
    const std::string script = StormWithoutClose(11, 300, 1024, 768);
    char pattern[] = "/tmp/qorin-damaged-XXXXXX";
    const fs::path folder = mkdtemp(pattern);
    Random random(5);
    for (const fs::path& file : files) {
        fs::remove_all(folder);
        fs::copy(source, folder);
        const fs::path target = folder / file;
        const auto size = fs::file_size(target);
        if (damage == Missing) {
            fs::remove(target);
        } else if (damage == Truncated) {
            fs::resize_file(target, size / 2);
        } else {
            std::ofstream out(target, std::ios::binary | std::ios::trunc);
            for (uintmax_t i = 0; i < size; ++i)
                out.put(static_cast<char>(random.Next()));
        }
        RunOptions o;
        o.frames = 20;
        o.pictureDir = folder.string();
        o.env["QORIN_REPORT"] = "2,20";
        RunResult r = RunProgram(p.name, script, o);
        const std::string what = std::string(p.name) + " with " + file.string() + " " + damageNames[damage];
        ExpectCleanEnd(r, what);
        EXPECT_GE(r.frames, 20) << what << ": ended early";
        ExpectObjectsConstant(r, what);
    }
    fs::remove_all(folder);
}

std::vector<DamageCase> DamageCases()
{
    std::vector<DamageCase> cases;
    for (const Program& p : kPrograms)
        for (Damage damage : {Missing, Truncated, Garbage})
            cases.push_back({&p, damage});
    return cases;
}

std::string DamageName(const testing::TestParamInfo<DamageCase>& info)
{
    static const char* kinds[] = {"Missing", "Truncated", "RandomBytes"};
    return std::string(info.param.program->name) + "_" + kinds[info.param.damage];
}

INSTANTIATE_TEST_SUITE_P(EachFile, DamagedPictures, testing::ValuesIn(DamageCases()), DamageName);

// Both faces of start/pause missing: whichever the program shows, it shows its frame rectangle.
TEST_P(EachProgram, ShowsFrameRectanglesWhereFacesAreMissing)
{
    const Program& p = *GetParam();
    char pattern[] = "/tmp/qorin-faceless-XXXXXX";
    const fs::path folder = mkdtemp(pattern);
    fs::remove_all(folder);
    fs::copy(fs::path(QORIN_PICTURES_DIR) / "en" / p.name, folder);
    fs::remove(folder / "s.bmp");
    fs::remove(folder / "p.bmp");
    RunOptions o;
    o.pictureDir = folder.string();
    RunResult r = RunProgram(p.name, "", o);
    fs::remove_all(folder);
    ExpectCleanEnd(r, p.name);
    const Frame& f = r.Last();
    ASSERT_FALSE(f.Empty()) << p.name;
    int notBlack = 0;
    for (int y = p.start.y; y < p.start.y + p.start.h; ++y)
        for (int x = p.start.x; x < p.start.x + p.start.w; ++x)
            notBlack += f.At(x, y) != 0;
    EXPECT_EQ(notBlack, 0) << p.name << ": the start/pause area without its faces";
}

// Screens from 1 x 1 up to 7680 x 4320 (the desktop and browser backends never go under
// 640 x 480; the headless one takes any size): every program runs a short storm and ends, and
// from 640 x 480 up its exit face stands at (W - 171, 10), as on every screen.
TEST_P(EachProgram, RunsOnOddScreens)
{
    const struct { int w, h; } sizes[] = {{1, 1}, {2, 3}, {17, 9}, {100, 100}, {320, 200}, {639, 479}, {640, 480},
                                          {641, 1200}, {1366, 768}, {2560, 1080}, {3840, 2160}, {7680, 4320}};
    const Program& p = *GetParam();
    const fs::path pictures = fs::path(QORIN_PICTURES_DIR) / "en" / p.name;
    const Frame exitFace = LoadPicture(p.name, fs::exists(pictures / "ex.bmp") ? "ex.bmp" : "e.bmp");
    for (const auto& size : sizes) {
        const std::string name = std::string(p.name) + " at " + std::to_string(size.w) + "x" + std::to_string(size.h);
        RunOptions o;
        o.size = std::to_string(size.w) + "x" + std::to_string(size.h);
        o.frames = 12;
        // The largest screen is not written out: a PNG of it takes longer than the run.
        const bool look = size.w >= 640 && size.h >= 480 && size.w < 7680;
        o.shots = {look ? 2 : 999999};
        o.timeLimitSeconds = 120;
        RunResult r = RunProgram(p.name, StormWithoutClose(21, 200, std::max(size.w, 2), std::max(size.h, 2)), o);
        ExpectCleanEnd(r, name);
        EXPECT_GE(r.frames, 12) << name << ": ended early";
        if (look) {
            ASSERT_FALSE(r.Shot(2).Empty()) << name;
            EXPECT_TRUE(ShowsPicture(r.Shot(2), size.w - 171, 10, exitFace, p.name + std::string("-odd-exit")))
                << name;
        }
    }
}

// The window closed (ALT+F4) while the program waits in a button press or a slider drag, and
// while the About box is open: the run ends there, not at the frame limit.
TEST_P(EachProgram, EndsWhenClosedWhileWaiting)
{
    const Program& p = *GetParam();
    std::vector<std::pair<std::string, std::string>> cases;
    for (const auto& [what, at] : p.holds) {
        std::istringstream xy(at);
        int x = 0, y = 0;
        xy >> x >> y;
        std::ostringstream script;
        script << "2 move " << x << ' ' << y << "\n2 down " << x << ' ' << y << "\n4 move " << x + 40 << ' ' << y
               << "\n4 move " << x - 60 << ' ' << y + 3 << "\n6 close\n";
        cases.emplace_back(std::string("during a hold of the ") + what, script.str());
    }
    // A close with the About box open closes the box, as on Windows; the second closes the window.
    cases.emplace_back("during the About box", "2 alt ?\n4 close\n6 close\n");
    for (const auto& [what, script] : cases) {
        RunOptions o;
        o.frames = 1000;
        RunResult r = RunProgram(p.name, script, o);
        const std::string name = std::string(p.name) + " " + what;
        ExpectCleanEnd(r, name);
        EXPECT_LT(r.frames, 20) << name << ": the close did not end the program";
    }
}

// ./qorin stress: 100,000 frames of each program after a storm of clicks that opens what can be
// opened. Live objects and resident memory must be the same at frame 1,000 and at frame 100,000
// (memory within 256 KiB: the allocator may still settle a page or two).
class Soak : public testing::TestWithParam<const Program*> {};

TEST_P(Soak, ObjectsAndMemoryStayFlat)
{
    const Program& p = *GetParam();
    const std::string script = StormWithoutClose(7, 2000, 1024, 768);
    RunOptions o;
    o.frames = 100000;
    o.timeLimitSeconds = 1800;
    o.env["QORIN_REPORT"] = "1000,50000,100000";
    RunResult r = RunProgram(p.name, script, o);
    ExpectCleanEnd(r, p.name);
    ASSERT_GE(r.frames, 100000) << r.out;
    ExpectObjectsConstant(r, p.name);
    const long early = r.reports[1000].second, late = r.reports[100000].second;
    std::printf("%s: objects %d; resident %ld, %ld and %ld KiB at frames 1000, 50000 and 100000\n", p.name,
                r.reports[100000].first, early, r.reports[50000].second, late);
    EXPECT_LE(late - early, 256) << p.name << ": resident memory grew";
}

INSTANTIATE_TEST_SUITE_P(Programs, Soak, testing::ValuesIn(kStress ? AllPrograms() : std::vector<const Program*>{}),
                         ProgramName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Soak);

}  // namespace
