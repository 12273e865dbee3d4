// The drawing objects behind our GDI handles. A handle is the object's own address;
// every live object is in a registry, so a stale or foreign handle is recognised and refused.
// Pixels are 32-bit 0x00RRGGBB (the memory order of a Windows DIB and of SDL's XRGB8888),
// while COLORREF keeps red in the low byte: convert with ToPixel / ToColorRef.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qp {

// Storage for the objects that programs create and delete by the thousand in every frame (pens,
// brushes, fonts): a freed block goes onto a list and the next object of the same type takes
// it, so a steady stream of create and delete never reaches the heap. One thread draws.
template <class T> struct Recycled {
    static void* operator new(std::size_t size) {
        if (size == sizeof(T) && free_) {
            FreeBlock* block = free_;
            free_ = block->next;
            return block;
        }
        return ::operator new(size);
    }
    static void operator delete(void* memory, std::size_t size) {
        if (!memory) return;
        if (size != sizeof(T)) return ::operator delete(memory);
        auto* block = static_cast<FreeBlock*>(memory);
        block->next = free_;
        free_ = block;
    }

private:
    struct FreeBlock {
        FreeBlock* next;
    };
    static inline FreeBlock* free_ = nullptr;
};

enum class Kind : uint8_t { Pen = OBJ_PEN, Brush = OBJ_BRUSH, Dc = OBJ_DC, Font = OBJ_FONT, Bitmap = OBJ_BITMAP, MemDc = OBJ_MEMDC };

struct GdiObject {
    explicit GdiObject(Kind k) : kind(k) {}
    virtual ~GdiObject() = default;
    Kind kind;
    bool stock = false;   // stock objects are never deleted and never counted
    int selections = 0;   // how many device contexts hold it; a selected object cannot be deleted
};

struct Pen : GdiObject, Recycled<Pen> {
    Pen() : GdiObject(Kind::Pen) {}
    int style = PS_SOLID;  // PS_SOLID or PS_NULL
    int width = 1;         // 0 draws as 1
    COLORREF color = 0;
};

struct Brush : GdiObject, Recycled<Brush> {
    Brush() : GdiObject(Kind::Brush) {}
    bool hollow = false;  // NULL_BRUSH
    COLORREF color = 0;
};

struct FontData;  // rasterizer state, private to the text code

struct Font : GdiObject, Recycled<Font> {
    Font();  // defined with FontData: an inline constructor would need its destructor here
    ~Font() override;
    int height = 0;       // cell height in pixels (ascent + descent)
    int width = 0;        // average character width in pixels; 0: the face's natural width
    wchar_t face[32] = {};  // as given, cut to 31 characters; kept inline so a font allocates nothing
    std::unique_ptr<FontData> data;  // created on first use
};

// Storage for pixels: buffers of a screen's size are aligned to 2 MiB and offered to the kernel
// for huge pages, so that copying scattered tiles does not miss the address cache on every row.
void* AllocatePixels(std::size_t bytes);
void FreePixels(void* memory, std::size_t bytes);

template <class T> struct PixelAllocator {
    using value_type = T;
    PixelAllocator() = default;
    template <class U> PixelAllocator(const PixelAllocator<U>&) {}
    T* allocate(std::size_t n) { return static_cast<T*>(AllocatePixels(n * sizeof(T))); }
    void deallocate(T* memory, std::size_t n) { FreePixels(memory, n * sizeof(T)); }
    template <class U> bool operator==(const PixelAllocator<U>&) const { return true; }
};

using PixelVector = std::vector<uint32_t, PixelAllocator<uint32_t>>;

struct Bitmap : GdiObject {
    Bitmap() : GdiObject(Kind::Bitmap) {}
    int width = 0, height = 0;
    bool mono = false;              // only the 1x1 placeholder is monochrome
    PixelVector pixels;             // width * height, rows top to bottom
    uint64_t version = 0;           // bumped by every operation that writes pixels
    // Damage tracking (see damage.h): per tile of 16 x 8 pixels, the stamp of its last write and
    // its one colour while it is known to be solid. Empty tables track nothing: every tile counts
    // as changed. `serial` names these pixels' lifetime; copiedFrom/copiedAt tell which bitmap
    // they were last copied from whole, and when.
    int tilesAcross = 0, tilesDown = 0;
    std::vector<uint64_t> tileStamps;
    std::vector<uint32_t> tileColors;
    uint64_t serial = 0, copiedFrom = 0, copiedAt = 0;
    uint32_t* Row(int y) { return pixels.data() + static_cast<size_t>(y) * width; }
    const uint32_t* Row(int y) const { return pixels.data() + static_cast<size_t>(y) * width; }
};

struct DeviceContext : GdiObject {
    explicit DeviceContext(Kind k) : GdiObject(k) {}
    Bitmap* bitmap = nullptr;  // never null: memory DCs start with the 1x1 placeholder
    Pen* pen = nullptr;
    Brush* brush = nullptr;
    Font* font = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    POINT position{0, 0};
    HWND window = nullptr;  // set on a window's DC
};

inline uint32_t ToPixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
inline COLORREF ToColorRef(uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

// Registry. Lookup gives the live object behind a handle, or null when the handle is
// null, stale, or of another kind.
GdiObject* Lookup(const void* handle);
template <class T> T* LookupAs(const void* handle, Kind kind) {
    GdiObject* o = Lookup(handle);
    return o && o->kind == kind ? static_cast<T*>(o) : nullptr;
}
DeviceContext* LookupDc(HDC dc);  // memory or window DC

// Takes ownership and registers; the address is the handle.
template <class T> T* Register(std::unique_ptr<T> object);
void RegisterObject(GdiObject* object);
// Unregisters and frees. Refuses (returns false) for stock objects and selected objects.
bool Release(GdiObject* object);

// Live drawing objects made by the program: pens, brushes, fonts, bitmaps and memory DCs,
// stock objects excluded. Tests show it stays constant from frame to frame.
size_t LiveObjectCount();

Bitmap* NewBitmap(int width, int height, uint32_t fill = 0);
// A device context bound to a window's pixels (GetDC, BeginPaint); not counted as an object.
DeviceContext* NewWindowDc(HWND window, Bitmap* pixels);

// Writes a bitmap as a 24-bit bottom-up BMP file (used by the picture generator). False on I/O error.
bool WriteBmp(const Bitmap& bitmap, const std::string& path);
// Writes a bitmap as PNG (frame capture). False on I/O error.
bool WritePng(const Bitmap& bitmap, const std::string& path);

// Folder of the TrueType files (Liberation Sans); QORIN_FONT_DIR overrides it.
std::string FontDirectory();

template <class T> T* Register(std::unique_ptr<T> object) {
    T* raw = object.release();
    RegisterObject(raw);
    return raw;
}

}  // namespace qp
