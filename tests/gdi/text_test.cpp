// Text: the opaque box (and the measured extent) is the sum of whole-pixel advances wide and one
// cell high, glyphs blend from the background toward the text colour, and Cyrillic has real
// glyphs. Expected widths come from Arial's advance widths (font units of a 2048 em), which
// Liberation Sans shares.
#include "canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <map>

namespace {

const std::map<wchar_t, int> kArialAdvance = {
    {L' ', 569}, {L'a', 1139}, {L'e', 1139}, {L'g', 1139}, {L'h', 1139},
    {L'l', 455}, {L'n', 1139}, {L't', 569},  {L'v', 1024}, {L'w', 1479},
};

// Each advance rounded to whole pixels on its own: round(units * numerator / denominator).
int BoxWidth(const std::wstring& text, int numerator, int denominator) {
    int width = 0;
    for (wchar_t c : text) width += (2 * kArialAdvance.at(c) * numerator + denominator) / (2 * denominator);
    return width;
}

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

// The bounding box of every pixel that is no longer the green the canvas was painted with.
Box Touched(const Canvas& canvas) {
    Box box;
    for (int y = 0; y < canvas.bitmap->height; ++y)
        for (int x = 0; x < canvas.bitmap->width; ++x)
            if (canvas.bitmap->Row(y)[x] != 0x00FF00) {
                box.left = std::min(box.left, x), box.right = std::max(box.right, x);
                box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y);
            }
    return box;
}

struct TextCase {
    const char* name;
    int height, width;  // as given to CreateFontW; height 0 with width -1 means the stock system font
    std::wstring text;
    int count;
    int boxWidth, boxHeight;
};

// 17 x 8 is the caption font: em 8 * 2048 / 904 across, so an advance is units * 8 / 904.
const TextCase kCases[] = {
    {"CaptionFont", 17, 8, L" wavelength ", 12, BoxWidth(L" wavelength ", 8, 904), 17},
    {"CountLimitsTheText", 17, 8, L"awl", 2, BoxWidth(L"aw", 8, 904), 17},
    // Width 0: natural proportions, em = 17 * 2048 / 2288 both ways.
    {"NaturalWidth", 17, 0, L"aaaa", 4, BoxWidth(L"aaaa", 17, 2288), 17},
    // A negative height is the em: the cell is round(16 * 2288 / 2048) = 18.
    {"NegativeHeightIsTheEm", -16, 0, L"aaaa", 4, BoxWidth(L"aaaa", 16, 2048), 18},
    {"ZeroHeightMeansSixteen", 0, 0, L"ll", 2, BoxWidth(L"ll", 16, 2288), 16},
    {"StockSystemFont", 0, -1, L"ll", 2, BoxWidth(L"ll", 16, 2288), 16},
};

class TextBoxes : public testing::TestWithParam<TextCase> {};

TEST_P(TextBoxes, BoxIsTheAdvancesByTheCell) {
    const TextCase& c = GetParam();
    Canvas canvas(160, 40);
    canvas.Replace(GetStockObject(NULL_PEN));
    canvas.Brush(kGreen);
    Rectangle(canvas.dc, 0, 0, 161, 41);
    if (c.width >= 0)
        canvas.Replace(CreateFontW(c.height, c.width, 0, 0, FW_DONTCARE, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 1, L"Arial"));
    SetTextColor(canvas.dc, kRed);
    ASSERT_TRUE(TextOutW(canvas.dc, 7, 5, c.text.c_str(), c.count));
    // The measured extent is the box that was filled.
    SIZE extent{};
    ASSERT_TRUE(GetTextExtentPoint32W(canvas.dc, c.text.c_str(), c.count, &extent));
    EXPECT_EQ(extent.cx, c.boxWidth);
    EXPECT_EQ(extent.cy, c.boxHeight);

    const Box box = Touched(canvas);
    EXPECT_EQ(box.left, 7);
    EXPECT_EQ(box.top, 5);
    EXPECT_EQ(box.right - box.left + 1, c.boxWidth);
    EXPECT_EQ(box.bottom - box.top + 1, c.boxHeight);
    // Inside the box: white, red, or a blend of the two (red stays full, green equals blue).
    int fullInk = 0;
    for (int y = box.top; y <= box.bottom; ++y)
        for (int x = box.left; x <= box.right; ++x) {
            const uint32_t p = canvas.bitmap->Row(y)[x];
            const uint32_t r = p >> 16, g = p >> 8 & 0xFF, b = p & 0xFF;
            ASSERT_TRUE(r == 255 && g == b) << "pixel " << x << "," << y << " is " << std::hex << p;
            fullInk += p == 0xFF0000;
        }
    EXPECT_GT(fullInk, 0) << "no glyph pixel reached the text colour";
}

