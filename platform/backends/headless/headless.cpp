// The headless backend: runs a program without a display, fed by a script, and writes chosen
// frames as PNG files. A frame ends at each Sleep (every frame of a program ends with one).
//   QORIN_SIZE=WxH       logical screen, default 1024x768; 1x1 up to 16384x16384
//   QORIN_SCRIPT=path    input script (one event per line: "AFTER ACTION ARGS"), optional
//   QORIN_FRAMES=N       from frame end N on, every frame end also closes the window; default 1
//   QORIN_SHOT=N[,N...]  frames to write as OUT/frame-N.png; without it the last frame is written
//   QORIN_OUT=dir        folder of the PNG files, default "."
//   QORIN_BENCH=1        print, before the last line, compose_ms (the median frame's processor time),
//                        copy2_ms (two full-frame copies, best of 30), allocs_per_frame (operator new
//                        calls per frame from frame 100 to the last) and first_frame_ms (from start-up)
//   QORIN_REPORT=N[,N...] at the end of frame N print "frame=N objects=K rss_kb=R" (for long runs)
// A bad value or script line is reported on stderr and the run exits with code 2 before starting.
// The last line on stdout is "frames=N exit=CODE objects=K".
#include "allocations.h"
#include "script.h"

#include "gdi/objects.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <time.h>
#include <unistd.h>

namespace qp {
namespace {

using Clock = std::chrono::steady_clock;

// Taken while the program's statics are set up, before wWinMain: the start of the first frame's wait.
const Clock::time_point startUp = Clock::now();

// Processor time of this thread in milliseconds: unlike the wall clock, it does not count the
// time the machine gives to other processes.
double ThreadMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Allocations are counted from this frame on, when every cache a program fills has settled.
constexpr long kSteadyFrame = 100;

struct Run {
    int width = 1024, height = 768;
    long frameLimit = 1;
    std::set<long> shots;
    std::set<long> reports;
    std::string outDir = ".";
    bool bench = false;

    std::vector<headless::ScriptEvent> script;
    size_t nextScripted = 0;
    std::deque<InputEvent> pending;
    std::set<int> heldKeys;  // keys the script pressed and has not released yet

