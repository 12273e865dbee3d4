// Object rules: the registry refuses stale and foreign handles, stock objects survive
// deletion, selected objects cannot be freed, and the count of live objects stays exact
// through the create-select-replace-delete cycles the programs run every frame.
#include "canvas.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

HGDIOBJ Handle(qp::GdiObject* object) { return object; }

// What the shell does with every new pen and brush: select it and delete what it displaces.
bool ReplaceObject(HGDIOBJ object, HDC dc) {
    HGDIOBJ old = SelectObject(dc, object);
    if (!old) return false;
    DeleteObject(old);
    return true;
}

// The shell's teardown of a surface.
void DestroySurface(HDC dc) {
    ReplaceObject(GetStockObject(NULL_PEN), dc);
    ReplaceObject(GetStockObject(NULL_BRUSH), dc);
    ReplaceObject(GetStockObject(SYSTEM_FONT), dc);
    ReplaceObject(CreateCompatibleBitmap(dc, 0, 0), dc);
    DeleteDC(dc);
}

HFONT ArialFont() { return CreateFontW(17, 8, 0, 0, FW_DONTCARE, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 1, L"Arial"); }

struct ObjectCase {
    const char* name;
    void (*check)();
};

const ObjectCase kCases[] = {
    {"StockDeletionIsNoOp", [] {
         const size_t before = qp::LiveObjectCount();
         const int stock[] = {WHITE_BRUSH, LTGRAY_BRUSH, GRAY_BRUSH, BLACK_BRUSH, NULL_BRUSH,
                              WHITE_PEN,   BLACK_PEN,    NULL_PEN,   SYSTEM_FONT, DEFAULT_GUI_FONT};
         const DWORD types[] = {OBJ_BRUSH, OBJ_BRUSH, OBJ_BRUSH, OBJ_BRUSH, OBJ_BRUSH,
                                OBJ_PEN,   OBJ_PEN,   OBJ_PEN,   OBJ_FONT,  OBJ_FONT};
         for (size_t i = 0; i < std::size(stock); ++i) {
             HGDIOBJ object = GetStockObject(stock[i]);
             EXPECT_TRUE(DeleteObject(object)) << stock[i];
             EXPECT_EQ(GetObjectType(object), types[i]) << stock[i];
             EXPECT_EQ(GetStockObject(stock[i]), object);
         }
         HGDIOBJ placeholder = CreateCompatibleBitmap(nullptr, 0, 0);
         EXPECT_TRUE(DeleteObject(placeholder));
         EXPECT_EQ(GetObjectType(placeholder), static_cast<DWORD>(OBJ_BITMAP));
         EXPECT_EQ(GetStockObject(3), nullptr);  // no stock object of that index here
         EXPECT_EQ(qp::LiveObjectCount(), before);
     }},
    {"NewMemoryDcDefaults", [] {
         HDC dc = CreateCompatibleDC(nullptr);
         EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
         EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
         EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
         EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
         EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), CreateCompatibleBitmap(dc, 0, 0));
         EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));  // the placeholder's one white pixel
         EXPECT_EQ(SetTextColor(dc, kRed), RGB(0, 0, 0));
         EXPECT_EQ(SetBkColor(dc, kRed), RGB(255, 255, 255));
         EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
         POINT position{-1, -1};
         MoveToEx(dc, 3, 4, &position);
         EXPECT_EQ(position.x, 0);
         EXPECT_EQ(position.y, 0);
         // Drawing on the shared placeholder must not change it for everyone else.
         Rectangle(dc, -5, -5, 5, 5);
         EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
         DeleteDC(dc);
     }},
    {"EmptyOrAbsurdBitmapSizes", [] {
         HDC dc = CreateCompatibleDC(nullptr);
         const size_t before = qp::LiveObjectCount();
         HBITMAP placeholder = CreateCompatibleBitmap(dc, 0, 0);
         EXPECT_NE(placeholder, nullptr);
         EXPECT_EQ(CreateCompatibleBitmap(dc, -3, 5), placeholder);
         EXPECT_EQ(CreateCompatibleBitmap(dc, 5, 0), placeholder);
         EXPECT_EQ(CreateCompatibleBitmap(dc, (1 << 15) + 1, 1), nullptr);
         EXPECT_EQ(CreateCompatibleBitmap(dc, 1 << 15, 1 << 14), nullptr);  // 2^29 pixels
         EXPECT_EQ(CreateCompatibleBitmap(dc, INT_MAX, INT_MAX), nullptr);
         EXPECT_EQ(qp::LiveObjectCount(), before);
         HBITMAP bitmap = CreateCompatibleBitmap(dc, 3, 2);
         ASSERT_NE(bitmap, nullptr);
         SelectObject(dc, bitmap);
         EXPECT_EQ(GetPixel(dc, 2, 1), RGB(0, 0, 0));  // a new bitmap is black
         DestroySurface(dc);
         EXPECT_EQ(GetObjectType(bitmap), 0u);
     }},
    {"SelectedObjectsCannotBeDeleted", [] {
         HDC dc = CreateCompatibleDC(nullptr);
         HGDIOBJ objects[] = {CreatePen(PS_SOLID, 1, kRed), CreateSolidBrush(kRed), ArialFont(),
                              CreateCompatibleBitmap(dc, 2, 2)};
         for (HGDIOBJ object : objects) {
             const DWORD type = GetObjectType(object);
             HGDIOBJ displaced = SelectObject(dc, object);
             ASSERT_NE(displaced, nullptr) << type;
             EXPECT_FALSE(DeleteObject(object)) << type;
             EXPECT_EQ(GetObjectType(object), type);
             EXPECT_EQ(SelectObject(dc, displaced), object);  // selecting back returns it
             EXPECT_TRUE(DeleteObject(object)) << type;
             EXPECT_EQ(GetObjectType(object), 0u) << type;
             EXPECT_FALSE(DeleteObject(object)) << "a stale handle is refused";
             EXPECT_EQ(SelectObject(dc, object), nullptr) << "a stale handle is refused";
         }
         DeleteDC(dc);
     }},
    {"ADcDeletedRightAfterDrawingIsRefused", [] {
         // The surface drawn into last is remembered for speed; deleting it must forget it.
         HDC dc = CreateCompatibleDC(nullptr);
         SelectObject(dc, CreateCompatibleBitmap(dc, 4, 4));
         ASSERT_TRUE(Rectangle(dc, 0, 0, 2, 2));
         ASSERT_TRUE(LineTo(dc, 3, 3));
         HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
         EXPECT_TRUE(DeleteDC(dc));
         EXPECT_FALSE(Rectangle(dc, 0, 0, 2, 2));
         EXPECT_FALSE(LineTo(dc, 1, 1));
         EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
         EXPECT_FALSE(DeleteDC(dc));
         EXPECT_TRUE(DeleteObject(bitmap));
     }},
    {"BitmapLivesInOneDcOnly", [] {
         HDC first = CreateCompatibleDC(nullptr), second = CreateCompatibleDC(first);
         HBITMAP bitmap = CreateCompatibleBitmap(first, 4, 4);
         EXPECT_EQ(SelectObject(first, bitmap), CreateCompatibleBitmap(first, 0, 0));
         EXPECT_EQ(SelectObject(second, bitmap), nullptr);
         EXPECT_EQ(GetCurrentObject(second, OBJ_BITMAP), CreateCompatibleBitmap(first, 0, 0));
         // Deleting the DC lets go of its bitmap, which can then be selected elsewhere or freed.
         EXPECT_TRUE(DeleteDC(first));
         EXPECT_EQ(GetObjectType(first), 0u);
         EXPECT_NE(SelectObject(second, bitmap), nullptr);
         DestroySurface(second);
         EXPECT_EQ(GetObjectType(bitmap), 0u);
     }},
    {"WindowDcTakesNoBitmapAndIsNotDeleted", [] {
         const size_t before = qp::LiveObjectCount();
         qp::Bitmap* pixels = qp::NewBitmap(8, 8, 0);
         qp::DeviceContext* window = qp::NewWindowDc(nullptr, pixels);
         HDC dc = reinterpret_cast<HDC>(Handle(window));
         EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_DC));
         EXPECT_EQ(qp::LiveObjectCount(), before + 1) << "only the pixels count, not the window's DC";
         HBITMAP other = CreateCompatibleBitmap(dc, 2, 2);
         EXPECT_EQ(SelectObject(dc, other), nullptr);
         EXPECT_FALSE(DeleteDC(dc));
         EXPECT_FALSE(DeleteObject(Handle(pixels))) << "still held by the window's DC";
         HDC memory = CreateCompatibleDC(dc);
         EXPECT_NE(memory, nullptr);
         EXPECT_EQ(CreateCompatibleDC(reinterpret_cast<HDC>(other)), nullptr) << "not a DC";
         DeleteDC(memory);
         EXPECT_TRUE(qp::Release(window));
         EXPECT_TRUE(DeleteObject(Handle(pixels)));
         EXPECT_TRUE(DeleteObject(other));
         EXPECT_EQ(qp::LiveObjectCount(), before);
     }},
    {"ForeignAndNullHandlesAreRefused", [] {
         int local = 0;
         HGDIOBJ foreign = &local;
         EXPECT_EQ(GetObjectType(foreign), 0u);
         EXPECT_EQ(GetObjectType(nullptr), 0u);
         EXPECT_FALSE(DeleteObject(foreign));
         EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(foreign)));
         EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(foreign), GetStockObject(BLACK_PEN)), nullptr);
         EXPECT_FALSE(Rectangle(reinterpret_cast<HDC>(foreign), 0, 0, 5, 5));
         EXPECT_FALSE(TextOutW(nullptr, 0, 0, L"a", 1));
         EXPECT_EQ(qp::Lookup(foreign), nullptr);
     }},
    {"CountStaysConstantThroughFrames", [] {
         const size_t before = qp::LiveObjectCount();
         HDC surface = CreateCompatibleDC(nullptr);
         HBITMAP bitmap = CreateCompatibleBitmap(surface, 64, 48);
         EXPECT_EQ(qp::LiveObjectCount(), before + 2);
         ReplaceObject(bitmap, surface);  // displaces the placeholder, which stays
         EXPECT_EQ(qp::LiveObjectCount(), before + 2);
         EXPECT_EQ(GetObjectType(CreateCompatibleBitmap(surface, 0, 0)), static_cast<DWORD>(OBJ_BITMAP));
         size_t steady = 0;
         for (int frame = 0; frame < 50; ++frame) {
             ReplaceObject(CreatePen(PS_SOLID, 1, kRed), surface);
             ReplaceObject(CreateSolidBrush(kRed), surface);
             ReplaceObject(CreatePen(PS_SOLID, 3, kBlue), surface);
             ReplaceObject(ArialFont(), surface);
             Rectangle(surface, 1, 1, 30, 20);
             if (frame == 0) steady = qp::LiveObjectCount();
             EXPECT_EQ(qp::LiveObjectCount(), steady) << "frame " << frame;
         }
         EXPECT_EQ(steady, before + 5);  // DC, bitmap, pen, brush, font
         DestroySurface(surface);
         EXPECT_EQ(GetObjectType(surface), 0u);
         EXPECT_EQ(GetObjectType(bitmap), 0u);
         EXPECT_EQ(qp::LiveObjectCount(), before);
     }},
};

class ObjectRules : public testing::TestWithParam<ObjectCase> {};

TEST_P(ObjectRules, Hold) { GetParam().check(); }

INSTANTIATE_TEST_SUITE_P(Table, ObjectRules, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ObjectCase>& info) { return std::string(info.param.name); });

}  // namespace
