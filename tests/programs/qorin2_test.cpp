// Qorin2, the three polarization scenes, checked on frames captured from the real binary.
// At 1024 x 768: A = 119, the 3-D origin (344, 273), the plane view's centre (562, 563), the
// scene buttons at (10, 110), (10, 220), (10, 330), start/pause at (11, 713), exit at (853, 10).
// A scene button pressed in frame n switches scenes: the new scene's first frame is n + 1.
#include "runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

namespace {

const uint32_t white = Rgb(255, 255, 255), black = 0, sceneGrey = Rgb(150, 150, 150), axisGrey = Rgb(100, 100, 100),
               lightAxis = Rgb(150, 150, 150), red = Rgb(225, 30, 25), linearGreen = Rgb(80, 110, 50),
               sumGreen = Rgb(50, 80, 5), pathGreen = Rgb(0, 125, 25), bodyGrey = Rgb(210, 210, 210),
               faceGrey = Rgb(230, 230, 230), helixBlue = Rgb(0, 0, 155);

std::string Click(int after, int x, int y)
{
    std::ostringstream s;
    s << after << " down " << x << ' ' << y << '\n' << after << " up " << x << ' ' << y << '\n';
    return s.str();
}

// Pressed in frame 2: the scene starts in frame 3.
std::string ToScene(int scene) { return Click(1, 100, 160 + 110 * (scene - 2)); }
int FirstFrame(int scene) { return scene == 2 ? 1 : 3; }

void ExpectFinished(const RunResult& r)
{
    ASSERT_TRUE(r.finished) << "the run did not end by itself\n" << r.out << r.err;
    ASSERT_EQ(r.status, r.exitCode & 0xFF) << r.out << r.err;
}

bool IsHelix(uint32_t p)
{
    const int r = p >> 16, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return p == helixBlue || (r >= 100 && r <= 200 && g == 10 && b == 20);
}

bool IsTrace(int scene, uint32_t p) { return scene == 2 ? p == red : IsHelix(p); }

struct Layout {
    const char* size;
    int W, H, A, xo, ya, cx, y0;
};
const Layout small{"1024x768", 1024, 768, 119, 344, 273, 562, 563};
const Layout large{"1920x1080", 1920, 1080, 197, 422, 367, 1010, 797};

// Columns of trace pixels in the 3-D view (above the plane view), or {-1, -1}. Rows within
// `skip` of the axis are left out when asked.
std::pair<int, int> TraceColumns(const Frame& f, int scene, const Layout& l, int skip = -1)
{
    int first = -1, last = -1;
    for (int y = 100; y < l.ya + l.A + 5; ++y)
        for (int x = 200; x < f.width; ++x)
            if (std::abs(y - l.ya) > skip)
            if (IsTrace(scene, f.At(x, y))) {
                first = first < 0 ? x : std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

double DistanceToSegment(double px, double py, double ax, double ay, double bx, double by)
{
    const double dx = bx - ax, dy = by - ay, length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

// The columns of row y inside the ellipse of a box, by the platform's rule (doubled coordinates,
// pixel centres at 2x + 1); {1, 0} when none.
std::pair<int, int> EllipseRow(int left, int top, int right, int bottom, int y)
{
    const long long cx = left + right, cy = top + bottom, a = right - left, b = bottom - top;
    int first = 1, last = 0;
    for (int x = left; x < right; ++x) {
        const long long dx = 2 * x + 1 - cx, dy = 2 * y + 1 - cy;
        if (dx * dx * b * b + dy * dy * a * a <= a * a * b * b) {
            if (first > last)
                first = x;
            last = x;
        }
    }
    return {first, last};
}

}  // namespace

TEST(Qorin2, SceneFrameAndAxesAtTwoSizes)
{
    struct Probe { int x, y; uint32_t colour; };
    struct Label { const char* file; int x, y; };
    struct Case {
        const Layout& l;
        std::vector<Probe> axisEnds;  // axis end points and a pixel just beyond each
        std::vector<Label> labels;
    } cases[] = {
        {small,
         {{1004, 273, axisGrey}, {1006, 273, white}, {344, 127, axisGrey}, {344, 124, white},
          {260, 321, axisGrey}, {257, 323, white}, {418, 563, axisGrey}, {415, 563, white}, {562, 419, axisGrey},
          {562, 416, white}},
         {{"k2.bmp", 964, 283}, {"X.bmp", 294, 127}, {"Y.bmp", 240, 261}, {"Y.bmp", 388, 573}, {"X.bmp", 567, 404}}},
        {large,
         {{1900, 367, axisGrey}, {1902, 367, white}, {422, 159, axisGrey}, {422, 156, white},
          {293, 441, axisGrey}, {290, 443, white}, {788, 797, axisGrey}, {785, 797, white}, {1010, 575, axisGrey},
          {1010, 572, white}},
         {{"k2.bmp", 1860, 377}, {"X.bmp", 372, 159}, {"Y.bmp", 273, 381}, {"Y.bmp", 758, 807}, {"X.bmp", 1015, 560}}},
    };
    const char* titles[] = {"top2.bmp", "top3.bmp", "top4.bmp"};
    for (auto& c : cases) {
        for (int scene = 2; scene <= 4; ++scene) {
            SCOPED_TRACE(std::string(c.l.size) + " scene " + std::to_string(scene));
            RunOptions o;
            o.size = c.l.size;
            o.frames = FirstFrame(scene);
            RunResult r = RunProgram("Qorin2", scene == 2 ? "" : ToScene(scene), o);
            ExpectFinished(r);
            const Frame& f = r.Last();
            ASSERT_FALSE(f.Empty());
            for (auto& p : c.axisEnds)
                EXPECT_EQ(Hex(f.At(p.x, p.y)), Hex(p.colour)) << "at (" << p.x << ", " << p.y << ")";
            for (auto& label : c.labels)
                EXPECT_TRUE(ShowsPicture(f, label.x, label.y, LoadPicture("Qorin2", label.file), label.file));
            EXPECT_TRUE(ShowsPicture(f, 10, 10, LoadPicture("Qorin2", titles[scene - 2]), titles[scene - 2]));
            EXPECT_TRUE(ShowsPicture(f, c.l.W - 171, 10, LoadPicture("Qorin2", "ex.bmp"), "exit"));
            EXPECT_TRUE(ShowsPicture(f, 11, c.l.H - 55, LoadPicture("Qorin2", "p.bmp"), "pause"));
            // The running scene's button has the grey 3-px frame; the others the black 1-px one.
            for (int button = 2; button <= 4; ++button) {
                const std::string face = std::to_string(button) + ".bmp";
                const int y = 110 + 110 * (button - 2);
                EXPECT_TRUE(ShowsPicture(f, 10, y, LoadPicture("Qorin2", face), face));
                const bool grey = button == scene;
                EXPECT_EQ(Hex(f.At(7, y + 50)), Hex(grey ? sceneGrey : white)) << face;
                EXPECT_EQ(Hex(f.At(9, y + 50)), Hex(grey ? sceneGrey : black)) << face;
                EXPECT_EQ(Hex(f.At(191, y - 2)), Hex(grey ? sceneGrey : white)) << face;
            }
        }
    }
}

TEST(Qorin2, LinearSceneVectorAndTrace)
{
    // Frame 1: t = 354, d = 57.09, the X component up to y = 505, Y left to x = 504, the sum to
    // (504, 505), each with its arrowhead. Frame 8: t = 375, d = -3.45: no arrowheads at all.
    struct Segment { double ax, ay, bx, by; };
    struct Probe { int x, y; uint32_t colour; bool is; };
    struct Case {
        int frame;
        std::vector<Segment> shafts;  // every vector pixel lies on these lines (3 px wide)
        std::vector<Probe> probes;
    } cases[] = {
        {1,
         {{562, 563, 562, 505}, {562, 563, 504, 563}, {562, 563, 504, 505},
          {558, 513, 562, 505}, {566, 513, 562, 505}, {512, 559, 504, 563}, {512, 567, 504, 563},
          {504, 505, 512, 506}, {504, 505, 505, 513}},
         {{562, 505, red, true}, {562, 502, red, false}, {558, 513, red, true}, {566, 513, red, true},
          {512, 559, red, true}, {512, 567, red, true}, {504, 505, linearGreen, true},
          {512, 506, linearGreen, true}, {505, 513, linearGreen, true}}},
        // What frame 1 traced shows from frame 2: the first points (354, 215) and (311, 297)
        // and the sticks from (354, 273) to them.
        {2, {}, {{354, 215, red, true}, {354, 212, red, false}, {354, 250, red, true}, {311, 297, red, true},
                 {332, 285, red, true}, {308, 299, red, false}}},
        // Frame 2 (t = 357) is no stick position.
        {3, {}, {{357, 250, red, false}, {357, 260, red, false}}},
        {8, {{562, 563, 562, 566}, {562, 563, 565, 563}, {562, 563, 565, 566}}, {}},
        // The stick of frame 15 (t = 396, d = -63.0) runs down to (396, 336) and shows from
        // frame 16 on; frame 16 (t = 399) has none.
        {15, {}, {{396, 300, red, false}}},
        {16, {}, {{396, 300, red, true}, {396, 336, red, true}}},
        {17, {}, {{399, 300, red, false}}},
    };
    RunOptions o;
    o.frames = 17;
    o.shots = {1, 2, 3, 8, 15, 16, 17};
    RunResult r = RunProgram("Qorin2", "", o);
    ExpectFinished(r);
    for (auto& c : cases) {
        SCOPED_TRACE("frame " + std::to_string(c.frame));
        const Frame& f = r.Shot(c.frame);
        ASSERT_FALSE(f.Empty());
        for (auto& p : c.probes)
            EXPECT_EQ(f.At(p.x, p.y) == p.colour, p.is) << "(" << p.x << ", " << p.y << ") is " << Hex(f.At(p.x, p.y));
        if (c.shafts.empty())
            continue;
        // The plane view: no red or green pixel off the component and sum lines.
        for (int y = 563 - 150; y < 563 + 150; ++y)
            for (int x = 562 - 150; x < 562 + 150; ++x) {
                if (f.At(x, y) != red && f.At(x, y) != linearGreen)
                    continue;
                double nearest = 1e9;
                for (auto& s : c.shafts)
                    nearest = std::min(nearest, DistanceToSegment(x, y, s.ax, s.ay, s.bx, s.by));
                // A 3-px pen covers the pixels within 1.5 of its line.
                ASSERT_LE(nearest, 1.5) << "stray vector pixel at (" << x << ", " << y << ")";
            }
    }
}

TEST(Qorin2, TurningScenesFirstFrames)
{
    // Scene frames 1 to 3. The tip of frame 1 is (679, 541) in scene 3 and (629, 556) in scene 4;
    // the helix line of frame 2, drawn with r = 101 over the body, shows from frame 3.
    struct Probe { int sceneFrame, x, y; uint32_t colour; };
    struct Case { int scene; std::vector<Probe> probes; } cases[] = {
        {3,
         {{1, 679, 541, sumGreen}, {1, 669, 537, sumGreen}, {1, 671, 547, sumGreen},
          {1, 562, 541, red}, {1, 558, 549, red}, {1, 566, 549, red},
          {1, 679, 563, red}, {1, 671, 559, red}, {1, 671, 567, red},
          {1, 460, 251, bodyGrey}, {2, 677, 536, sumGreen}, {3, 679, 541, pathGreen},
          {3, 460, 251, Rgb(101, 10, 20)}, {3, 460, 248, Rgb(101, 10, 20)}, {3, 460, 246, Rgb(101, 10, 20)}}},
        {4,
         {{1, 629, 556, sumGreen}, {1, 621, 549, sumGreen}, {1, 619, 559, sumGreen},
          {1, 562, 558, red}, {1, 558, 564, red}, {1, 629, 563, red}, {1, 621, 567, red},
          {1, 430, 251, bodyGrey}, {2, 631, 551, sumGreen}, {3, 629, 556, pathGreen},
          {3, 430, 251, Rgb(101, 10, 20)}, {3, 431, 246, Rgb(101, 10, 20)}}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE("scene " + std::to_string(c.scene));
        RunOptions o;
        o.frames = FirstFrame(c.scene) + 2;
        o.shots = {FirstFrame(c.scene), FirstFrame(c.scene) + 1, FirstFrame(c.scene) + 2};
        RunResult r = RunProgram("Qorin2", ToScene(c.scene), o);
        ExpectFinished(r);
        for (auto& p : c.probes) {
            const Frame& f = r.Shot(FirstFrame(c.scene) + p.sceneFrame - 1);
            ASSERT_FALSE(f.Empty());
            EXPECT_EQ(Hex(f.At(p.x, p.y)), Hex(p.colour)) << "scene frame " << p.sceneFrame << " at (" << p.x << ", " << p.y << ")";
        }
    }
}

TEST(Qorin2, CylinderShapes)
{
    struct Box { int left, top, right, bottom; };
    struct Case { const Layout& l; int scene; Box leftEnd, body, face; } cases[] = {
        {small, 3, {344, 154, 463, 392}, {403, 154, 885, 392}, {825, 154, 944, 392}},
        {small, 4, {344, 154, 403, 392}, {373, 154, 885, 392}, {855, 154, 914, 392}},
        {large, 3, {422, 170, 619, 564}, {520, 170, 1703, 564}, {1604, 170, 1801, 564}},
        {large, 4, {422, 170, 520, 564}, {471, 170, 1703, 564}, {1653, 170, 1752, 564}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(std::string(c.l.size) + " scene " + std::to_string(c.scene));
        RunOptions o;
        o.size = c.l.size;
        o.frames = FirstFrame(c.scene);
        RunResult r = RunProgram("Qorin2", ToScene(c.scene), o);
        ExpectFinished(r);
        const Frame& f = r.Last();
        ASSERT_FALSE(f.Empty());
        auto expect = [&](int x, int y, uint32_t colour, const char* what) {
            EXPECT_EQ(Hex(f.At(x, y)), Hex(colour)) << what << " at (" << x << ", " << y << ")";
        };
        // The top and bottom rows: the left end's black outline up to the body, the body grey,
        // then the right end face's outline over it, white beyond.
        for (int y : {c.body.top, c.body.bottom - 1}) {
            auto [leftFirst, leftLast] = EllipseRow(c.leftEnd.left, c.leftEnd.top, c.leftEnd.right, c.leftEnd.bottom, y);
            auto [faceFirst, faceLast] = EllipseRow(c.face.left, c.face.top, c.face.right, c.face.bottom, y);
            ASSERT_LT(leftFirst, c.body.left);
            ASSERT_GE(leftLast, c.body.left);
            expect(leftFirst - 1, y, white, "left of the left end");
            expect(leftFirst, y, black, "left end outline");
            expect(c.body.left - 1, y, black, "left end outline beside the body");
            expect(c.body.left, y, bodyGrey, "body edge");
            expect(faceFirst - 1, y, bodyGrey, "body under the face's edge");
            expect(faceFirst, y, black, "face outline");
            expect(faceLast, y, black, "face outline");
            expect(faceLast + 1, y, white, "right of the face");
        }
        const int middle = (c.body.left + c.face.left) / 2, faceMiddle = (c.face.left + c.face.right) / 2;
        expect(middle, c.body.top - 1, white, "above the body");
        expect(middle, c.body.bottom, white, "below the body");
        expect(middle, c.l.ya - c.l.A / 2, bodyGrey, "body");
        expect(faceMiddle, c.l.ya - c.l.A / 2, faceGrey, "face");
        // The light axis ends at the face's left edge; the dark axis goes on over the face.
        expect(c.l.xo + 30, c.l.ya, lightAxis, "light axis");
        expect(c.face.left, c.l.ya, lightAxis, "end of the light axis");
        expect(c.face.left + 2, c.l.ya, axisGrey, "dark axis over the face");
    }
}

TEST(Qorin2, TraceRestartsAtTheRightEdge)
{
    // restart: the scene frame that wipes the trace (t = t0 + 3(n - 1) >= W - 30 in scene 2,
    // u/2.5 + A >= W - 30 with u = u0 + 2(n - 1) in scenes 3 and 4); the wiping shows in the
    // next frame, and two frames later the first line of the new trace. In scene 2 the reach is
    // that of the X curve (last point at t = 993 or 1887), on rows the Y curve never comes to.
    struct Case { const Layout& l; int scene, restart, reachesAtLeast, reachesAtMost, startColumn; } cases[] = {
        {small, 2, 215, 913, 995, 359},
        {large, 2, 487, 1807, 1889, 437},
        {small, 3, 593, 830, 937, 462},
        {small, 4, 593, 800, 908, 433},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(std::string(c.l.size) + " scene " + std::to_string(c.scene));
        const int wipe = FirstFrame(c.scene) + c.restart - 1;
        RunOptions o;
        o.size = c.l.size;
        o.frames = wipe + 3;
        o.shots = {wipe, wipe + 1, wipe + 3};
        RunResult r = RunProgram("Qorin2", c.scene == 2 ? "" : ToScene(c.scene), o);
        ExpectFinished(r);
        // The Y curve keeps within 0.85 A / 2 of the axis row.
        auto before = TraceColumns(r.Shot(wipe), c.scene, c.l, c.scene == 2 ? c.l.A * 85 / 200 + 2 : -1);
        auto wiped = TraceColumns(r.Shot(wipe + 1), c.scene, c.l);
        auto again = TraceColumns(r.Shot(wipe + 3), c.scene, c.l);
        EXPECT_GE(before.second, c.reachesAtLeast) << "the trace reaches the right end";
        EXPECT_LE(before.second, c.reachesAtMost);
        EXPECT_EQ(wiped.first, -1) << "the trace is erased";
        EXPECT_GE(again.first, 0) << "a new trace begins";
        EXPECT_LE(again.second, c.startColumn) << "the new trace starts on the left";
        if (c.scene == 2)
            continue;
        // The tip's path survives the wiping: it still goes all the way round.
        const Frame& f = r.Shot(wipe + 1);
        bool bins[36] = {};
        for (int y = c.l.y0 - c.l.A - 3; y <= c.l.y0 + c.l.A + 3; ++y)
            for (int x = c.l.cx - c.l.A - 3; x <= c.l.cx + c.l.A + 3; ++x)
                if (f.At(x, y) == pathGreen) {
                    const double angle = std::atan2(c.l.y0 - (y + 0.5), x + 0.5 - c.l.cx);
                    bins[static_cast<int>((angle + M_PI) / (2 * M_PI) * 36) % 36] = true;
                }
        EXPECT_TRUE(std::all_of(std::begin(bins), std::end(bins), [](bool b) { return b; }));
    }
}

TEST(Qorin2, HelixShadeFollowsTheBackdrop)
{
    // Over the body the helix is red with r = 150 - 50 cos(theta); over the lighter end face it
    // is dark blue, and nowhere else. Shown in the wiping frame, the helix is at its longest.
    // (In scene 4 at 1024 x 768 it ends just short of the face.)
    struct Case { const Layout& l; int scene, restart, faceLeft; } cases[] = {{small, 3, 593, 825}, {large, 4, 1479, 1653}};
    for (auto& c : cases) {
        SCOPED_TRACE(std::string(c.l.size) + " scene " + std::to_string(c.scene));
        RunOptions o;
        o.size = c.l.size;
        o.frames = FirstFrame(c.scene) + c.restart - 1;
        RunResult r = RunProgram("Qorin2", ToScene(c.scene), o);
        ExpectFinished(r);
        const Frame& f = r.Last();
        bool blueSeen = false, redSeen = false;
        for (int y = c.l.ya - c.l.A - 5; y < c.l.ya + c.l.A + 5; ++y)
            for (int x = c.l.xo; x < c.l.W; ++x) {
                if (!IsHelix(f.At(x, y)))
                    continue;
                if (f.At(x, y) == helixBlue) {
                    blueSeen = true;
                    ASSERT_GE(x, c.faceLeft - 3) << "blue helix over the body at (" << x << ", " << y << ")";
                } else {
                    redSeen = true;
                }
            }
        EXPECT_TRUE(blueSeen);
        EXPECT_TRUE(redSeen);
    }
}

TEST(Qorin2, TipPathsOfTheTurningScenes)
{
    // One turn takes pi A / 3 frames: 124.6 at 1024 x 768, 206.3 at 1920 x 1080. The circle keeps
    // radius A; the ellipse's half axes are 0.986 A (about 60 degrees up to the right) and
    // 0.493 A, and it is closed after one turn, not before.
    struct Case {
        const Layout& l;
        int scene, sceneFrames;
        bool closed;
    } cases[] = {
        {small, 3, 130, true}, {large, 3, 212, true}, {small, 4, 130, true}, {small, 4, 100, false},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(std::string(c.l.size) + " scene " + std::to_string(c.scene) + " after " +
                     std::to_string(c.sceneFrames) + " frames");
        RunOptions o;
        o.size = c.l.size;
        o.frames = FirstFrame(c.scene) + c.sceneFrames - 1;
        RunResult r = RunProgram("Qorin2", ToScene(c.scene), o);
        ExpectFinished(r);
        const Frame& f = r.Last();
        const double A = c.l.A;
        double sum[36] = {}, farthest = 0, farthestAngle = 0, nearest = 1e9;
        int count[36] = {};
        for (int y = c.l.y0 - c.l.A - 5; y <= c.l.y0 + c.l.A + 5; ++y)
            for (int x = c.l.cx - c.l.A - 5; x <= c.l.cx + c.l.A + 5; ++x) {
                if (f.At(x, y) != pathGreen)
                    continue;
                const double dx = x + 0.5 - c.l.cx, dy = c.l.y0 - (y + 0.5), radius = std::hypot(dx, dy);
                const double angle = std::atan2(dy, dx);
                const int bin = static_cast<int>((angle + M_PI) / (2 * M_PI) * 36) % 36;
                sum[bin] += radius;
                ++count[bin];
                if (radius > farthest) {
                    farthest = radius;
                    farthestAngle = angle * 180 / M_PI;
                }
                nearest = std::min(nearest, radius);
            }
        const bool closed = std::all_of(std::begin(count), std::end(count), [](int n) { return n > 0; });
        EXPECT_EQ(closed, c.closed);
        if (!c.closed)
            continue;
        if (c.scene == 3) {
            for (int bin = 0; bin < 36; ++bin)
                EXPECT_NEAR(sum[bin] / count[bin], A, 1.0) << "mean radius, bin " << bin;
            EXPECT_LE(farthest, A + 2.5);
            EXPECT_GE(nearest, A - 2.5);
        } else {
            EXPECT_NEAR(farthest, 0.986 * A, 2.0);
            EXPECT_NEAR(nearest, 0.493 * A, 2.0);
            // Up to the right, or the opposite end of the long axis.
            const double a = farthestAngle < 0 ? farthestAngle + 180 : farthestAngle;
            EXPECT_NEAR(a, 59.5, 4.0);
        }
    }
}

TEST(Qorin2, ScenesStartAfreshAndRunning)
{
    // Each path ends in a scene started in frame `start`, the pointer resting on that scene's
    // inert grey button; its frames must equal those of the reference run of that scene.
    struct Case {
        const char* name;
        std::string script, reference;
        int start, referenceStart;
    } cases[] = {
        {"scene 3 reached through scene 4", Click(1, 100, 380) + Click(20, 100, 270), ToScene(3), 22, 3},
        {"scene 3 paused, left for scene 2, chosen again",
         ToScene(3) + Click(10, 86, 738) + Click(20, 100, 160) + Click(40, 100, 270), ToScene(3), 42, 3},
        {"scene 2 paused, left for scene 3, chosen again", Click(2, 86, 738) + Click(5, 100, 270) + Click(10, 100, 160),
         "0 move 100 160\n", 12, 1},
        {"scene 2's own grey button clicked", "0 move 100 160\n" + Click(3, 100, 160), "0 move 100 160\n", 1, 1},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        RunOptions o, ref;
        o.frames = c.start + 40;
        o.shots = {c.start + 4, c.start + 40};
        ref.frames = c.referenceStart + 40;
        ref.shots = {c.referenceStart + 4, c.referenceStart + 40};
        RunResult r = RunProgram("Qorin2", c.script, o), expected = RunProgram("Qorin2", c.reference, ref);
        ExpectFinished(r);
        ExpectFinished(expected);
        for (int k : {4, 40}) {
            const Frame& want = expected.Shot(c.referenceStart + k);
            ASSERT_FALSE(want.Empty());
            EXPECT_TRUE(ShowsPicture(r.Shot(c.start + k), 0, 0, want, "afresh")) << "scene frame " << k + 1;
        }
    }
}

TEST(Qorin2, SwitchingFinishesTheFrame)
{
    // Button 3 pressed in frame 2: frame 2 still shows scene 2 with button 3's hover frame, and
    // frame 3 is the first of scene 3.
    RunOptions o;
    o.frames = 3;
    o.shots = {2, 3};
    RunResult r = RunProgram("Qorin2", ToScene(3), o);
    ExpectFinished(r);
    EXPECT_EQ(r.frames, 3);
    const Frame& last2 = r.Shot(2);
    const Frame& first3 = r.Shot(3);
    EXPECT_TRUE(ShowsPicture(last2, 10, 10, LoadPicture("Qorin2", "top2.bmp"), "top2"));
    EXPECT_EQ(Hex(last2.At(7, 270)), Hex(black)) << "the hover frame of the pressed button";
    EXPECT_TRUE(ShowsPicture(first3, 10, 10, LoadPicture("Qorin2", "top3.bmp"), "top3"));
    EXPECT_TRUE(ShowsPicture(first3, 11, 713, LoadPicture("Qorin2", "p.bmp"), "running"));
}

TEST(Qorin2, HowRunsEnd)
{
    struct Case { const char* name; std::string script; int expectFrames; int expectExit; } cases[] = {
        {"Escape in scene 2", "2 key escape\n", 2, 0x1B},
        {"Escape in scene 3", ToScene(3) + "4 key escape\n", 4, 0x1B},
        {"Escape in scene 4", ToScene(4) + "4 key escape\n", 4, 0x1B},
        {"exit button in scene 2", Click(1, 928, 35), 1, 0},
        {"exit button in scene 3", ToScene(3) + Click(4, 928, 35), 4, 0},
        {"exit button in scene 4", ToScene(4) + Click(4, 928, 35), 4, 0},
        {"window closed in scene 3", ToScene(3) + "4 close\n", 4, -1},
        {"window closed in scene 4", ToScene(4) + "4 close\n", 4, -1},
        // The wait for the release ends with the window; no further scene is started.
        {"window closed while scene button 3 is held", "1 down 100 270\n2 close\n", 2, -1},
        {"window closed while scene button 2 is held in scene 4", ToScene(4) + "4 down 100 160\n5 close\n", 5, -1},
    };
    for (auto& c : cases) {
        RunOptions o;
        o.frames = 30;
        RunResult r = RunProgram("Qorin2", c.script, o);
        ExpectFinished(r);
        EXPECT_EQ(r.frames, c.expectFrames) << c.name;
        if (c.expectExit >= 0) {
            EXPECT_EQ(r.exitCode, c.expectExit) << c.name;
        }
    }
}

TEST(Qorin2, LiveDrawingObjectsStayConstant)
{
    // Each pair ends in the same scene; the long run crosses restarts and many scene switches.
    std::string manySwitches;
    for (int i = 0; i < 6; ++i)
        manySwitches += Click(1 + 60 * i, 100, 380) + Click(31 + 60 * i, 100, 270);
    struct Case { const char* name; std::string shortScript, longScript; } cases[] = {
        {"scene 2 alone", "", ""},
        {"ending in scene 3", ToScene(3), manySwitches},
    };
    for (auto& c : cases) {
        RunOptions shortRun, longRun;
        shortRun.frames = 10;
        longRun.frames = 1000;
        RunResult a = RunProgram("Qorin2", c.shortScript, shortRun), b = RunProgram("Qorin2", c.longScript, longRun);
        ExpectFinished(a);
        ExpectFinished(b);
        EXPECT_EQ(b.frames, 1000) << c.name;
        EXPECT_GT(a.objects, 0) << c.name;
        EXPECT_EQ(a.objects, b.objects) << c.name;
    }
}

TEST(Qorin2, PicturesHaveTheirLoadSizes)
{
    struct Case { const char* file; int width, height; bool words; } cases[] = {
        {"X.bmp", 40, 40, false},    {"Y.bmp", 40, 40, false},    {"k2.bmp", 40, 40, false},
        {"2.bmp", 180, 100, true},   {"3.bmp", 180, 100, true},   {"4.bmp", 180, 100, true},
        {"ex.bmp", 150, 50, true},   {"s.bmp", 150, 50, true},    {"p.bmp", 150, 50, true},
        {"top2.bmp", 600, 80, true}, {"top3.bmp", 600, 80, true}, {"top4.bmp", 600, 80, true},
    };
    for (auto& c : cases) {
        const Frame en = LoadPicture("Qorin2", c.file, "en"), ru = LoadPicture("Qorin2", c.file, "ru");
        EXPECT_EQ(en.width, c.width) << c.file;
        EXPECT_EQ(en.height, c.height) << c.file;
        EXPECT_EQ(ru.width, c.width) << c.file;
        EXPECT_EQ(ru.height, c.height) << c.file;
        EXPECT_EQ(en.pixels != ru.pixels, c.words) << c.file;
    }
}
