// Checks of the picture generator's output: every bitmap loads with LoadImageW at the size the
// program asks for and has exactly that size in its header, the icons' directories are sound,
// two runs write identical bytes, and a folder that cannot be written gives exit code 1.
#include "gdi/objects.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// CTest runs each case as its own process, possibly side by side: each gets its own folder.
const fs::path kRuns = fs::path(QORIN_TEST_DIR) / std::to_string(getpid());

int RunGenerator(const std::string& arguments) {
    const std::string command = std::string("\"") + QORIN_PICTURES_EXE + "\" " + arguments + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<uint8_t> ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b.at(at + i);
    return v;
}

class Pictures : public testing::Test {
protected:
    static void SetUpTestSuite() {
        fs::remove_all(kRuns);
        fs::create_directories(kRuns);
        firstExit = RunGenerator((kRuns / "a").string());
        secondExit = RunGenerator((kRuns / "b").string());
    }
    static void TearDownTestSuite() { fs::remove_all(kRuns); }
    static inline int firstExit = -1, secondExit = -1;
};

struct BitmapCase {
    const char* file;
    int width, height;
    bool words;  // carries text, so the Russian picture must differ from the English one
};

const BitmapCase kQorin1[] = {
    {"1.bmp", 150, 100, true},  {"2.bmp", 150, 100, true}, {"3.bmp", 150, 100, true},
    {"s.bmp", 150, 50, true},   {"p.bmp", 150, 50, true},  {"e.bmp", 150, 50, true},
    {"+.bmp", 50, 50, false},   {"-.bmp", 50, 50, false},  {"scr.bmp", 143, 50, true},
    {"pto.bmp", 250, 40, true}, {"top.bmp", 700, 80, true},
};

TEST_F(Pictures, EveryBitmapHasItsLoadSizeAndLoads) {
    ASSERT_EQ(firstExit, 0);
    for (const BitmapCase& c : kQorin1) {
        qp::PixelVector pixelsByLanguage[2];
        for (int language = 0; language < 2; ++language) {
            const fs::path file = kRuns / "a" / (language ? "ru" : "en") / "Qorin1" / c.file;
            SCOPED_TRACE(file.string());
            const std::vector<uint8_t> bytes = ReadAll(file);
            ASSERT_GE(bytes.size(), 54u);
            EXPECT_EQ(bytes[0], 'B');
            EXPECT_EQ(bytes[1], 'M');
            EXPECT_EQ(static_cast<int32_t>(Le(bytes, 18, 4)), c.width);
            EXPECT_EQ(static_cast<int32_t>(Le(bytes, 22, 4)), c.height);
            EXPECT_EQ(Le(bytes, 28, 2), 24u);
            EXPECT_EQ(bytes.size(), 54u + static_cast<size_t>((c.width * 3 + 3) / 4 * 4) * c.height);

            // Loaded at the program's size, the file's own picture comes back unscaled.
            HANDLE loaded = LoadImageW(nullptr, file.wstring().c_str(), IMAGE_BITMAP, c.width, c.height, LR_LOADFROMFILE);
            const auto* bitmap = qp::LookupAs<qp::Bitmap>(loaded, qp::Kind::Bitmap);
            ASSERT_NE(bitmap, nullptr);
            EXPECT_EQ(bitmap->width, c.width);
            EXPECT_EQ(bitmap->height, c.height);
            pixelsByLanguage[language] = bitmap->pixels;
            DeleteObject(loaded);
            const std::set<uint32_t> colours(pixelsByLanguage[language].begin(), pixelsByLanguage[language].end());
            EXPECT_GE(colours.size(), 2u) << "blank picture";
        }
        if (c.words) {
            EXPECT_NE(pixelsByLanguage[0], pixelsByLanguage[1]) << c.file << ": same picture in both languages";
        }
    }
}

