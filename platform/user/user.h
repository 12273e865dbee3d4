// Internal state of the window and message layer, shared by its source files: the window
// records behind HWNDs, the message queue, the key state, and the one path by which
// backend input becomes queued messages.
#pragma once

#include <windows.h>

#include "../backends/backend.h"

#include <functional>
#include <memory>
#include <string>

namespace qp::user {

struct Window {
    std::wstring className;
    std::wstring text;
    WNDPROC proc = nullptr;
    DLGPROC dialogProc = nullptr;  // set on a dialog box; proc then is the dialog's own
    HWND parent = nullptr;         // owner of a dialog, or parent of a child control
    DWORD style = 0;
    int x = 0, y = 0, width = 0, height = 0;
    Bitmap* pixels = nullptr;  // top-level windows only; a dialog draws on its owner's pixels
    DeviceContext* dc = nullptr;
    bool alive = true;
    bool destroying = false;
    // Modal dialog state.
    bool ended = false;
    INT_PTR result = 0;
    // Child edit control state.
    int controlId = 0;  // the identifier its notifications carry
    size_t caret = 0;   // insertion point, 0 .. text length
};

// The window behind a handle, alive or already destroyed; null for an unknown handle.
Window* FindWindowRecord(HWND window);
// The live window behind a handle, or null.
Window* LiveWindow(HWND window);
// Makes a window record and its handle. Records are kept after DestroyWindow (the handle stays
// recognisably dead, and the pixels the backend shows stay valid); ForgetWindow drops one.
HWND NewWindowRecord(std::unique_ptr<Window> window);
void ForgetWindow(HWND window);
// Calls f for every live window whose parent is `parent`, in the order they were made.
void ForEachChild(HWND parent, const std::function<void(HWND, const Window&)>& f);

// The window the backend shows (the first top-level window shown); null before.
HWND ShownWindow();
bool AnyWindowAlive();
// The window with the keyboard focus, if it is alive.
HWND FocusWindow();
// The open modal dialog, which takes all keyboard and mouse input; null when none.
HWND ActiveDialog();
void SetActiveDialog(HWND dialog);

// Logical screen from the backend; hasDisplay false means no window can be created.
void SetScreen(const Backend& backend, bool hasDisplay, int width, int height);
const Backend& CurrentBackend();
bool HasDisplay();
int ScreenWidth();
int ScreenHeight();

// Turns one backend event into key state and queued messages.
void TranslateInput(const InputEvent& event);
// Pulls every pending backend event through TranslateInput, without waiting.
void PumpInput();
// The child "edit" control (edit.cpp). Class names are matched without regard to case.
bool IsEditClass(const wchar_t* className);
bool IsEdit(HWND window);
// Makes the control on its parent's pixels; null when the parent has none.
HWND CreateEdit(const wchar_t* text, DWORD style, int x, int y, int width, int height, HWND parent, int controlId);
// Replaces the text (caret to the start), repaints and notifies the parent of the change.
BOOL SetEditText(HWND edit, const wchar_t* text);
// Where mouse input at (x, y) of a top-level window goes: the control holding the mouse after a
// press on it, else the visible child control under the point, else the window itself; x and y
// become the target's own coordinates.
HWND MouseTargetAt(HWND window, int& x, int& y);
// Tells an edit control that it gained or lost the keyboard focus; other windows are not told.
void NotifyFocus(HWND window, bool gained);

// Takes the first queued message for a live window (or a thread message), dropping those for
// dead windows on the way. False when the queue holds none.
bool TakeMessage(MSG& msg, bool remove);
// Shows the window's pixels if they changed since the last time.
void PresentIfChanged();
// Empties the queue and forgets key and button state (a fresh start for tests).
void ResetInput();

}  // namespace qp::user
