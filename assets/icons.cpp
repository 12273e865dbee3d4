// The program icons: a standing wave on a blue tile, drawn at 48, 32 and 16 px with our GDI
// and written as .ico files of eight images: 32 and 16 px in 16 colours, then 48, 32 and 16 px
// in 256 colours and in 32 bpp with alpha. Every image carries its AND mask.
#include "draw.h"

#include "gdi/objects.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <vector>

namespace pictures {

namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);  // transparent; nothing in the picture uses it
constexpr uint32_t kKeyPixel = 0xFF00FF;

void DrawIconPicture(Canvas& c, bool small) {
    const int s = c.Width();
    const int m = s / 16;  // transparent margin
    Box(c, m, m, s - m, s - m, RGB(20, 60, 160));
    // Round the tile's corners: one pixel off each corner, three on the larger sizes.
    for (int cx : {m, s - m - 1}) {
        for (int cy : {m, s - m - 1}) {
            Box(c, cx, cy, cx + 1, cy + 1, kKey);
            if (s < 32) continue;
            const int inX = cx == m ? 1 : -1, inY = cy == m ? 1 : -1;
            Box(c, cx + inX, cy, cx + inX + 1, cy + 1, kKey);
            Box(c, cx, cy + inY, cx + 1, cy + inY + 1, kKey);
        }
    }
    // One wavelength of the two extreme shapes: nodes at both ends and in the middle.
    const int x0 = m + s / 8, x1 = s - m - s / 8 - 1;
    const double amp = s * 0.22;
    int width = s >= 48 ? 3 : s >= 32 ? 2 : 1;
    if (small && s >= 32) width = 3;
    constexpr double kPi = 3.14159265358979323846;
    Wave(c, x0, x1, s / 2, amp, x1 - x0, 0, width, RGB(255, 255, 255));
    Wave(c, x0, x1, s / 2, amp, x1 - x0, kPi, width, RGB(255, 220, 0));
    const int nodeRadius = small ? 0 : s / 16;
    if (nodeRadius > 0) {
        for (int x : {x0, (x0 + x1) / 2, x1}) Disc(c, x, s / 2, nodeRadius, RGB(230, 40, 30));
    }
}

struct Rgb {
    int r, g, b;
};

std::vector<Rgb> Palette16() {
    return {{0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
            {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
            {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
}

// The 16 colours, a 6 x 6 x 6 cube and 24 greys.
std::vector<Rgb> Palette256() {
    std::vector<Rgb> palette = Palette16();
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) palette.push_back({r * 51, g * 51, b * 51});
    for (int i = 0; i < 24; ++i) palette.push_back({8 + 10 * i, 8 + 10 * i, 8 + 10 * i});
    return palette;
}

int Nearest(const std::vector<Rgb>& palette, uint32_t pixel) {
    const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    int best = 0, bestDistance = 1 << 30;
    for (size_t i = 0; i < palette.size(); ++i) {
        const int dr = palette[i].r - r, dg = palette[i].g - g, db = palette[i].b - b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) best = static_cast<int>(i), bestDistance = distance;
    }
    return best;
}

void Put16(std::vector<uint8_t>& out, unsigned v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

int RowBytes(int width, int bitCount) { return (width * bitCount + 31) / 32 * 4; }

// One image as stored in an .ico: header with doubled height, palette, colour rows and AND
// mask rows, both bottom-up.
std::vector<uint8_t> IconImage(const qp::PixelVector& pixels, int size, int bitCount) {
    const std::vector<Rgb> palette = bitCount == 4 ? Palette16() : bitCount == 8 ? Palette256() : std::vector<Rgb>{};
    const int colourRow = RowBytes(size, bitCount), maskRow = RowBytes(size, 1);
    std::vector<uint8_t> out;
    Put32(out, 40);
    Put32(out, size);
    Put32(out, size * 2);
    Put16(out, 1);
    Put16(out, bitCount);
    Put32(out, 0);
    Put32(out, (colourRow + maskRow) * size);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>(palette.size()));
    Put32(out, 0);
    for (const Rgb& p : palette) {
        out.push_back(p.b);
        out.push_back(p.g);
        out.push_back(p.r);
        out.push_back(0);
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(colourRow, 0);
        for (int x = 0; x < size; ++x) {
            const uint32_t pixel = pixels[y * size + x];
            // Transparent pixels are black in the colour image, so the screen shows through the mask.
            const bool clear = pixel == kKeyPixel;
            if (bitCount == 32) {
                const uint32_t argb = clear ? 0 : 0xFF000000 | pixel;
                for (int k = 0; k < 4; ++k) row[x * 4 + k] = (argb >> (8 * k)) & 0xFF;
            } else {
                const int index = clear ? 0 : Nearest(palette, pixel);
                if (bitCount == 8) row[x] = static_cast<uint8_t>(index);
                else row[x / 2] |= static_cast<uint8_t>(x % 2 ? index : index << 4);
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskRow, 0);
        for (int x = 0; x < size; ++x)
            if (pixels[y * size + x] == kKeyPixel) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

bool WriteIcon(const std::string& path, bool small) {
    struct Entry {
        int size, bitCount;
    };
    constexpr std::array<Entry, 8> entries{{{32, 4}, {16, 4}, {48, 8}, {32, 8}, {16, 8}, {48, 32}, {32, 32}, {16, 32}}};
    std::vector<std::vector<uint8_t>> images;
    for (const Entry& e : entries) {
        Canvas canvas(e.size, e.size, kKey);
        DrawIconPicture(canvas, small);
        const qp::DeviceContext* dc = qp::LookupDc(canvas.Dc());
        if (!dc || !dc->bitmap) return false;
        images.push_back(IconImage(dc->bitmap->pixels, e.size, e.bitCount));
    }
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);  // type: icon
    Put16(out, static_cast<unsigned>(entries.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        out.push_back(static_cast<uint8_t>(entries[i].size));
        out.push_back(static_cast<uint8_t>(entries[i].size));
        out.push_back(entries[i].bitCount == 4 ? 16 : 0);  // colour count, 0 for 256 and more
        out.push_back(0);
        Put16(out, 1);
        Put16(out, entries[i].bitCount);
        Put32(out, static_cast<uint32_t>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file.flush());
}

}  // namespace pictures
