// Window classes and windows: registration, the popup main window with its pixels and its one
// device context, destruction, the default window procedure (the ALT+F4 -> WM_CLOSE ->
// DestroyWindow chain), window text, focus and painting.
#include "user.h"

#include <algorithm>
#include <map>

namespace qp::user {
namespace {

struct WindowClass {
    WNDPROC proc = nullptr;
};

std::map<std::wstring, WindowClass>& Classes()
{
    static std::map<std::wstring, WindowClass> classes;
    return classes;
}

std::map<HWND, std::unique_ptr<Window>>& Windows()
{
    static std::map<HWND, std::unique_ptr<Window>> windows;
    return windows;
}

HWND shownWindow = nullptr;
HWND focusWindow = nullptr;
HWND activeDialog = nullptr;
uintptr_t nextHandle = 0x10000;

}  // namespace

Window* FindWindowRecord(HWND window)
{
    auto it = Windows().find(window);
    return it == Windows().end() ? nullptr : it->second.get();
}

Window* LiveWindow(HWND window)
{
    Window* w = FindWindowRecord(window);
    return w && w->alive ? w : nullptr;
}

HWND NewWindowRecord(std::unique_ptr<Window> window)
{
    // Handles are plain numbers, never reused, so a stale one stays unknown or dead.
    HWND handle = reinterpret_cast<HWND>(nextHandle);
    nextHandle += 0x10;
    Windows()[handle] = std::move(window);
    return handle;
}

void ForgetWindow(HWND window)
{
    Windows().erase(window);
}

void ForEachChild(HWND parent, const std::function<void(HWND, const Window&)>& f)
{
    // Handles grow with every window made, so the map's order is the order of making.
    for (const auto& [handle, window] : Windows())
        if (window->alive && window->parent == parent && (window->style & WS_CHILD))
            f(handle, *window);
}

bool AnyWindowAlive()
{
    for (const auto& [handle, window] : Windows())
        if (window->alive)
            return true;
    return false;
}

HWND ShownWindow()
{
    return shownWindow;
}

HWND ActiveDialog()
{
    return activeDialog;
}

void SetActiveDialog(HWND dialog)
{
    activeDialog = dialog;
}

HWND FocusWindow()
{
    return LiveWindow(focusWindow) ? focusWindow : nullptr;
}

}  // namespace qp::user

using namespace qp::user;

ATOM WINAPI RegisterClassExW(const WNDCLASSEXW* windowClass)
{
    if (!windowClass || !windowClass->lpszClassName || IS_INTRESOURCE(windowClass->lpszClassName) ||
        !windowClass->lpfnWndProc)
        return 0;
    auto& classes = Classes();
    std::wstring name = windowClass->lpszClassName;
    if (classes.count(name))
        return 0;
    classes[name] = WindowClass{windowClass->lpfnWndProc};
    // Atoms of registered classes start at 0xC000, as on the platform.
    return static_cast<ATOM>(0xC000 + classes.size());
}