TEST_F(Pictures, IconsHoldEightWellFormedImages) {
    ASSERT_EQ(firstExit, 0);
    struct Entry {
        int size, bitCount;
    };
    const Entry expected[] = {{32, 4}, {16, 4}, {48, 8}, {32, 8}, {16, 8}, {48, 32}, {32, 32}, {16, 32}};
    for (const char* name : {"qorin.ico", "qorin-small.ico"}) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> ico = ReadAll(kRuns / "a" / "icons" / name);
        ASSERT_GE(ico.size(), 6u + 16 * 8);
        EXPECT_EQ(Le(ico, 0, 2), 0u);
        EXPECT_EQ(Le(ico, 2, 2), 1u);
        ASSERT_EQ(Le(ico, 4, 2), 8u);
        size_t next = 6 + 16 * 8;  // images follow the directory back to back
        for (int i = 0; i < 8; ++i) {
            const size_t e = 6 + 16 * i;
            const int size = expected[i].size, bits = expected[i].bitCount;
            SCOPED_TRACE("image " + std::to_string(i));
            EXPECT_EQ(ico[e], size);
            EXPECT_EQ(ico[e + 1], size);
            EXPECT_EQ(ico[e + 2], bits == 4 ? 16 : 0);
            EXPECT_EQ(Le(ico, e + 4, 2), 1u);
            EXPECT_EQ(static_cast<int>(Le(ico, e + 6, 2)), bits);
            const uint32_t length = Le(ico, e + 8, 4), offset = Le(ico, e + 12, 4);
            EXPECT_EQ(offset, next);
            ASSERT_LE(static_cast<size_t>(offset) + length, ico.size());
            next = offset + length;

            const size_t paletteBytes = bits == 4 ? 64 : bits == 8 ? 1024 : 0;
            const size_t colourRow = (size * bits + 31) / 32 * 4, maskRow = (size + 31) / 32 * 4;
            EXPECT_EQ(Le(ico, offset, 4), 40u);
            EXPECT_EQ(static_cast<int>(Le(ico, offset + 4, 4)), size);
            EXPECT_EQ(static_cast<int>(Le(ico, offset + 8, 4)), 2 * size);  // colour image and mask
            EXPECT_EQ(static_cast<int>(Le(ico, offset + 14, 2)), bits);
            ASSERT_EQ(length, 40 + paletteBytes + (colourRow + maskRow) * size);

            // The mask marks transparent pixels; in 32 bpp exactly those have alpha 0.
            const size_t colours = offset + 40 + paletteBytes, mask = colours + colourRow * size;
            int clear = 0;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    const bool masked = ico[mask + y * maskRow + x / 8] & (0x80 >> (x % 8));
                    clear += masked;
                    if (bits == 32) {
                        EXPECT_EQ(ico[colours + y * colourRow + 4 * x + 3], masked ? 0 : 255) << x << "," << y;
                    }
                }
            }
            EXPECT_GT(clear, 0);
            EXPECT_LT(clear, size * size / 2);
        }
        EXPECT_EQ(next, ico.size());
    }
}

TEST_F(Pictures, TwoRunsWriteTheSameBytes) {
    ASSERT_EQ(firstExit, 0);
    ASSERT_EQ(secondExit, 0);
    std::set<fs::path> written[2];
    for (int run = 0; run < 2; ++run) {
        const fs::path root = kRuns / (run ? "b" : "a");
        for (const auto& entry : fs::recursive_directory_iterator(root))
            if (entry.is_regular_file()) written[run].insert(fs::relative(entry.path(), root));
    }
    EXPECT_EQ(written[0], written[1]);
    EXPECT_FALSE(written[0].empty());
    for (const fs::path& relative : written[0])
        EXPECT_EQ(ReadAll(kRuns / "a" / relative), ReadAll(kRuns / "b" / relative)) << relative;
}

TEST_F(Pictures, UnwritableOutputFailsWithExitCodeOne) {
    const fs::path blocker = kRuns / "blocker";
    std::ofstream(blocker) << "a file where a folder should be";
    const fs::path taken = kRuns / "taken";
    fs::create_directories(taken / "en" / "Qorin1" / "1.bmp");  // a folder where a picture should go
    const struct {
        const char* what;
        std::string arguments;
    } cases[] = {
        {"folder under a file", (blocker / "out").string()},
        {"picture name taken by a folder", taken.string()},
        {"no folder given", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(RunGenerator(c.arguments), 1) << c.what;
}

}  // namespace
