// The BMP loader: fixture files of every supported depth and row order are written here with
// known pixels and read back at their own size and scaled; damaged, truncated and missing
// files must give null without leaking an object (run it under the address sanitizer too).
#include "canvas.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

using Bytes = std::vector<unsigned char>;
using Picture = std::vector<std::string>;

const Picture kColours = {
    "r#bg.",
    "#rb#g",
    "bg#r.",
};
const Picture kTwoColours = {
    "r.r..r.rr",
    ".r.r.r..r",
    "rr..r.r.r",
};

void Put16(Bytes& b, size_t at, uint32_t v) {
    b[at] = static_cast<unsigned char>(v);
    b[at + 1] = static_cast<unsigned char>(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

// A BMP with a 40-byte header. Palette formats list their colours in `palette`, placed from
// index `paletteBase` on (the entries before it are grey).
Bytes EncodeBmp(int bits, bool topDown, const Picture& picture, const std::string& palette = "", int paletteBase = 0) {
    const int width = static_cast<int>(picture[0].size()), height = static_cast<int>(picture.size());
    const int entries = bits <= 8 ? paletteBase + static_cast<int>(palette.size()) : 0;
    const size_t rowBytes = (static_cast<size_t>(bits) * width + 31) / 32 * 4;
    const size_t offset = 14 + 40 + 4 * static_cast<size_t>(entries);
    Bytes b(offset + rowBytes * height, 0);
    b[0] = 'B', b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(b.size()));
    Put32(b, 10, static_cast<uint32_t>(offset));
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<uint32_t>(width));
    Put32(b, 22, static_cast<uint32_t>(topDown ? -height : height));
    Put16(b, 26, 1);
    Put16(b, 28, static_cast<uint32_t>(bits));
    Put32(b, 46, static_cast<uint32_t>(entries));
    for (int i = 0; i < entries; ++i) {
        const COLORREF c = i < paletteBase ? RGB(128, 128, 128) : ColourOf(palette[i - paletteBase]);
        b[54 + 4 * i] = GetBValue(c), b[55 + 4 * i] = GetGValue(c), b[56 + 4 * i] = GetRValue(c);
    }
    for (int y = 0; y < height; ++y) {
        unsigned char* row = b.data() + offset + rowBytes * (topDown ? y : height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const COLORREF c = ColourOf(picture[y][x]);
            const unsigned r = GetRValue(c), g = GetGValue(c), bl = GetBValue(c);
            const unsigned index = paletteBase + static_cast<unsigned>(palette.find(picture[y][x]));
            switch (bits) {
            case 1: row[x / 8] |= index << (7 - x % 8); break;
            case 4: row[x / 2] |= index << (x % 2 ? 0 : 4); break;
            case 8: row[x] = static_cast<unsigned char>(index); break;
            case 16: {  // 5-5-5
                const unsigned v = (r >> 3) << 10 | (g >> 3) << 5 | bl >> 3;
                row[2 * x] = static_cast<unsigned char>(v), row[2 * x + 1] = static_cast<unsigned char>(v >> 8);
                break;
            }
            default:  // 24 and 32: blue, green, red (and a zero alpha byte)
                unsigned char* p = row + x * bits / 8;
                p[0] = static_cast<unsigned char>(bl), p[1] = static_cast<unsigned char>(g), p[2] = static_cast<unsigned char>(r);
            }
        }
    }
    return b;
}