HWND WINAPI CreateWindowExW(DWORD, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                            int height, HWND parent, HMENU menu, HINSTANCE, LPVOID)
{
    if (!HasDisplay() || !className || IS_INTRESOURCE(className))
        return nullptr;
    // The one child control there is: an edit control, which draws on its parent's pixels. A
    // child's menu argument is its control identifier.
    if (style & WS_CHILD) {
        if (!IsEditClass(className))
            return nullptr;
        return CreateEdit(windowName, style, x, y, width, height, parent,
                          static_cast<int>(reinterpret_cast<uintptr_t>(menu)));
    }
    auto cls = Classes().find(className);
    if (cls == Classes().end())
        return nullptr;
    auto window = std::make_unique<Window>();
    window->className = className;
    window->text = windowName ? windowName : L"";
    window->proc = cls->second.proc;
    window->parent = parent;
    window->style = style;
    window->x = x;
    window->y = y;
    window->width = width;
    window->height = height;
    // The pixels cover the logical screen: a top-level window is the screen's picture.
    window->pixels = qp::NewBitmap(ScreenWidth(), ScreenHeight());
    if (!window->pixels)
        return nullptr;
    Window* record = window.get();
    HWND handle = NewWindowRecord(std::move(window));
    record->dc = qp::NewWindowDc(handle, record->pixels);
    if (record->proc(handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    return handle;
}

BOOL WINAPI ShowWindow(HWND window, int showCommand)
{
    Window* w = LiveWindow(window);
    if (!w)
        return FALSE;
    bool wasVisible = (w->style & WS_VISIBLE) != 0;
    if (showCommand == SW_HIDE)
        return wasVisible;
    w->style |= WS_VISIBLE;
    // The backend shows one window; a new one takes over when the shown one is gone.
    if (!LiveWindow(shownWindow) && w->pixels) {
        shownWindow = window;
        CurrentBackend().showWindow(*w->pixels, w->text.c_str());
    }
    if (!FocusWindow())
        focusWindow = window;
    return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND window)
{
    if (!LiveWindow(window))
        return FALSE;
    SendMessageW(window, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND window)
{
    return LiveWindow(window) != nullptr;
}

BOOL WINAPI DestroyWindow(HWND window)
{
    Window* w = LiveWindow(window);
    if (!w || w->destroying)
        return FALSE;
    w->destroying = true;
    // Owned windows (an open dialog box) go first.
    for (auto& [handle, other] : Windows())
        if (other->alive && other->parent == window && handle != window)
            DestroyWindow(handle);
    w->proc(window, WM_DESTROY, 0, 0);
    w->alive = false;
    if (focusWindow == window)
        focusWindow = nullptr;
    return TRUE;
}

LRESULT WINAPI DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    constexpr LPARAM altHeld = LPARAM(1) << 29;
    switch (message) {
    case WM_SYSKEYDOWN:
        // ALT+F4 closes the top-level window, also when a child control has the keys.
        if (wParam == VK_F4 && (lParam & altHeld)) {
            HWND root = window;
            while (Window* w = LiveWindow(root)) {
                if (!(w->style & WS_CHILD) || !w->parent)
                    break;
                root = w->parent;
            }
            SendMessageW(root, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            SendMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    }
    return 0;
}

LRESULT WINAPI SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* w = LiveWindow(window);
    return w ? w->proc(window, message, wParam, lParam) : 0;
}

HDC WINAPI GetDC(HWND window)
{
    if (!window)
        window = shownWindow;
    Window* w = LiveWindow(window);
    if (w && !w->dc && w->parent)
        w = LiveWindow(w->parent);
    return w ? reinterpret_cast<HDC>(w->dc) : nullptr;
}

int WINAPI ReleaseDC(HWND, HDC dc)
{
    // The window's one device context lives as long as the process.
    return dc ? 1 : 0;
}

HDC WINAPI BeginPaint(HWND window, LPPAINTSTRUCT paint)
{
    Window* w = LiveWindow(window);
    if (!w || !paint)
        return nullptr;
    *paint = {};
    paint->hdc = GetDC(window);
    paint->rcPaint = {0, 0, w->width, w->height};
    return paint->hdc;
}

BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT*)
{
    return LiveWindow(window) ? TRUE : FALSE;
}

BOOL WINAPI SetWindowTextW(HWND window, LPCWSTR text)
{
    Window* w = LiveWindow(window);
    if (!w)
        return FALSE;
    if (IsEdit(window))
        return SetEditText(window, text);
    w->text = text ? text : L"";
    return TRUE;
}

int WINAPI GetWindowTextW(HWND window, LPWSTR buffer, int bufferMax)
{
    Window* w = LiveWindow(window);
    if (!buffer || bufferMax <= 0)
        return 0;
    buffer[0] = 0;
    if (!w)
        return 0;
    int n = static_cast<int>(std::min<size_t>(w->text.size(), static_cast<size_t>(bufferMax - 1)));
    w->text.copy(buffer, n);
    buffer[n] = 0;
    return n;
}

HWND WINAPI SetFocus(HWND window)
{
    if (window && !LiveWindow(window))
        return nullptr;
    HWND previous = FocusWindow();
    focusWindow = window;
    if (previous != window) {
        NotifyFocus(previous, false);
        NotifyFocus(window, true);
    }
    return previous;
}
