// Runs a program's own binary on the headless backend, as ./qorin shot does, and reads back
// its captured frames and its closing line, so tests can check what users would see.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct Frame {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0xRRGGBB
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool Empty() const { return pixels.empty(); }
};

struct RunOptions {
    std::string size = "1024x768";
    int frames = 1;
    std::vector<int> shots;  // frames to capture; empty: the last one
    std::string lang = "en";
    std::map<std::string, std::string> env;  // extra environment
    std::string pictureDir;                  // working directory; empty: the program's own pictures
    int timeLimitSeconds = 60;               // a run still going then is killed and counts as a hang
};

struct RunResult {
    bool finished = false;  // ended by itself within the time limit
    int status = -1;        // the process's exit status
    int frames = -1, exitCode = -1, objects = -1;  // from the last line
    std::string out, err;
    std::map<int, Frame> shots;
    std::map<int, std::pair<int, long>> reports;  // QORIN_REPORT lines: frame -> (objects, rss_kb)
    const Frame& Shot(int n) const;
    const Frame& Last() const { return shots.rbegin()->second; }
};

RunResult RunProgram(const std::string& program, const std::string& script, const RunOptions& options = {});

// An image file of the program's picture folder, loaded at its own size.
Frame LoadPicture(const std::string& program, const std::string& file, const std::string& lang = "en");

// True when the w x h area at (x, y) of the frame equals the picture's pixels exactly.
bool AreaEquals(const Frame& frame, int x, int y, const Frame& picture);
// The same as a test assertion: on a mismatch it names the first bad pixel and writes the frame
// and a diff (bad pixels red over a faded frame) to $TMPDIR/qorin-test-failures/NAME-*.png.
::testing::AssertionResult ShowsPicture(const Frame& frame, int x, int y, const Frame& picture, const std::string& name);

inline uint32_t Rgb(int r, int g, int b) { return (r << 16) | (g << 8) | b; }
std::string Hex(uint32_t pixel);
