// The main window of every program: the entry's start steps, the window class, one popup
// window covering the screen, and a window procedure that only records the mouse, notes that
// the window was destroyed, and opens the About box.
#include "shell.h"

HINSTANCE instanceHandle;
WCHAR windowTitle[100];
WCHAR windowClassName[100];
int screenWidth;
int screenHeight;
HWND mainWindow;
HDC screenDC;
HDC backBuffer;
int mouseX;
int mouseY;
unsigned int mouseButtons;
bool quitRequested = false;

bool StartMainWindow(HINSTANCE instance, int showCommand, HACCEL& hAccelTable, WNDPROC windowProc)
{
    LoadStringW(instance, IDS_APP_TITLE, windowTitle, 100);
    LoadStringW(instance, IDC_QORIN, windowClassName, 100);
    RegisterMainWindowClass(instance, windowProc);
    if (!CreateMainWindow(instance, showCommand))
        return false;
    hAccelTable = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDC_QORIN));
    screenDC = GetDC(mainWindow);
    return true;
}

ATOM RegisterMainWindowClass(HINSTANCE instance, WNDPROC windowProc)
{
    WNDCLASSEXW wcex = {};
    wcex.cbSize = sizeof(WNDCLASSEXW);
    // No CS_DBLCLKS: a double click arrives as two plain presses.
    wcex.style = CS_HREDRAW | CS_VREDRAW;
    wcex.lpfnWndProc = windowProc;
    wcex.cbClsExtra = 0;
    wcex.cbWndExtra = 0;
    wcex.hInstance = instance;
    wcex.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_QORIN));
    wcex.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wcex.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wcex.lpszMenuName = MAKEINTRESOURCEW(IDC_QORIN);
    wcex.lpszClassName = windowClassName;
    wcex.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(IDI_SMALL));
    return RegisterClassExW(&wcex);
}

bool CreateMainWindow(HINSTANCE instance, int showCommand)
{
    instanceHandle = instance;
    // An empty menu of the window's own replaces the class menu, so no menu item is offered.
    HMENU emptyMenu = CreateMenu();
    screenWidth = GetSystemMetrics(SM_CXSCREEN);
    screenHeight = GetSystemMetrics(SM_CYSCREEN);
    // Centring a screen-sized window puts it at (0, 0).
    int x = GetSystemMetrics(SM_CXSCREEN) / 2 - screenWidth / 2;
    int y = GetSystemMetrics(SM_CYSCREEN) / 2 - screenHeight / 2;
    mainWindow = CreateWindowExW(0, windowClassName, windowTitle, WS_POPUP | WS_SYSMENU, x, y, screenWidth,
                                 screenHeight, nullptr, emptyMenu, GetModuleHandleW(nullptr), nullptr);
    if (!mainWindow)
        return false;
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);
    return true;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        StoreMouseState(window, wParam, lParam);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        quitRequested = true;
        return 0;
    case WM_PAINT: {
        // Only validates the window: the next frame copied by the loop brings the picture back.
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDM_ABOUT:
            DialogBoxParamW(instanceHandle, MAKEINTRESOURCEW(IDD_ABOUTBOX), window, AboutDialogProc, 0);
            return 0;
        case IDM_EXIT:
            DestroyWindow(window);
            quitRequested = true;
            return 0;
        }
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool StoreMouseState(HWND, WPARAM wParam, LPARAM lParam)
{
    // The halves of lParam are taken unsigned: coordinates are never negative.
    mouseX = LOWORD(lParam);
    mouseY = HIWORD(lParam);
    mouseButtons = (unsigned int)wParam;
    return true;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}