INSTANTIATE_TEST_SUITE_P(Table, TextBoxes, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

std::vector<std::string> Draw(const wchar_t* text, int mode) {
    Canvas canvas(40, 24);
    canvas.Replace(CreateFontW(17, 8, 0, 0, FW_DONTCARE, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 1, L"Arial"));
    SetBkMode(canvas.dc, mode);
    SetTextColor(canvas.dc, kBlack);
    TextOutW(canvas.dc, 2, 2, text, static_cast<int>(std::wcslen(text)));
    return canvas.Picture();
}

TEST(Text, CyrillicHasItsOwnGlyphs) {
    // A letter the font lacks draws the "missing" box; Cyrillic letters must not.
    const auto missing = Draw(L"\xE000", OPAQUE);
    const auto ef = Draw(L"\x0424", OPAQUE), zhe = Draw(L"\x0416", OPAQUE);
    EXPECT_NE(ef, missing) << Join(ef);
    EXPECT_NE(zhe, missing) << Join(zhe);
    EXPECT_NE(ef, zhe);
    EXPECT_NE(ef, Draw(L" ", OPAQUE)) << "nothing drawn";
}

TEST(Text, TransparentModeLeavesTheBackground) {
    const auto opaque = Draw(L"l", OPAQUE), transparent = Draw(L"l", TRANSPARENT);
    EXPECT_EQ(opaque, transparent) << "on white both look alike";
    Canvas canvas(20, 20);
    canvas.Replace(GetStockObject(NULL_PEN));
    canvas.Brush(kGreen);
    Rectangle(canvas.dc, 0, 0, 21, 21);
    SetBkMode(canvas.dc, TRANSPARENT);
    TextOutW(canvas.dc, 2, 2, L"l", 1);
    // Every pixel is the green below, black ink, or a blend of the two: no white box.
    int inked = 0;
    for (uint32_t p : canvas.bitmap->pixels) {
        EXPECT_EQ(p & 0xFF00FF, 0u) << std::hex << p;
        inked += p == 0;
    }
    EXPECT_GT(inked, 0);
}

TEST(Text, MissingFontDrawsTheBoxOnly) {
    const char* saved = std::getenv("QORIN_FONT_DIR");
    const std::string restore = saved ? saved : "";
    setenv("QORIN_FONT_DIR", "/nonexistent/qorin-fonts", 1);
    Canvas canvas(60, 24);
    canvas.Replace(GetStockObject(NULL_PEN));
    canvas.Brush(kGreen);
    Rectangle(canvas.dc, 0, 0, 61, 25);
    testing::internal::CaptureStderr();
    canvas.Replace(CreateFontW(17, 8, 0, 0, FW_DONTCARE, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 1, L"Arial"));
    EXPECT_TRUE(TextOutW(canvas.dc, 3, 2, L"abc", 3));
    canvas.Replace(CreateFontW(17, 8, 0, 0, FW_DONTCARE, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 1, L"Arial"));
    EXPECT_TRUE(TextOutW(canvas.dc, 3, 2, L"abc", 3));
    const std::string warning = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(warning.begin(), warning.end(), '\n'), 1) << "one line, once: " << warning;
    if (saved) setenv("QORIN_FONT_DIR", restore.c_str(), 1); else unsetenv("QORIN_FONT_DIR");
    // Three average widths (8 px each), one cell high, all white.
    const Box box = Touched(canvas);
    EXPECT_EQ(box.left, 3);
    EXPECT_EQ(box.right, 3 + 24 - 1);
    EXPECT_EQ(box.top, 2);
    EXPECT_EQ(box.bottom, 2 + 17 - 1);
    for (int y = box.top; y <= box.bottom; ++y)
        for (int x = box.left; x <= box.right; ++x) EXPECT_EQ(canvas.bitmap->Row(y)[x], 0xFFFFFFu);
}

}  // namespace
