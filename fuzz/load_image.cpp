// libFuzzer target for the picture loader: each input is written to a file and loaded through
// LoadImageW at its own size and at a scaled size, the way the programs load their pictures.
// A picture that loads is also selected into a DC and read back.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// One file per fuzzing process, in memory-backed /dev/shm where it exists.
const std::wstring& InputPath() {
    static const std::wstring path = [] {
        const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        const std::string narrow = std::string(folder) + "/qorin-fuzz-" + std::to_string(getpid()) + ".bmp";
        return std::wstring(narrow.begin(), narrow.end());
    }();
    return path;
}

void LoadAndRead(int width, int height) {
    HANDLE image = LoadImageW(nullptr, InputPath().c_str(), IMAGE_BITMAP, width, height, LR_LOADFROMFILE);
    if (!image) return;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, image);
    // The top-left corner is enough: the pixels are our own copy, not the file's bytes.
    unsigned sum = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) sum += GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(image);
    if (sum == 0xFFFFFFFFu) std::fputc('.', stderr);  // keeps the reads from being optimised away
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(std::string(InputPath().begin(), InputPath().end()).c_str(), "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    LoadAndRead(0, 0);
    LoadAndRead(37, 23);
    return 0;
}
