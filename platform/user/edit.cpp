// The child "edit" control: one line of text at a place on its parent window, drawn by the layer
// straight onto the parent's pixels whenever its text, caret or focus changes. It takes the
// mouse messages over it and the typed characters while it has the focus, and tells its parent of
// every change of its text with WM_COMMAND / EN_CHANGE.
#include "user.h"

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <string_view>

namespace qp::user {
namespace {

// Inside a WS_BORDER frame of 1 px the text keeps a margin of 1 px on both sides; it is drawn in
// the system font (cell 16 px), centred in the height.
constexpr int kBorder = 1;
constexpr int kMargin = 1;

HWND capturedEdit = nullptr;  // the control that was pressed, until the button comes up

int BorderOf(const Window& edit)
{
    return (edit.style & WS_BORDER) ? kBorder : 0;
}

// A memory surface of the control's size with the system font; everything it made goes with it.
class EditSurface {
public:
    EditSurface(int width, int height)
        : dc(CreateCompatibleDC(nullptr)), bitmap(CreateCompatibleBitmap(dc, width, height))
    {
        old = SelectObject(dc, bitmap);
        SelectObject(dc, GetStockObject(SYSTEM_FONT));
    }
    ~EditSurface()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    EditSurface(const EditSurface&) = delete;
    EditSurface& operator=(const EditSurface&) = delete;

