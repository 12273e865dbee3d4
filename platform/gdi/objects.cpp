// The object registry behind GDI handles, the stock objects, and the calls that create,
// select and delete pens, brushes, bitmaps and device contexts. A handle is the object's
// address; only addresses found in the registry are ever dereferenced.
#include "objects.h"
#include "raster.h"

#include <algorithm>
#include <new>
#include <cstdint>
#include <cwchar>
#include <iterator>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace qp {
namespace {

// The live objects by address: open addressing with linear probing in a table at most half
// full. Programs create and delete a pen or brush for nearly every line they draw, so lookups,
// inserts and erases are the hot path; an erase pulls the later entries of its probe run back,
// so no deleted markers pile up.
class LiveSet {
public:
    GdiObject* Find(const void* key) const {
        if (count_ == 0) return nullptr;
        for (size_t i = Home(key);; i = (i + 1) & mask_) {
            if (!slots_[i]) return nullptr;
            if (slots_[i] == key) return slots_[i];
        }
    }

    void Insert(GdiObject* object) {
        if (2 * (count_ + 1) > slots_.size()) Grow();
        size_t i = Home(object);
        for (; slots_[i]; i = (i + 1) & mask_)
            if (slots_[i] == object) return;
        slots_[i] = object;
        ++count_;
    }

    bool Erase(const void* key) {
        if (count_ == 0) return false;
        size_t hole = Home(key);
        for (; slots_[hole] != key; hole = (hole + 1) & mask_)
            if (!slots_[hole]) return false;
        slots_[hole] = nullptr;
        --count_;
        // An entry further along the run moves into the hole unless its home lies cyclically in
        // (hole, j]: then a probe from its home still reaches it without crossing the hole.
        for (size_t j = (hole + 1) & mask_; slots_[j]; j = (j + 1) & mask_) {
            const size_t home = Home(slots_[j]);
            const bool reachable = hole < j ? (hole < home && home <= j) : (hole < home || home <= j);
            if (reachable) continue;
            slots_[hole] = slots_[j];
            slots_[j] = nullptr;
            hole = j;
        }
        return true;
    }

    template <class Predicate> size_t CountIf(Predicate predicate) const {
        return static_cast<size_t>(std::count_if(slots_.begin(), slots_.end(),
                                                 [&](const GdiObject* o) { return o && predicate(*o); }));
    }

private:
    size_t Home(const void* key) const {
        // Fibonacci hashing: the multiply spreads the aligned addresses over the high bits.
        return static_cast<size_t>((reinterpret_cast<uintptr_t>(key) * 0x9E3779B97F4A7C15ull) >> 32) & mask_;
    }

    void Grow() {
        std::vector<GdiObject*> old(slots_.size() * 2, nullptr);
        old.swap(slots_);
        mask_ = slots_.size() - 1;
        count_ = 0;
        for (GdiObject* o : old)
            if (o) Insert(o);
    }

    std::vector<GdiObject*> slots_ = std::vector<GdiObject*>(64, nullptr);
    size_t mask_ = 63;
    size_t count_ = 0;
};

struct Registry {
    LiveSet live;
};

// Never destroyed: other layers may still release objects while static destructors run. A plain
// pointer, zero before any constructor runs, rather than a function's static: every call of
// every drawing function passes through here.
Registry* registry = nullptr;
bool stocksMade = false;

// The object and the device context looked up last (a handle is its object's address): a frame
// draws into the same surface call after call, with a new pen between the calls. Release forgets
// them before the object is freed.
GdiObject* lastFound = nullptr;
DeviceContext* lastDc = nullptr;

Registry& Objects() {
    if (!registry) registry = new Registry;
    return *registry;
}

struct Stock {
    Brush* brushes[NULL_BRUSH + 1] = {};
    Pen* pens[NULL_PEN + 1] = {};
    Font* systemFont = nullptr;
    Font* guiFont = nullptr;
    Bitmap* placeholder = nullptr;
};

template <class T> T* MakeStock(std::unique_ptr<T> object) {
    object->stock = true;
    return Register(std::move(object));
}

Brush* StockBrush(COLORREF color, bool hollow) {
    auto brush = std::make_unique<Brush>();
    brush->color = color;
    brush->hollow = hollow;
    return MakeStock(std::move(brush));
}

Pen* StockPen(COLORREF color, int style) {
    auto pen = std::make_unique<Pen>();
    pen->color = color;
    pen->style = style;
    return MakeStock(std::move(pen));
}

Font* StockFont(int cellHeight) {
    auto font = std::make_unique<Font>();
    font->height = cellHeight;
    std::wcsncpy(font->face, L"Liberation Sans", std::size(font->face) - 1);
    return MakeStock(std::move(font));
}

const Stock& Stocks() {
    static const Stock stock = [] {
        Stock s;
        s.brushes[WHITE_BRUSH] = StockBrush(RGB(255, 255, 255), false);
        s.brushes[LTGRAY_BRUSH] = StockBrush(RGB(192, 192, 192), false);
        s.brushes[GRAY_BRUSH] = StockBrush(RGB(128, 128, 128), false);
        s.brushes[BLACK_BRUSH] = StockBrush(RGB(0, 0, 0), false);
        s.brushes[NULL_BRUSH] = StockBrush(RGB(0, 0, 0), true);
        s.pens[WHITE_PEN] = StockPen(RGB(255, 255, 255), PS_SOLID);
        s.pens[BLACK_PEN] = StockPen(RGB(0, 0, 0), PS_SOLID);
        s.pens[NULL_PEN] = StockPen(RGB(0, 0, 0), PS_NULL);
        s.systemFont = StockFont(16);
        s.guiFont = StockFont(13);
        auto placeholder = std::make_unique<Bitmap>();
        placeholder->width = 1;
        placeholder->height = 1;
        placeholder->mono = true;
        placeholder->pixels.assign(1, 0xFFFFFF);
        s.placeholder = MakeStock(std::move(placeholder));
        stocksMade = true;
        return s;
    }();
    return stock;
}

template <class T> void Hold(T*& slot, T* object) {
    if (slot) --slot->selections;
    slot = object;
    if (slot) ++slot->selections;
}

DeviceContext* NewDc(Kind kind, Bitmap* bitmap) {
    const Stock& stock = Stocks();
    auto dc = std::make_unique<DeviceContext>(kind);
    Hold(dc->bitmap, bitmap ? bitmap : stock.placeholder);
    Hold(dc->pen, stock.pens[BLACK_PEN]);
    Hold(dc->brush, stock.brushes[WHITE_BRUSH]);
    Hold(dc->font, stock.systemFont);
    return Register(std::move(dc));
}

void DropSelections(DeviceContext& dc) {
    Hold(dc.bitmap, static_cast<Bitmap*>(nullptr));
    Hold(dc.pen, static_cast<Pen*>(nullptr));
    Hold(dc.brush, static_cast<Brush*>(nullptr));
    Hold(dc.font, static_cast<Font*>(nullptr));
}

HGDIOBJ Handle(GdiObject* object) { return object; }

}  // namespace

