// Internal state of the window and message layer, shared by its source files: the window
// records behind HWNDs, the message queue, the key state, and the one path by which
// backend input becomes queued messages.
#pragma once

#include <windows.h>

#include "../backends/backend.h"

#include <memory>
#include <string>

namespace qp::user {

struct Window {
    std::wstring className;
    std::wstring text;
    WNDPROC proc = nullptr;
    DLGPROC dialogProc = nullptr;  // set on a dialog box; proc then is the dialog's own
    HWND parent = nullptr;         // owner of a dialog, or (later) parent of a child control
    DWORD style = 0;
    int x = 0, y = 0, width = 0, height = 0;
    Bitmap* pixels = nullptr;  // top-level windows only; a dialog draws on its owner's pixels
    DeviceContext* dc = nullptr;
    bool alive = true;
    bool destroying = false;
    // Modal dialog state.
    bool ended = false;
    INT_PTR result = 0;
};

// The window behind a handle, alive or already destroyed; null for an unknown handle.
Window* FindWindowRecord(HWND window);
// The live window behind a handle, or null.
Window* LiveWindow(HWND window);
// Makes a window record and its handle. Records are kept after DestroyWindow (the handle stays
// recognisably dead, and the pixels the backend shows stay valid); ForgetWindow drops one.
HWND NewWindowRecord(std::unique_ptr<Window> window);
void ForgetWindow(HWND window);

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
// Takes the first queued message for a live window (or a thread message), dropping those for
// dead windows on the way. False when the queue holds none.
bool TakeMessage(MSG& msg, bool remove);
// Shows the window's pixels if they changed since the last time.
void PresentIfChanged();
// Empties the queue and forgets key and button state (a fresh start for tests).
void ResetInput();

}  // namespace qp::user
