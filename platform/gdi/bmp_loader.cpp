// LoadImageW for bitmap files: the file is read whole (up to 64 MiB), its headers are checked
// before anything is allocated for pixels, stb_image decodes it, and the picture is scaled to
// the requested size by nearest-neighbour sampling at pixel centres.
#include "damage.h"
#include "objects.h"

#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace qp {
namespace {

constexpr size_t kMaxFileBytes = size_t{64} << 20;
constexpr int kMaxSide = 1 << 15;
// Decoding takes 4 bytes a pixel before our own copy: 64 Mpixels at most.
constexpr int64_t kMaxFilePixels = int64_t{1} << 26;

std::string ToUtf8(const wchar_t* name) {
    std::string out;
    for (; *name; ++name) {
        uint32_t c = static_cast<uint32_t>(*name);
        if (c >= 0xD800 && c < 0xDC00 && name[1] >= 0xDC00 && name[1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(name[1]) - 0xDC00);
            ++name;
        }
        if (c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    bytes.clear();
    unsigned char chunk[1 << 16];
    bool ok = true;
    for (;;) {
        const size_t got = std::fread(chunk, 1, sizeof chunk, file);
        if (bytes.size() + got > kMaxFileBytes) { ok = false; break; }
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (got < sizeof chunk) { ok = !std::ferror(file); break; }
    }
    std::fclose(file);
    return ok;
}

uint32_t U16(const std::vector<unsigned char>& b, size_t at) { return b[at] | b[at + 1] << 8; }
uint32_t U32(const std::vector<unsigned char>& b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

// Checks the headers against the file's length and the palette indices against the palette,
// so the decoder only ever sees a file whose pixels are all there. Returns the size.
bool CheckBmp(const std::vector<unsigned char>& b, int& width, int& height) {
    if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') return false;
    const uint64_t dataOffset = U32(b, 10);
    const uint32_t headerSize = U32(b, 14);
    int64_t w, h;
    uint32_t bits, compression = 0;
    if (headerSize == 12) {
        w = U16(b, 18);
        h = U16(b, 20);
        bits = U16(b, 24);
        if (bits < 24) return false;  // this old header only for 24 and 32 bits
    } else if (headerSize == 40 || headerSize == 56 || headerSize == 108 || headerSize == 124) {
        if (b.size() < 14 + uint64_t{headerSize}) return false;
        w = static_cast<int32_t>(U32(b, 18));
        h = static_cast<int32_t>(U32(b, 22));
        bits = U16(b, 28);
        compression = U32(b, 30);
    } else {
        return false;
    }
    if (w <= 0 || h == 0 || w > kMaxSide || h > kMaxSide || h < -kMaxSide) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    if (compression != 0 && !(compression == 3 && (bits == 16 || bits == 32))) return false;
    const int64_t rows = h < 0 ? -h : h;
    if (w * rows > kMaxFilePixels) return false;
    const uint64_t rowBytes = (bits * static_cast<uint64_t>(w) + 31) / 32 * 4;
    const uint64_t headerEnd = 14 + uint64_t{headerSize};
    if (dataOffset < headerEnd || dataOffset + rowBytes * static_cast<uint64_t>(rows) > b.size()) return false;
    if (bits <= 8) {
        // The decoder takes every 4-byte entry between the header and the pixels as the palette;
        // an index past it would pick an undefined colour, so such a file counts as damaged.
        const uint64_t paletteSize = (dataOffset - headerEnd) / 4;
        if (paletteSize == 0 || paletteSize > 256) return false;
        if (paletteSize < (uint64_t{1} << bits)) {
            const unsigned mask = (1u << bits) - 1;
            for (int64_t row = 0; row < rows; ++row) {
                const unsigned char* p = b.data() + dataOffset + rowBytes * static_cast<uint64_t>(row);
                for (int64_t x = 0; x < w; ++x) {
                    const int64_t bit = x * bits;
                    const unsigned index = p[bit / 8] >> (8 - bits - bit % 8) & mask;
                    if (index >= paletteSize) return false;
                }
            }
        }
    }
    width = static_cast<int>(w);
    height = static_cast<int>(rows);
    return true;
}

}  // namespace
}  // namespace qp

using namespace qp;

HANDLE WINAPI LoadImageW(HINSTANCE, LPCWSTR name, UINT type, int width, int height, UINT flags) {
    if (!name || type != IMAGE_BITMAP || !(flags & LR_LOADFROMFILE) || width < 0 || height < 0) return nullptr;
    std::vector<unsigned char> bytes;
    if (!ReadWholeFile(ToUtf8(name), bytes)) return nullptr;
    int fileWidth = 0, fileHeight = 0;
    if (!CheckBmp(bytes, fileWidth, fileHeight)) return nullptr;

    int decodedWidth = 0, decodedHeight = 0, channels = 0;
    unsigned char* rgba = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &decodedWidth,
                                                &decodedHeight, &channels, 4);
    if (!rgba) return nullptr;
    Bitmap* bitmap = nullptr;
    if (decodedWidth == fileWidth && decodedHeight == fileHeight) {
        const int outWidth = width ? width : fileWidth, outHeight = height ? height : fileHeight;
        bitmap = NewBitmap(outWidth, outHeight, 0);
        for (int y = 0; bitmap && y < outHeight; ++y) {
            // Nearest neighbour at pixel centres: source = ((2*d + 1) * sourceSize) / (2 * size).
            const int64_t sy = (2 * int64_t{y} + 1) * fileHeight / (2 * int64_t{outHeight});
            uint32_t* row = bitmap->Row(y);
            for (int x = 0; x < outWidth; ++x) {
                const int64_t sx = (2 * int64_t{x} + 1) * fileWidth / (2 * int64_t{outWidth});
                const unsigned char* p = rgba + (sy * fileWidth + sx) * 4;
                row[x] = static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
            }
        }
    }
    if (bitmap) TouchBox(*bitmap, 0, 0, bitmap->width - 1, bitmap->height - 1);
    stbi_image_free(rgba);
    return bitmap ? static_cast<GdiObject*>(bitmap) : nullptr;
}
