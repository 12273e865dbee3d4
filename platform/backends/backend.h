// The interface every display backend implements, one folder each (sdl/, headless/, later web/).
// Real and scripted input take one path: the backend turns what happens into InputEvents,
// and the window layer (platform/user) turns those into key state and queued messages.
// The backend is chosen once at start: QORIN_VIDEO=headless picks the scripted one.
#pragma once

#include "../gdi/objects.h"

namespace qp {

struct InputEvent {
    enum Type : uint8_t { MouseMove, MouseDown, MouseUp, KeyDown, KeyUp, Text, Close } type = MouseMove;
    int x = 0, y = 0;       // logical screen pixels (mouse events)
    int button = 0;         // 0 left, 1 right, 2 middle (MouseDown, MouseUp)
    bool shift = false;     // modifiers held with this event
    bool ctrl = false;
    bool alt = false;
    int vk = 0;             // virtual-key code (KeyDown, KeyUp)
    char32_t ch = 0;        // typed character (Text; KeyDown may carry the character the key gives)
};

struct Backend {
    const char* name;
    // Prepares the display and reports the logical screen the program sees. False: no display
    // (the reason is printed), and the program then cannot create its window.
    bool (*open)(int& width, int& height);
    // The program's window now exists and shows these pixels (width x height of the logical screen).
    void (*showWindow)(const Bitmap& pixels, const wchar_t* title);
    // Shows the window's pixels; called only when they changed since the last call.
    void (*present)();
    // The next pending input, without waiting. False when none is pending.
    bool (*poll)(InputEvent& event);
    // Blocks until input may be pending, or timeoutMs passed (-1: no limit).
    void (*wait)(int timeoutMs);
    // The program sleeps between frames; every frame ends with exactly one such call.
    void (*sleep)(unsigned milliseconds);
    // The program returned this exit code; liveObjects is the count of live drawing objects.
    void (*finish)(int exitCode, size_t liveObjects);
};

extern const Backend sdlBackend;
extern const Backend headlessBackend;

// The backend picked at start.
const Backend& ActiveBackend();

}  // namespace qp
