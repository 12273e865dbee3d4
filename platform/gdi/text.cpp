// Fonts and TextOutW. Every face name is drawn with Liberation Sans (Bold for weights of 600
// and more), scaled so that a positive height is the cell (ascent + descent) and a width is
// the average character width; glyphs are antialiased by stb_truetype and cached per face and
// size, so the fonts the programs create anew in every frame reuse the glyphs of the last one.
#include "raster.h"

#include <algorithm>
#include <cwchar>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <tuple>
#include <unordered_map>

#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>

namespace qp {
namespace {

// One font file, read once and shared by every font that uses it.
struct FaceFile {
    std::vector<unsigned char> bytes;
    stbtt_fontinfo info{};
    bool ok = false;
    // Metrics in font units. The fallbacks are the Arial / Liberation Sans values, used to size
    // the text box when the file cannot be read.
    int unitsPerEm = 2048, winAscent = 1854, winDescent = 434, averageWidth = 904;
};

uint16_t ReadU16(const std::vector<unsigned char>& bytes, size_t at) {
    return at + 2 <= bytes.size() ? static_cast<uint16_t>(bytes[at] << 8 | bytes[at + 1]) : 0;
}

uint32_t ReadU32(const std::vector<unsigned char>& bytes, size_t at) {
    return static_cast<uint32_t>(ReadU16(bytes, at)) << 16 | ReadU16(bytes, at + 2);
}

// Offset of a table in the font's table directory, or 0.
size_t FindTable(const std::vector<unsigned char>& bytes, const char* tag) {
    const unsigned tables = ReadU16(bytes, 4);
    for (unsigned i = 0; i < tables; ++i) {
        const size_t record = 12 + 16 * static_cast<size_t>(i);
        if (record + 16 > bytes.size()) break;
        if (std::equal(tag, tag + 4, bytes.begin() + static_cast<std::ptrdiff_t>(record))) return ReadU32(bytes, record + 8);
    }
    return 0;
}

void ReadMetrics(FaceFile& face) {
    face.unitsPerEm = face.info.head ? ReadU16(face.bytes, static_cast<size_t>(face.info.head) + 18) : 2048;
    // OS/2: version at 0, xAvgCharWidth at 2, usWinAscent at 74, usWinDescent at 76.
    const size_t os2 = FindTable(face.bytes, "OS/2");
    if (os2 && os2 + 78 <= face.bytes.size()) {
        face.winAscent = ReadU16(face.bytes, os2 + 74);
        face.winDescent = ReadU16(face.bytes, os2 + 76);
        if (ReadU16(face.bytes, os2) <= 2) face.averageWidth = ReadU16(face.bytes, os2 + 2);
    } else {
        int ascent = 0, descent = 0, gap = 0;
        stbtt_GetFontVMetrics(&face.info, &ascent, &descent, &gap);
        face.winAscent = ascent;
        face.winDescent = -descent;
    }
    // From OS/2 version 3 on, xAvgCharWidth averages every glyph of the font, which for a font
    // with Cyrillic, Greek and symbols says little about text. The average character width that
    // font sizes refer to is the older one: lowercase letters and space weighted by their
    // frequency in English, per thousand (904 units for Arial and Liberation Sans alike).
    if (os2 == 0 || ReadU16(face.bytes, os2) > 2) {
        static const int weights[27] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20, 56,
                                        56, 17, 4,  49, 56,  71, 31, 10, 18, 3, 18, 2, 166};
        int64_t sum = 0;
        for (int i = 0; i < 27; ++i) {
            int advance = 0, bearing = 0;
            stbtt_GetCodepointHMetrics(&face.info, i < 26 ? 'a' + i : ' ', &advance, &bearing);
            sum += int64_t{advance} * weights[i];
        }
        face.averageWidth = static_cast<int>(sum / 1000);
    }
    if (face.unitsPerEm <= 0) face.unitsPerEm = 2048;
    if (face.averageWidth <= 0) face.averageWidth = face.unitsPerEm * 904 / 2048;
    if (face.winAscent + face.winDescent <= 0) face.winAscent = 1854, face.winDescent = 434;
}

constexpr const char* kDefaultFontDirectory = "/usr/share/fonts/truetype/liberation2";

const FaceFile& LoadFace(bool bold) {
    static std::map<std::string, std::unique_ptr<FaceFile>> cache;
    // Fonts are made in every frame: the folder is read each time, but a path is only built
    // when it changed, so that the common case allocates nothing.
    static std::string directory;
    static const FaceFile* current[2] = {};
    const char* custom = std::getenv("QORIN_FONT_DIR");
    const char* now = custom && *custom ? custom : kDefaultFontDirectory;
    if (directory != now) {
        directory = now;
        current[0] = current[1] = nullptr;
    }
    if (current[bold]) return *current[bold];
    const std::string path = directory + (bold ? "/LiberationSans-Bold.ttf" : "/LiberationSans-Regular.ttf");
    auto& slot = cache[path];
    current[bold] = slot.get();
    if (slot) return *slot;
    slot = std::make_unique<FaceFile>();
    current[bold] = slot.get();
    std::ifstream in(path, std::ios::binary);
    if (in) slot->bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const int offset = slot->bytes.empty() ? -1 : stbtt_GetFontOffsetForIndex(slot->bytes.data(), 0);
    slot->ok = offset >= 0 && stbtt_InitFont(&slot->info, slot->bytes.data(), offset) != 0;
    if (slot->ok) ReadMetrics(*slot);
    else std::fprintf(stderr, "qorin: cannot read font %s; text draws as blank boxes\n", path.c_str());
    return *slot;
}

struct Glyph {
    int advance = 0;  // whole pixels
    int left = 0, top = 0, width = 0, height = 0;  // bitmap box relative to pen and baseline
    std::vector<unsigned char> coverage;
};

int64_t RoundedRatio(int64_t num, int64_t den) { return (2 * num + den) / (2 * den); }

using GlyphTable = std::unordered_map<uint32_t, Glyph>;

// One table per face and scale; never freed, since a program uses a handful of sizes.
GlyphTable& SharedGlyphs(const FaceFile* face, int64_t xNum, int64_t xDen, int64_t yNum, int64_t yDen) {
    static std::map<std::tuple<const FaceFile*, int64_t, int64_t, int64_t, int64_t>, GlyphTable> tables;
    return tables[{face, xNum, xDen, yNum, yDen}];
}

}  // namespace

