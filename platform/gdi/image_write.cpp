// Writing bitmaps to files: 24-bit BMP for the picture generator, PNG for frame captures.
#include "objects.h"

#include <cstdio>
#include <vector>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace qp {
namespace {

void PutU16(std::vector<unsigned char>& out, uint32_t v) {
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

void PutU32(std::vector<unsigned char>& out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

}  // namespace

bool WriteBmp(const Bitmap& bitmap, const std::string& path) {
    if (bitmap.width <= 0 || bitmap.height <= 0) return false;
    const uint32_t rowBytes = (static_cast<uint32_t>(bitmap.width) * 3 + 3) / 4 * 4;
    const uint32_t dataBytes = rowBytes * static_cast<uint32_t>(bitmap.height);
    std::vector<unsigned char> out;
    out.reserve(54 + dataBytes);
    out.push_back('B');
    out.push_back('M');
    PutU32(out, 54 + dataBytes);
    PutU32(out, 0);
    PutU32(out, 54);
    PutU32(out, 40);
    PutU32(out, static_cast<uint32_t>(bitmap.width));
    PutU32(out, static_cast<uint32_t>(bitmap.height));  // positive: rows stored bottom-up
    PutU16(out, 1);
    PutU16(out, 24);
    PutU32(out, 0);
    PutU32(out, dataBytes);
    PutU32(out, 2835);  // 72 dpi
    PutU32(out, 2835);
    PutU32(out, 0);
    PutU32(out, 0);
    for (int y = bitmap.height - 1; y >= 0; --y) {
        const uint32_t* row = bitmap.Row(y);
        for (int x = 0; x < bitmap.width; ++x) {
            out.push_back(static_cast<unsigned char>(row[x]));        // blue
            out.push_back(static_cast<unsigned char>(row[x] >> 8));   // green
            out.push_back(static_cast<unsigned char>(row[x] >> 16));  // red
        }
        out.resize(out.size() + (rowBytes - static_cast<uint32_t>(bitmap.width) * 3), 0);
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written;
}

bool WritePng(const Bitmap& bitmap, const std::string& path) {
    if (bitmap.width <= 0 || bitmap.height <= 0) return false;
    std::vector<unsigned char> rgb;
    rgb.reserve(static_cast<size_t>(bitmap.width) * bitmap.height * 3);
    for (uint32_t p : bitmap.pixels) {
        rgb.push_back(static_cast<unsigned char>(p >> 16));
        rgb.push_back(static_cast<unsigned char>(p >> 8));
        rgb.push_back(static_cast<unsigned char>(p));
    }
    return stbi_write_png(path.c_str(), bitmap.width, bitmap.height, 3, rgb.data(), bitmap.width * 3) != 0;
}

}  // namespace qp