    HDC Dc() const { return dc; }

private:
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old = nullptr;
};

int TextWidth(HDC dc, std::wstring_view text)
{
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

int CellHeight(HDC dc)
{
    SIZE size{};
    GetTextExtentPoint32W(dc, L"0", 1, &size);
    return size.cy;
}

// The room for text: the client width less both margins.
int TextRoom(const Window& edit)
{
    return edit.width - 2 * BorderOf(edit) - 2 * kMargin;
}

int TextLeft(const Window& edit)
{
    return BorderOf(edit) + kMargin;
}

void Paint(HWND handle)
{
    Window* edit = LiveWindow(handle);
    Window* parent = edit ? LiveWindow(edit->parent) : nullptr;
    if (!edit || !parent || !parent->dc || !(edit->style & WS_VISIBLE) || edit->width <= 0 || edit->height <= 0)
        return;
    EditSurface surface(edit->width, edit->height);
    HDC dc = surface.Dc();
    SelectObject(dc, GetStockObject(WHITE_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, 0, 0, edit->width, edit->height);
    const int cell = CellHeight(dc);
    const int border = BorderOf(*edit);
    const int top = border + (edit->height - 2 * border - cell) / 2;
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    TextOutW(dc, TextLeft(*edit), top, edit->text.c_str(), static_cast<int>(edit->text.size()));
    // The caret, 1 px wide and a cell high, stands in the column just left of the next glyph.
    if (FocusWindow() == handle) {
        const int x = TextLeft(*edit) + TextWidth(dc, std::wstring_view(edit->text).substr(0, edit->caret)) - 1;
        SelectObject(dc, GetStockObject(BLACK_PEN));
        MoveToEx(dc, x, top, nullptr);
        LineTo(dc, x, top + cell);
    }
    // The frame goes on last, so text longer than the control never covers it.
    if (border) {
        SelectObject(dc, GetStockObject(BLACK_PEN));
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, 0, 0, edit->width, edit->height);
    }
    BitBlt(reinterpret_cast<HDC>(parent->dc), edit->x, edit->y, edit->width, edit->height, dc, 0, 0, SRCCOPY);
}

void NotifyChange(HWND handle)
{
    Window* edit = LiveWindow(handle);
    if (!edit)
        return;
    SendMessageW(edit->parent, WM_COMMAND, MAKEWPARAM(edit->controlId, EN_CHANGE), reinterpret_cast<LPARAM>(handle));
}

// A new text that is shown and reported.
void Change(HWND handle, Window& edit, std::wstring text, size_t caret)
{
    edit.text = std::move(text);
    edit.caret = caret;
    Paint(handle);
    NotifyChange(handle);
}

void MoveCaret(HWND handle, Window& edit, size_t caret)
{
    if (caret == edit.caret)
        return;
    edit.caret = caret;
    Paint(handle);
}

// Without horizontal scrolling the control takes a character only while the whole line fits.
void Type(HWND handle, Window& edit, wchar_t c)
{
    std::wstring text = edit.text;
    text.insert(edit.caret, 1, c);
    EditSurface measure(1, 1);
    if (TextWidth(measure.Dc(), text) > TextRoom(edit))
        return;
    Change(handle, edit, std::move(text), edit.caret + 1);
}

// The insertion point nearest to x (the control's own coordinates); ties go to the left.
size_t CaretAt(const Window& edit, int x)
{
    EditSurface measure(1, 1);
    size_t best = 0;
    int bestDistance = 1 << 30;
    for (size_t i = 0; i <= edit.text.size(); ++i) {
        int distance = std::abs(TextLeft(edit) + TextWidth(measure.Dc(), std::wstring_view(edit.text).substr(0, i)) - x);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

LRESULT CALLBACK EditWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* edit = LiveWindow(handle);
    if (!edit)
        return 0;
    switch (message) {
    case WM_LBUTTONDOWN:
        capturedEdit = handle;
        if (FocusWindow() != handle)
            SetFocus(handle);
        MoveCaret(handle, *edit, CaretAt(*edit, static_cast<SHORT>(LOWORD(lParam))));
        return 0;
    case WM_LBUTTONUP:
        capturedEdit = nullptr;
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Paint(handle);
        return 0;
    case WM_CHAR:
        // Backspace takes the character before the caret; other control characters do nothing.
        if (wParam == VK_BACK) {
            if (edit->caret > 0) {
                std::wstring text = edit->text;
                text.erase(edit->caret - 1, 1);
                Change(handle, *edit, std::move(text), edit->caret - 1);
            }
        } else if (wParam >= 0x20 && wParam != 0x7F) {
            Type(handle, *edit, static_cast<wchar_t>(wParam));
        }
        return 0;
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_LEFT:
        case VK_UP:  // in a single line, up and down move like left and right
            MoveCaret(handle, *edit, edit->caret > 0 ? edit->caret - 1 : 0);
            break;
        case VK_RIGHT:
        case VK_DOWN:
            MoveCaret(handle, *edit, std::min(edit->caret + 1, edit->text.size()));
            break;
        case VK_HOME:
            MoveCaret(handle, *edit, 0);
            break;
        case VK_END:
            MoveCaret(handle, *edit, edit->text.size());
            break;
        case VK_DELETE:
            if (edit->caret < edit->text.size()) {
                std::wstring text = edit->text;
                text.erase(edit->caret, 1);
                Change(handle, *edit, std::move(text), edit->caret);
            }
            break;
        }
        return 0;
    case WM_SETTEXT:
        return SetEditText(handle, reinterpret_cast<const wchar_t*>(lParam));
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

}  // namespace

bool IsEditClass(const wchar_t* className)
{
    if (!className || IS_INTRESOURCE(className))
        return false;
    const std::wstring_view name(className);
    return name.size() == 4 && std::equal(name.begin(), name.end(), L"edit",
                                          [](wchar_t a, wchar_t b) { return std::towlower(a) == static_cast<wint_t>(b); });
}

bool IsEdit(HWND window)
{
    Window* w = LiveWindow(window);
    return w && w->proc == EditWindowProc;
}

HWND CreateEdit(const wchar_t* text, DWORD style, int x, int y, int width, int height, HWND parent, int controlId)
{
    Window* owner = LiveWindow(parent);
    if (!owner || !owner->dc)
        return nullptr;
    auto record = std::make_unique<Window>();
    record->className = L"Edit";
    record->text = text ? text : L"";
    record->proc = EditWindowProc;
    record->parent = parent;
    record->style = style;
    record->x = x;
    record->y = y;
    record->width = width;
    record->height = height;
    record->controlId = controlId;
    HWND handle = NewWindowRecord(std::move(record));
    Paint(handle);
    return handle;
}

BOOL SetEditText(HWND handle, const wchar_t* text)
{
    Window* edit = LiveWindow(handle);
    if (!edit || !IsEdit(handle))
        return FALSE;
    Change(handle, *edit, text ? text : L"", 0);
    return TRUE;
}

HWND MouseTargetAt(HWND window, int& x, int& y)
{
    HWND target = nullptr;
    if (Window* captured = LiveWindow(capturedEdit); captured && captured->parent == window)
        target = capturedEdit;
    else
        capturedEdit = nullptr;
    if (!target) {
        ForEachChild(window, [&](HWND child, const Window& w) {
            if (!target && (w.style & WS_VISIBLE) && x >= w.x && x < w.x + w.width && y >= w.y && y < w.y + w.height)
                target = child;
        });
    }
    if (!target)
        return window;
    const Window* w = LiveWindow(target);
    x -= w->x;
    y -= w->y;
    return target;
}

void NotifyFocus(HWND window, bool gained)
{
    if (IsEdit(window))
        SendMessageW(window, gained ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
}

}  // namespace qp::user