struct FontData : Recycled<FontData> {
    const FaceFile* face = nullptr;
    // Scale from font units to pixels, as exact ratios: scaleX = xNum / xDen, scaleY = yNum / yDen.
    int64_t xNum = 1, xDen = 1, yNum = 1, yDen = 1;
    int cellHeight = 0, ascent = 0;
    GlyphTable* glyphs = nullptr;

    const Glyph& Get(uint32_t codepoint) {
        auto found = glyphs->find(codepoint);
        if (found != glyphs->end()) return found->second;
        Glyph glyph;
        if (!face->ok) {
            glyph.advance = static_cast<int>(RoundedRatio(face->averageWidth * xNum, xDen));
        } else {
            const int index = stbtt_FindGlyphIndex(&face->info, static_cast<int>(codepoint));
            int advance = 0, bearing = 0;
            stbtt_GetGlyphHMetrics(&face->info, index, &advance, &bearing);
            glyph.advance = static_cast<int>(RoundedRatio(int64_t{advance} * xNum, xDen));
            const float scaleX = static_cast<float>(xNum) / static_cast<float>(xDen);
            const float scaleY = static_cast<float>(yNum) / static_cast<float>(yDen);
            unsigned char* pixels = stbtt_GetGlyphBitmap(&face->info, scaleX, scaleY, index, &glyph.width,
                                                         &glyph.height, &glyph.left, &glyph.top);
            if (pixels && glyph.width > 0 && glyph.height > 0)
                glyph.coverage.assign(pixels, pixels + static_cast<size_t>(glyph.width) * glyph.height);
            else
                glyph.width = glyph.height = 0;
            stbtt_FreeBitmap(pixels, nullptr);
        }
        return glyphs->emplace(codepoint, std::move(glyph)).first->second;
    }
};

Font::Font() : GdiObject(Kind::Font) {}
Font::~Font() = default;

std::string FontDirectory() {
    const char* custom = std::getenv("QORIN_FONT_DIR");
    return custom && *custom ? custom : kDefaultFontDirectory;
}

namespace {

// Font heights and widths beyond this are clamped: a glyph bitmap stays within about a megabyte.
constexpr int kMaxFontPixels = 1024;

std::unique_ptr<FontData> MakeFontData(int height, int width, int weight) {
    auto data = std::make_unique<FontData>();
    const FaceFile& face = LoadFace(weight >= 600);
    data->face = &face;
    const int64_t cellUnits = face.winAscent + face.winDescent;
    if (height == 0) height = 16;
    height = std::clamp(height, -kMaxFontPixels, kMaxFontPixels);
    width = std::min(std::abs(width), kMaxFontPixels);
    if (height > 0) {
        data->yNum = height, data->yDen = cellUnits;  // the cell height is the given height
        data->cellHeight = height;
    } else {
        data->yNum = -height, data->yDen = face.unitsPerEm;  // a negative height is the em
        data->cellHeight = static_cast<int>(RoundedRatio(cellUnits * data->yNum, data->yDen));
    }
    if (width > 0) data->xNum = width, data->xDen = face.averageWidth;
    else data->xNum = data->yNum, data->xDen = data->yDen;
    data->ascent = static_cast<int>(RoundedRatio(face.winAscent * data->yNum, data->yDen));
    data->glyphs = &SharedGlyphs(&face, data->xNum, data->xDen, data->yNum, data->yDen);
    return data;
}

FontData& DataOf(Font& font) {
    if (!font.data) font.data = MakeFontData(font.height, font.width, FW_NORMAL);
    return *font.data;
}

// out = below + (text - below) * coverage / 255 per channel, truncated toward zero.
uint32_t Blend(uint32_t below, uint32_t text, int coverage) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int b = static_cast<int>(below >> shift & 0xFF), t = static_cast<int>(text >> shift & 0xFF);
        out |= static_cast<uint32_t>(b + (t - b) * coverage / 255) << shift;
    }
    return out;
}

