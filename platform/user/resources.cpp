// Resources of the template every program carries: the string table, the accelerator table,
// and stand-in handles for the module, icons, cursors and menus, which nothing draws.
#include "user.h"

#include "template.h"

#include <algorithm>

namespace {

// Distinct addresses serve as handles that are neither windows nor drawing objects.
char moduleToken, iconToken, cursorToken, acceleratorToken;
char menuTokens[64];
size_t menusMade = 0;

}  // namespace

HMODULE WINAPI GetModuleHandleW(LPCWSTR)
{
    return reinterpret_cast<HMODULE>(&moduleToken);
}

int WINAPI LoadStringW(HINSTANCE, UINT id, LPWSTR buffer, int bufferMax)
{
    if (!buffer || bufferMax <= 0)
        return 0;
    std::wstring text = qres::String(static_cast<int>(id), qres::ProgramName());
    int n = static_cast<int>(std::min<size_t>(text.size(), static_cast<size_t>(bufferMax - 1)));
    text.copy(buffer, n);
    buffer[n] = 0;
    return n;
}

HACCEL WINAPI LoadAcceleratorsW(HINSTANCE, LPCWSTR tableName)
{
    if (!IS_INTRESOURCE(tableName) || reinterpret_cast<ULONG_PTR>(tableName) != IDC_QORIN)
        return nullptr;
    return reinterpret_cast<HACCEL>(&acceleratorToken);
}

HICON WINAPI LoadIconW(HINSTANCE, LPCWSTR)
{
    return reinterpret_cast<HICON>(&iconToken);
}

HCURSOR WINAPI LoadCursorW(HINSTANCE, LPCWSTR)
{
    return reinterpret_cast<HCURSOR>(&cursorToken);
}

HMENU WINAPI CreateMenu(void)
{
    // Menus are never shown; each call still gets a handle of its own while the supply lasts.
    return reinterpret_cast<HMENU>(&menuTokens[menusMade < sizeof menuTokens ? menusMade++ : 0]);
}

int WINAPI GetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXSCREEN:
        return qp::user::ScreenWidth();
    case SM_CYSCREEN:
        return qp::user::ScreenHeight();
    }
    return 0;
}