    const Bitmap* pixels = nullptr;
    long framesEnded = 0;
    PixelVector lastFrame;  // kept when no frame numbers were asked for
    long lastFrameNumber = 0;
    std::vector<double> frameEnds;  // thread processor time, ms
    double firstFrameMs = 0;
    unsigned long long steadyAllocations = 0;
    long steadyFrames = 0;
};

Run run;

[[noreturn]] void Refuse(const std::string& reason)
{
    std::fprintf(stderr, "%s\n", reason.c_str());
    std::exit(2);
}

const char* Env(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

long Count(const std::string& text, const char* variable)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        Refuse(std::string(variable) + ": bad number '" + text + "'");
    return std::stol(text);
}

// "N[,N...]": frame numbers, counted from 1.
void ReadFrameList(const char* variable, std::set<long>& frames)
{
    const char* value = Env(variable);
    if (!value)
        return;
    std::string list = value;
    for (size_t start = 0;;) {
        size_t comma = list.find(',', start);
        long k = Count(list.substr(start, comma - start), variable);
        if (k < 1)
            Refuse(std::string(variable) + ": frames count from 1");
        frames.insert(k);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
}

// The resident set in KiB, from /proc; -1 where there is none.
long ResidentKib()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    if (!(statm >> pages >> resident))
        return -1;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void ReadEnvironment()
{
    if (const char* size = Env("QORIN_SIZE")) {
        std::string s = size;
        size_t x = s.find('x');
        if (x == std::string::npos)
            Refuse("QORIN_SIZE: expected WxH, got '" + s + "'");
        long w = Count(s.substr(0, x), "QORIN_SIZE"), h = Count(s.substr(x + 1), "QORIN_SIZE");
        if (w < 1 || h < 1 || w > 16384 || h > 16384)
            Refuse("QORIN_SIZE: " + s + " is outside 1x1 .. 16384x16384");
        run.width = static_cast<int>(w);
        run.height = static_cast<int>(h);
    }
    if (const char* frames = Env("QORIN_FRAMES"))
        run.frameLimit = Count(frames, "QORIN_FRAMES");
    ReadFrameList("QORIN_SHOT", run.shots);
    ReadFrameList("QORIN_REPORT", run.reports);
    if (const char* out = Env("QORIN_OUT"))
        run.outDir = out;
    if (const char* bench = Env("QORIN_BENCH"))
        run.bench = std::strcmp(bench, "0") != 0;
    // Room for every frame's time up front: the benchmark must not count its own allocations.
    if (run.bench)
        run.frameEnds.reserve(static_cast<size_t>(std::min<long>(run.frameLimit, 1L << 20)) + 2);
    if (const char* path = Env("QORIN_SCRIPT")) {
        std::ifstream file(path);
        if (!file)
            Refuse(std::string("script: cannot read ") + path);
        headless::Script script = headless::ParseScript(file);
        if (script.errorLine)
            Refuse("script:" + std::to_string(script.errorLine) + ": " + script.error);
        run.script = std::move(script.events);
    }
    std::error_code error;
    std::filesystem::create_directories(run.outDir, error);
    if (error)
        Refuse("QORIN_OUT: cannot create " + run.outDir);
}

void Feed(const InputEvent& event)
{
    if (event.type == InputEvent::KeyDown)
        run.heldKeys.insert(event.vk);
    else if (event.type == InputEvent::KeyUp)
        run.heldKeys.erase(event.vk);
    run.pending.push_back(event);
}

void FeedScriptUpTo(long frames)
{
    while (run.nextScripted < run.script.size() && run.script[run.nextScripted].after <= frames)
        Feed(run.script[run.nextScripted++].event);
}

void WriteFrame(const PixelVector& pixels, long frame)
{
    Bitmap copy;
    copy.width = run.width;
    copy.height = run.height;
    copy.pixels = pixels;
    std::string path = run.outDir + "/frame-" + std::to_string(frame) + ".png";
    if (!WritePng(copy, path))
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
}

void EndFrame()
{
    long k = ++run.framesEnded;
    if (run.bench) {
        run.frameEnds.push_back(ThreadMs());
        if (k == 1)
            run.firstFrameMs = std::chrono::duration<double, std::milli>(Clock::now() - startUp).count();
        if (k == kSteadyFrame)
            run.steadyAllocations = headless::AllocationCount();
        if (k > kSteadyFrame)
            run.steadyFrames = k - kSteadyFrame;
    }
    if (run.pixels) {
        if (run.shots.count(k))
            WriteFrame(run.pixels->pixels, k);
        else if (run.shots.empty() && !run.bench) {
            run.lastFrame = run.pixels->pixels;
            run.lastFrameNumber = k;
        }
    }
    if (run.reports.count(k)) {
        std::printf("frame=%ld objects=%zu rss_kb=%ld\n", k, LiveObjectCount(), ResidentKib());
        std::fflush(stdout);
    }
    FeedScriptUpTo(k);
    if (k >= run.frameLimit) {
        InputEvent close;
        close.type = InputEvent::Close;
        run.pending.push_back(close);
    }
}

// Best of 30 runs of two full-screen copies: the floor a frame's composition is measured against.
double CopyTwiceMs()
{
    size_t bytes = static_cast<size_t>(run.width) * run.height * 4;
    std::vector<unsigned char> a(bytes, 1), b(bytes), c(bytes);
    double best = 1e300;
    for (int i = 0; i < 30; ++i) {
        auto start = Clock::now();
        std::memcpy(b.data(), a.data(), bytes);
        std::memcpy(c.data(), b.data(), bytes);
        auto end = Clock::now();
        // Reading the copies keeps the compiler from dropping them.
        a[i % bytes] = static_cast<unsigned char>(c[(i * 7919) % bytes] + 1);
        best = std::min(best, std::chrono::duration<double, std::milli>(end - start).count());
    }
    return best;
}

bool Open(int& width, int& height)
{
    ReadEnvironment();
    FeedScriptUpTo(0);
    width = run.width;
    height = run.height;
    return true;
}

void ShowWindow(const Bitmap& pixels, const wchar_t*)
{
    run.pixels = &pixels;
}

void Present() {}

bool Poll(InputEvent& event)
{
    if (run.pending.empty())
        return false;
    event = run.pending.front();
    run.pending.pop_front();
    return true;
}

// Nothing ever arrives by itself here: a wait takes the next scripted event at once, whatever
// its frame, and once the script is spent it releases held keys, then closes the window.
void Wait(int)
{
    if (!run.pending.empty())
        return;
    if (run.nextScripted < run.script.size()) {
        Feed(run.script[run.nextScripted++].event);
        return;
    }
    if (!run.heldKeys.empty()) {
        for (int vk : std::set<int>(run.heldKeys)) {
            InputEvent up;
            up.type = InputEvent::KeyUp;
            up.vk = vk;
            Feed(up);
        }
        return;
    }
    InputEvent close;
    close.type = InputEvent::Close;
    run.pending.push_back(close);
}

// Frames depend only on the script, never on the clock, so the runner does not really sleep.
void Sleep(unsigned)
{
    EndFrame();
}

void Finish(int exitCode, size_t liveObjects)
{
    if (!run.lastFrame.empty())
        WriteFrame(run.lastFrame, run.lastFrameNumber);
    if (run.bench) {
        const unsigned long long allocations = headless::AllocationCount() - run.steadyAllocations;
        // The median frame, so that a stray interruption does not count as drawing time.
        std::vector<double> intervals;
        for (size_t i = 1; i < run.frameEnds.size(); ++i)
            intervals.push_back(run.frameEnds[i] - run.frameEnds[i - 1]);
        double compose = 0;
        if (!intervals.empty()) {
            std::nth_element(intervals.begin(), intervals.begin() + intervals.size() / 2, intervals.end());
            compose = intervals[intervals.size() / 2];
        }
        std::printf("compose_ms=%.4f copy2_ms=%.4f", compose, CopyTwiceMs());
        if (headless::AllocationsCounted() && run.steadyFrames > 0)
            std::printf(" allocs_per_frame=%.2f", static_cast<double>(allocations) / static_cast<double>(run.steadyFrames));
        std::printf(" first_frame_ms=%.1f\n", run.firstFrameMs);
    }
    std::printf("frames=%ld exit=%d objects=%zu\n", run.framesEnded, exitCode, liveObjects);
    std::fflush(stdout);
}

}  // namespace

const Backend headlessBackend = {"headless", Open, ShowWindow, Present, Poll, Wait, Sleep, Finish};

}  // namespace qp