GdiObject* Lookup(const void* handle) {
    if (!handle) return nullptr;
    if (handle == lastFound) return lastFound;
    if (!stocksMade) Stocks();  // the stock objects are live from the first look on
    GdiObject* found = Objects().live.Find(handle);
    if (found) lastFound = found;
    return found;
}

DeviceContext* LookupDc(HDC dc) {
    if (dc && static_cast<const void*>(dc) == lastDc) return lastDc;
    GdiObject* object = Lookup(dc);
    if (!object || (object->kind != Kind::Dc && object->kind != Kind::MemDc)) return nullptr;
    lastDc = static_cast<DeviceContext*>(object);
    return lastDc;
}

void RegisterObject(GdiObject* object) { Objects().live.Insert(object); }

bool Release(GdiObject* object) {
    if (!object || object->stock || object->selections > 0) return false;
    if (!Objects().live.Erase(object)) return false;
    if (object == lastFound) lastFound = nullptr;
    if (object == lastDc) lastDc = nullptr;
    if (object->kind == Kind::Dc || object->kind == Kind::MemDc) DropSelections(*static_cast<DeviceContext*>(object));
    delete object;
    return true;
}

size_t LiveObjectCount() {
    Stocks();
    return Objects().live.CountIf([](const GdiObject& o) { return !o.stock && o.kind != Kind::Dc; });
}

#if defined(__linux__) && !defined(__EMSCRIPTEN__) && defined(MADV_HUGEPAGE)
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

}  // namespace

void* AllocatePixels(std::size_t bytes) {
    if (bytes < 2 * kHugePage) return ::operator new(bytes);
    void* memory = ::operator new(bytes, std::align_val_t{kHugePage});
    // A hint, given before the first write so the pages are huge from the start; refused is fine.
    madvise(memory, (bytes + kHugePage - 1) / kHugePage * kHugePage, MADV_HUGEPAGE);
    return memory;
}

void FreePixels(void* memory, std::size_t bytes) {
    if (bytes < 2 * kHugePage) ::operator delete(memory);
    else ::operator delete(memory, std::align_val_t{kHugePage});
}
#else
void* AllocatePixels(std::size_t bytes) { return ::operator new(bytes); }
void FreePixels(void* memory, std::size_t) { ::operator delete(memory); }
#endif

