// Once a program runs, its frames allocate nothing: every program, animating its busiest picture,
// is run for 300 frames with the benchmark's counting allocator, and the calls of operator new
// from frame 100 on must be none. Pens, brushes and fonts are made anew in every frame, so an
// object or a text path that reaches the heap again shows here.
#include "runner.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SteadyCase {
    const char* program;
    const char* script;  // at 1024x768: start the animation (and open what it draws most)
};

const SteadyCase kCases[] = {
    {"Qorin1", "1 down 512 327\n1 up 512 327\n3 down 512 553\n3 up 512 553\n5 down 276 738\n5 up 276 738\n"},
    {"Qorin2", "1 down 100 270\n1 up 100 270\n3 down 86 738\n3 up 86 738\n"},
    {"Qorin3", "1 down 512 600\n1 up 512 600\n3 down 96 738\n3 up 96 738\n"},
    {"Qorin4", "1 down 86 738\n1 up 86 738\n"},
    {"Qorin5", "1 down 512 377\n1 up 512 377\n3 down 512 571\n3 up 512 571\n"},
    {"Qorin6", "1 down 914 733\n1 up 914 733\n3 down 86 738\n3 up 86 738\n"},
};

class SteadyFrames : public testing::TestWithParam<SteadyCase> {};

}  // namespace

TEST_P(SteadyFrames, AllocateNothing)
{
    const SteadyCase& c = GetParam();
    RunOptions options;
    options.frames = 300;
    options.shots = {999999};  // a frame that never comes: nothing is written
    options.env["QORIN_BENCH"] = "1";
    const RunResult result = RunProgram(c.program, c.script, options);
    ASSERT_TRUE(result.finished) << result.err;
    EXPECT_GE(result.frames, 300);
    const size_t at = result.out.find("allocs_per_frame=");
    if (at == std::string::npos && result.out.find("compose_ms=") != std::string::npos)
        GTEST_SKIP() << "allocations are not counted in this build (a sanitizer's allocator)";
    ASSERT_NE(at, std::string::npos) << result.out;
    EXPECT_EQ(result.out.substr(at, result.out.find_first_of(" \n", at) - at), "allocs_per_frame=0.00") << result.out;
}

INSTANTIATE_TEST_SUITE_P(Table, SteadyFrames, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<SteadyCase>& info) { return std::string(info.param.program); });