std::string Write(const Bytes& bytes, const std::string& name) {
    const std::string path = testing::TempDir() + "qorin_gdi_" + name + ".bmp";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

HANDLE Load(const std::string& path, int width, int height) {
    return LoadImageW(nullptr, Wide(path).c_str(), IMAGE_BITMAP, width, height, LR_LOADFROMFILE);
}

Picture PictureOf(HANDLE handle) {
    const auto* bitmap = qp::LookupAs<qp::Bitmap>(handle, qp::Kind::Bitmap);
    Picture rows;
    for (int y = 0; bitmap && y < bitmap->height; ++y) {
        std::string row;
        for (int x = 0; x < bitmap->width; ++x) row += CharOf(bitmap->Row(y)[x]);
        rows.push_back(row);
    }
    return rows;
}

void ExpectPicture(HANDLE handle, const Picture& expected) {
    ASSERT_NE(handle, nullptr);
    const Picture picture = PictureOf(handle);
    if (picture != expected) ADD_FAILURE() << "expected:\n" << Join(expected) << "loaded:\n" << Join(picture);
    EXPECT_TRUE(DeleteObject(handle));
}

struct FormatCase {
    const char* name;
    int bits;
    bool topDown;
    const Picture* picture;
    const char* palette;
    int paletteBase;
};

const FormatCase kFormats[] = {
    {"OneBitBottomUp", 1, false, &kTwoColours, "r.", 0},
    {"OneBitTopDown", 1, true, &kTwoColours, ".r", 0},
    {"FourBitShortPalette", 4, false, &kColours, "r#bg.", 0},
    {"FourBitTopDown", 4, true, &kColours, ".gb#r", 0},
    {"EightBitHighIndices", 8, false, &kColours, "r#bg.", 200},
    {"EightBitTopDown", 8, true, &kColours, "gr.#b", 0},
    {"SixteenBit", 16, false, &kColours, "", 0},
    {"TwentyFourBit", 24, false, &kColours, "", 0},
    {"TwentyFourBitTopDown", 24, true, &kColours, "", 0},
    {"ThirtyTwoBitZeroAlpha", 32, false, &kColours, "", 0},
    {"ThirtyTwoBitTopDown", 32, true, &kColours, "", 0},
};

class BmpFormats : public testing::TestWithParam<FormatCase> {};

TEST_P(BmpFormats, LoadAtTheirOwnSizeAndScaled) {
    const FormatCase& f = GetParam();
    const std::string path = Write(EncodeBmp(f.bits, f.topDown, *f.picture, f.palette, f.paletteBase), f.name);
    ExpectPicture(Load(path, 0, 0), *f.picture);
    // Twice the size: every pixel becomes a 2 x 2 block.
    Picture doubled;
    for (const std::string& row : *f.picture) {
        std::string wide;
        for (char c : row) wide += std::string(2, c);
        doubled.push_back(wide);
        doubled.push_back(wide);
    }
    ExpectPicture(Load(path, static_cast<int>(2 * (*f.picture)[0].size()), 6), doubled);
}

INSTANTIATE_TEST_SUITE_P(Table, BmpFormats, testing::ValuesIn(kFormats),
                         [](const testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

// Nearest neighbour at pixel centres: source column ((2 * x + 1) * 5) / (2 * width).
TEST(BmpLoader, ScalesByPixelCentres) {
    const std::string path = Write(EncodeBmp(24, false, kColours), "scaled");
    ExpectPicture(Load(path, 3, 2), {"rb.", "b#."});
    ExpectPicture(Load(path, 7, 3), {"r##bgg.", "#rrb##g", "bgg#rr."});
    ExpectPicture(Load(path, 5, 1), {"#rb#g"});
    ExpectPicture(Load(path, 0, 2), {"r#bg.", "bg#r."});  // 0 keeps the file's own width
}

TEST(BmpLoader, RelativeUtf8Name) {
    const std::filesystem::path saved = std::filesystem::current_path();
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / "qorin_gdi_relative";
    std::filesystem::create_directories(folder);
    const Bytes bytes = EncodeBmp(24, false, kColours);
    std::ofstream(folder / u8"волна.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::filesystem::current_path(folder);
    HANDLE loaded = LoadImageW(nullptr, L"\x0432\x043E\x043B\x043D\x0430.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    std::filesystem::current_path(saved);
    ExpectPicture(loaded, kColours);
}

struct DamageCase {
    const char* name;
    std::function<void(Bytes&)> damage;
};

const DamageCase kDamage[] = {
    {"BadSignature", [](Bytes& b) { b[1] = 'X'; }},
    {"ZeroWidth", [](Bytes& b) { Put32(b, 18, 0); }},
    {"NegativeWidth", [](Bytes& b) { Put32(b, 18, static_cast<uint32_t>(-5)); }},
    {"HugeWidth", [](Bytes& b) { Put32(b, 18, (1 << 15) + 1); }},
    {"ZeroHeight", [](Bytes& b) { Put32(b, 22, 0); }},
    {"HugeTopDownHeight", [](Bytes& b) { Put32(b, 22, static_cast<uint32_t>(-(1 << 15) - 1)); }},
    {"MoreRowsThanTheFileHolds", [](Bytes& b) { Put32(b, 22, 4); }},
    {"BitCountSeven", [](Bytes& b) { Put16(b, 28, 7); }},
    {"BitCountZero", [](Bytes& b) { Put16(b, 28, 0); }},
    {"RunLengthCompression", [](Bytes& b) { Put32(b, 30, 1); }},
    {"UnknownHeaderSize", [](Bytes& b) { Put32(b, 14, 99); }},
    {"OffsetPastEnd", [](Bytes& b) { Put32(b, 10, static_cast<uint32_t>(b.size())); }},
    {"OffsetInsideHeader", [](Bytes& b) { Put32(b, 10, 20); }},
    {"HugeOffset", [](Bytes& b) { Put32(b, 10, 0xFFFFFFF0u); }},
    {"Empty", [](Bytes& b) { b.clear(); }},
    {"CutInFileHeader", [](Bytes& b) { b.resize(13); }},
    {"CutAfterFileHeader", [](Bytes& b) { b.resize(14); }},
    {"CutInInfoHeader", [](Bytes& b) { b.resize(30); }},
    {"CutBeforePixels", [](Bytes& b) { b.resize(54); }},
    {"CutInFirstRow", [](Bytes& b) { b.resize(60); }},
    {"CutInLastRow", [](Bytes& b) { b.resize(b.size() - 1); }},
};

class BmpDamage : public testing::TestWithParam<DamageCase> {};

TEST_P(BmpDamage, GivesNull) {
    Bytes bytes = EncodeBmp(24, false, kColours);
    GetParam().damage(bytes);
    const std::string path = Write(bytes, GetParam().name);
    const size_t before = qp::LiveObjectCount();
    EXPECT_EQ(Load(path, 0, 0), nullptr);
    EXPECT_EQ(Load(path, 150, 50), nullptr);
    EXPECT_EQ(qp::LiveObjectCount(), before);
}

INSTANTIATE_TEST_SUITE_P(Table, BmpDamage, testing::ValuesIn(kDamage),
                         [](const testing::TestParamInfo<DamageCase>& info) { return std::string(info.param.name); });

TEST(BmpLoader, RefusesWhatItCannotLoad) {
    const std::string good = Write(EncodeBmp(24, false, kColours), "good");
    Bytes badIndex = EncodeBmp(8, false, kColours, "r#bg.");
    badIndex[54 + 5 * 4] = 9;  // first pixel of the bottom row: index 9 of a 5-colour palette
    const std::string pastPalette = Write(badIndex, "past_palette");
    EXPECT_EQ(Load(pastPalette, 0, 0), nullptr);
    EXPECT_EQ(Load(testing::TempDir() + "qorin_gdi_no_such_file.bmp", 0, 0), nullptr);
    EXPECT_EQ(Load(testing::TempDir(), 0, 0), nullptr) << "a folder";
    EXPECT_EQ(LoadImageW(nullptr, Wide(good).c_str(), 1, 0, 0, LR_LOADFROMFILE), nullptr) << "not IMAGE_BITMAP";
    EXPECT_EQ(LoadImageW(nullptr, Wide(good).c_str(), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR), nullptr);
    EXPECT_EQ(LoadImageW(nullptr, nullptr, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(Load(good, -4, 3), nullptr);
    EXPECT_EQ(Load(good, 1 << 16, 1), nullptr);
    ExpectPicture(Load(good, 0, 0), kColours);  // the good file itself loads
}

// Every header byte set to a few telling values: the loader returns null or a picture of the
// requested size, and never reads outside the file (the address sanitizer build checks that).
TEST(BmpLoader, SurvivesEveryHeaderByteDamaged) {
    const Bytes files[] = {EncodeBmp(24, false, kColours), EncodeBmp(8, true, kColours, "r#bg."),
                           EncodeBmp(1, false, kTwoColours, "r.")};
    int loaded = 0;
    for (const Bytes& original : files) {
        const size_t headerEnd = std::min<size_t>(original.size(), 80);
        for (size_t at = 0; at < headerEnd; ++at)
            for (unsigned char value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
                Bytes bytes = original;
                bytes[at] = value;
                HANDLE handle = Load(Write(bytes, "sweep"), 4, 4);
                if (!handle) continue;
                ++loaded;
                const auto* bitmap = qp::LookupAs<qp::Bitmap>(handle, qp::Kind::Bitmap);
                ASSERT_NE(bitmap, nullptr);
                EXPECT_EQ(bitmap->width, 4);
                EXPECT_EQ(bitmap->height, 4);
                EXPECT_TRUE(DeleteObject(handle));
            }
    }
    EXPECT_GT(loaded, 0) << "harmless bytes (sizes, resolution, reserved) must not break a file";
}

}  // namespace