// Ink is kept inside the text box: an overhanging stroke or a descender deeper than the
// cell would otherwise leave faint pixels outside the opaque background.
struct BoxClip {
    int64_t left, top, right, bottom;  // inclusive
};

void DrawGlyph(Bitmap& bitmap, const Glyph& glyph, int64_t penX, int64_t baseline, uint32_t text, BoxClip box) {
    const int64_t x0 = penX + glyph.left, y0 = baseline + glyph.top;
    box.left = std::max<int64_t>(box.left, 0), box.right = std::min<int64_t>(box.right, bitmap.width - 1);
    box.top = std::max<int64_t>(box.top, 0), box.bottom = std::min<int64_t>(box.bottom, bitmap.height - 1);
    bool wrote = false;
    for (int gy = 0; gy < glyph.height; ++gy) {
        const int64_t y = y0 + gy;
        if (y < box.top || y > box.bottom) continue;
        uint32_t* row = bitmap.Row(static_cast<int>(y));
        const unsigned char* coverage = glyph.coverage.data() + static_cast<size_t>(gy) * glyph.width;
        for (int gx = 0; gx < glyph.width; ++gx) {
            const int64_t x = x0 + gx;
            if (x < box.left || x > box.right || coverage[gx] == 0) continue;
            row[x] = Blend(row[x], text, coverage[gx]);
            wrote = true;
        }
    }
    if (wrote) {
        ++bitmap.version;
        TouchBox(bitmap, std::max(x0, box.left), std::max(y0, box.top), std::min<int64_t>(x0 + glyph.width - 1, box.right),
                 std::min<int64_t>(y0 + glyph.height - 1, box.bottom));
    }
}

// wchar_t holds one code unit; a surrogate pair, should one come, is joined into one character.
// The characters go into one buffer that is reused, so that text drawn in every frame allocates
// nothing once the longest text has been seen.
const std::vector<uint32_t>& Codepoints(const wchar_t* text, int count) {
    static std::vector<uint32_t> out;
    out.clear();
    for (int i = 0; i < count; ++i) {
        uint32_t unit = static_cast<uint32_t>(text[i]);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < count) {
            const uint32_t low = static_cast<uint32_t>(text[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        out.push_back(unit);
    }
    return out;
}

}  // namespace
}  // namespace qp

using namespace qp;

HFONT WINAPI CreateFontW(int height, int width, int, int, int weight, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD,
                         DWORD, DWORD, LPCWSTR faceName) {
    auto font = std::make_unique<Font>();
    font->data = MakeFontData(height, width, weight);
    font->height = font->data->cellHeight;
    font->width = std::min(std::abs(width), kMaxFontPixels);
    if (faceName) std::wcsncpy(font->face, faceName, std::size(font->face) - 1);
    GdiObject* object = Register(std::move(font));
    return reinterpret_cast<HFONT>(object);
}

BOOL WINAPI TextOutW(HDC dc, int x, int y, LPCWSTR text, int count) {
    DeviceContext* context = LookupDc(dc);
    if (!context || count < 0 || (count > 0 && !text)) return FALSE;
    Bitmap* target = DrawTarget(context);
    if (!target || count == 0 || !context->font) return TRUE;
    FontData& font = DataOf(*context->font);
    const std::vector<uint32_t>& characters = Codepoints(text, count);
    int64_t boxWidth = 0;
    for (uint32_t c : characters) boxWidth += font.Get(c).advance;
    const BoxClip box{x, y, int64_t{x} + boxWidth - 1, int64_t{y} + font.cellHeight - 1};
    if (context->bkMode == OPAQUE) FillBox(*target, box.left, box.top, box.right, box.bottom, ToPixel(context->bkColor));
    if (!font.face->ok) return TRUE;
    const uint32_t ink = ToPixel(context->textColor);
    int64_t penX = x;
    const int64_t baseline = int64_t{y} + font.ascent;
    for (uint32_t c : characters) {
        const Glyph& glyph = font.Get(c);
        DrawGlyph(*target, glyph, penX, baseline, ink, box);
        penX += glyph.advance;
    }
    return TRUE;
}

BOOL WINAPI GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, SIZE* size) {
    DeviceContext* context = LookupDc(dc);
    if (!context || !size || count < 0 || (count > 0 && !text)) return FALSE;
    // The box TextOutW fills: the sum of the rounded advances by the cell height.
    int64_t width = 0;
    int height = 0;
    if (context->font) {
        FontData& font = DataOf(*context->font);
        for (uint32_t c : Codepoints(text, count)) width += font.Get(c).advance;
        height = font.cellHeight;
    }
    size->cx = static_cast<LONG>(width);
    size->cy = height;
    return TRUE;
}