Bitmap* NewBitmap(int width, int height, uint32_t fill) {
    if (width <= 0 || height <= 0 || width > (1 << 15) || height > (1 << 15)) return nullptr;
    if (static_cast<int64_t>(width) * height > (int64_t{1} << 28)) return nullptr;
    try {
        auto bitmap = std::make_unique<Bitmap>();
        bitmap->width = width;
        bitmap->height = height;
        bitmap->pixels.assign(static_cast<size_t>(width) * height, fill);
        ResetDamage(*bitmap, fill);
        return Register(std::move(bitmap));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

DeviceContext* NewWindowDc(HWND window, Bitmap* pixels) {
    DeviceContext* dc = NewDc(Kind::Dc, pixels);
    dc->window = window;
    return dc;
}

}  // namespace qp

using namespace qp;

HGDIOBJ WINAPI GetStockObject(int index) {
    const Stock& stock = Stocks();
    switch (index) {
    case WHITE_BRUSH: case LTGRAY_BRUSH: case GRAY_BRUSH: case BLACK_BRUSH: case NULL_BRUSH:
        return Handle(stock.brushes[index]);
    case WHITE_PEN: case BLACK_PEN: case NULL_PEN:
        return Handle(stock.pens[index]);
    case SYSTEM_FONT:
        return Handle(stock.systemFont);
    case DEFAULT_GUI_FONT:
        return Handle(stock.guiFont);
    default:
        return nullptr;
    }
}

DWORD WINAPI GetObjectType(HGDIOBJ object) {
    GdiObject* found = Lookup(object);
    return found ? static_cast<DWORD>(found->kind) : 0;
}

HGDIOBJ WINAPI GetCurrentObject(HDC dc, UINT type) {
    DeviceContext* context = LookupDc(dc);
    if (!context) return nullptr;
    switch (type) {
    case OBJ_PEN: return Handle(context->pen);
    case OBJ_BRUSH: return Handle(context->brush);
    case OBJ_FONT: return Handle(context->font);
    case OBJ_BITMAP: return Handle(context->bitmap);
    default: return nullptr;
    }
}

HPEN WINAPI CreatePen(int style, int width, COLORREF color) {
    auto pen = std::make_unique<Pen>();
    pen->style = style == PS_NULL ? PS_NULL : PS_SOLID;
    pen->width = std::clamp(width, 0, kMaxPenWidth);
    pen->color = color & 0xFFFFFF;
    return reinterpret_cast<HPEN>(Handle(Register(std::move(pen))));
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    auto brush = std::make_unique<Brush>();
    brush->color = color & 0xFFFFFF;
    return reinterpret_cast<HBRUSH>(Handle(Register(std::move(brush))));
}

HDC WINAPI CreateCompatibleDC(HDC dc) {
    if (dc && !LookupDc(dc)) return nullptr;
    return reinterpret_cast<HDC>(Handle(NewDc(Kind::MemDc, nullptr)));
}

BOOL WINAPI DeleteDC(HDC dc) {
    DeviceContext* context = LookupDc(dc);
    if (!context || context->kind != Kind::MemDc) return FALSE;
    return Release(context) ? TRUE : FALSE;
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height) {
    if (dc && !LookupDc(dc)) return nullptr;
    if (width <= 0 || height <= 0) return reinterpret_cast<HBITMAP>(Handle(Stocks().placeholder));
    return reinterpret_cast<HBITMAP>(Handle(NewBitmap(width, height, 0)));
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object) {
    DeviceContext* context = LookupDc(dc);
    GdiObject* found = Lookup(object);
    if (!context || !found) return nullptr;
    HGDIOBJ previous = nullptr;
    switch (found->kind) {
    case Kind::Pen:
        previous = Handle(context->pen);
        Hold(context->pen, static_cast<Pen*>(found));
        return previous;
    case Kind::Brush:
        previous = Handle(context->brush);
        Hold(context->brush, static_cast<Brush*>(found));
        return previous;
    case Kind::Font:
        previous = Handle(context->font);
        Hold(context->font, static_cast<Font*>(found));
        return previous;
    case Kind::Bitmap: {
        auto* bitmap = static_cast<Bitmap*>(found);
        if (context->kind != Kind::MemDc) return nullptr;
        // A bitmap lives in one device context at a time; only the shared placeholder is everywhere.
        if (bitmap != context->bitmap && !bitmap->stock && bitmap->selections > 0) return nullptr;
        previous = Handle(context->bitmap);
        Hold(context->bitmap, bitmap);
        return previous;
    }
    default:
        return nullptr;
    }
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    GdiObject* found = Lookup(object);
    if (!found || found->kind == Kind::Dc || found->kind == Kind::MemDc) return FALSE;
    if (found->stock) return TRUE;
    return Release(found) ? TRUE : FALSE;
}

COLORREF WINAPI SetTextColor(HDC dc, COLORREF color) {
    DeviceContext* context = LookupDc(dc);
    if (!context) return CLR_INVALID;
    COLORREF previous = context->textColor;
    context->textColor = color & 0xFFFFFF;
    return previous;
}

COLORREF WINAPI SetBkColor(HDC dc, COLORREF color) {
    DeviceContext* context = LookupDc(dc);
    if (!context) return CLR_INVALID;
    COLORREF previous = context->bkColor;
    context->bkColor = color & 0xFFFFFF;
    return previous;
}

int WINAPI SetBkMode(HDC dc, int mode) {
    DeviceContext* context = LookupDc(dc);
    if (!context || (mode != OPAQUE && mode != TRANSPARENT)) return 0;
    int previous = context->bkMode;
    context->bkMode = mode;
    return previous;
}
