// The message queue and the input it is fed from. Backend input takes one path, real or
// scripted: TranslateInput updates the key and button state and posts the messages at once,
// characters included, so TranslateMessage has nothing left to do.
#include "user.h"

#include "resource.h"
#include "template.h"

#include <array>
#include <deque>

namespace qp::user {
namespace {

struct KeyState {
    bool down = false;
    bool pressedSincePoll = false;
};

struct Screen {
    const Backend* backend = nullptr;
    bool hasDisplay = false;
    int width = 0, height = 0;
};

Screen screen;
// A key or character message is addressed when the program takes it, not when it is posted: a
// click queued just before it may still move the focus (into an edit field, say), and the keys
// that follow the click must reach the field, as they do on Windows.
struct Queued {
    MSG msg;
    bool toKeyboardFocus = false;
};
std::deque<Queued> queue;
std::array<KeyState, 256> keys;
unsigned mouseButtonsDown = 0;  // MK_LBUTTON | MK_RBUTTON | MK_MBUTTON
POINT mousePosition{0, 0};
const Bitmap* presentedPixels = nullptr;
uint64_t presentedVersion = 0;
int lastPolledKey = -1;
bool lastPolledDown = false;
int quitCode = 0;

constexpr LPARAM altBit = LPARAM(1) << 29;
constexpr LPARAM wasDownBit = LPARAM(1) << 30;
constexpr LPARAM releaseBit = LPARAM(1) << 31;

bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!window)
        return false;
    return PostMessageW(window, message, wParam, lParam);
}

// Mouse input goes to the open dialog box, whose owner is disabled, else to the shown window.
HWND MouseTarget()
{
    if (HWND dialog = ActiveDialog(); LiveWindow(dialog))
        return dialog;
    return LiveWindow(ShownWindow()) ? ShownWindow() : nullptr;
}

HWND KeyTarget()
{
    if (HWND dialog = ActiveDialog(); LiveWindow(dialog))
        return dialog;
    if (HWND focus = FocusWindow())
        return focus;
    return MouseTarget();
}

// Posts a key or character message for whichever window has the keyboard when it is taken.
void PostToKeyboardFocus(UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg{};
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.pt = mousePosition;
    queue.push_back(Queued{msg, true});
}

void PostCharacter(UINT message, char32_t c, LPARAM lParam)
{
    // Characters beyond the 16-bit range arrive as a surrogate pair, one message each.
    if (c >= 0x10000) {
        c -= 0x10000;
        PostToKeyboardFocus(message, 0xD800 + (c >> 10), lParam);
        PostToKeyboardFocus(message, 0xDC00 + (c & 0x3FF), lParam);
    } else {
        PostToKeyboardFocus(message, c, lParam);
    }
}

bool Matches(const MSG& msg, HWND window, UINT filterMin, UINT filterMax)
{
    if (window && msg.hwnd != window)
        return false;
    if (filterMin == 0 && filterMax == 0)
        return true;
    return msg.message >= filterMin && msg.message <= filterMax;
}

bool Take(MSG& out, HWND window, UINT filterMin, UINT filterMax, bool remove)
{
    for (auto it = queue.begin(); it != queue.end();) {
        MSG msg = it->msg;
        if (it->toKeyboardFocus)
            msg.hwnd = KeyTarget();
        if ((it->toKeyboardFocus && !msg.hwnd) || (msg.hwnd && !LiveWindow(msg.hwnd))) {
            it = queue.erase(it);  // the window is gone (or no window takes keys): dropped
            continue;
        }
        if (Matches(msg, window, filterMin, filterMax)) {
            out = msg;
            if (remove)
                queue.erase(it);
            return true;
        }
        ++it;
    }
    return false;
}

}  // namespace

void SetScreen(const Backend& backend, bool hasDisplay, int width, int height)
{
    screen = {&backend, hasDisplay, width, height};
}

const Backend& CurrentBackend()
{
    return screen.backend ? *screen.backend : ActiveBackend();
}

bool HasDisplay()
{
    return screen.hasDisplay;
}

int ScreenWidth()
{
    return screen.width;
}

int ScreenHeight()
{
    return screen.height;
}

// Key messages carry lParam = repeat count 1, bit 29 when ALT is held, bit 30 when the key was
// already down (always on a release) and bit 31 on a release; a character message carries the
// lParam of its key-down. Mouse messages never come as double clicks.
void TranslateInput(const InputEvent& event)
{
    WPARAM modifiers = (event.shift ? MK_SHIFT : 0) | (event.ctrl ? MK_CONTROL : 0);
    switch (event.type) {
    case InputEvent::MouseMove:
    case InputEvent::MouseDown:
    case InputEvent::MouseUp: {
        static constexpr unsigned buttonBits[3] = {MK_LBUTTON, MK_RBUTTON, MK_MBUTTON};
        static constexpr UINT downMessages[3] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
        static constexpr UINT upMessages[3] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
        UINT message = WM_MOUSEMOVE;
        if (event.type != InputEvent::MouseMove) {
            if (event.button < 0 || event.button > 2)
                return;
            bool down = event.type == InputEvent::MouseDown;
            if (down)
                mouseButtonsDown |= buttonBits[event.button];
            else
                mouseButtonsDown &= ~buttonBits[event.button];
            message = down ? downMessages[event.button] : upMessages[event.button];
        }
        mousePosition = {event.x, event.y};
        // A child control under the pointer (or holding it since a press) takes the message in
        // its own coordinates; an open dialog takes every mouse message itself.
        HWND target = MouseTarget();
        int x = event.x, y = event.y;
        if (target && target != ActiveDialog())
            target = MouseTargetAt(target, x, y);
        // The key-state word tells the buttons held after this event.
        Post(target, message, mouseButtonsDown | modifiers, MAKELPARAM(x, y));
        return;
    }
    case InputEvent::KeyDown:
    case InputEvent::KeyUp: {
        if (event.vk <= 0 || event.vk > 255)
            return;
        KeyState& key = keys[event.vk];
        bool sys = event.alt || event.vk == VK_MENU;
        LPARAM lParam = 1 | (event.alt ? altBit : 0);
        if (event.type == InputEvent::KeyDown) {
            if (key.down)
                lParam |= wasDownBit;
            key.down = true;
            key.pressedSincePoll = true;
            PostToKeyboardFocus(sys ? WM_SYSKEYDOWN : WM_KEYDOWN, event.vk, lParam);
            if (event.ch)
                PostCharacter(event.alt ? WM_SYSCHAR : WM_CHAR, event.ch, lParam);
        } else {
            key.down = false;
            PostToKeyboardFocus(sys ? WM_SYSKEYUP : WM_KEYUP, event.vk, lParam | wasDownBit | releaseBit);
        }
        return;
    }
    case InputEvent::Text:
        if (event.ch)
            PostCharacter(WM_CHAR, event.ch, 1);
        return;
    case InputEvent::Close:
        Post(LiveWindow(ActiveDialog()) ? ActiveDialog() : (LiveWindow(ShownWindow()) ? ShownWindow() : nullptr),
             WM_CLOSE, 0, 0);
        return;
    }
}

void PumpInput()
{
    if (!screen.backend)
        return;
    InputEvent event;
    while (screen.backend->poll(event))
        TranslateInput(event);
}

bool TakeMessage(MSG& msg, bool remove)
{
    return Take(msg, nullptr, 0, 0, remove);
}

void PresentIfChanged()
{
    Window* w = LiveWindow(ShownWindow());
    if (!w)
        w = FindWindowRecord(ShownWindow());
    if (!w || !w->pixels || !screen.backend)
        return;
    if (w->pixels != presentedPixels || w->pixels->version != presentedVersion) {
        presentedPixels = w->pixels;
        presentedVersion = w->pixels->version;
        screen.backend->present();
    }
}

void ResetInput()
{
    queue.clear();
    keys = {};
    mouseButtonsDown = 0;
    lastPolledKey = -1;
    lastPolledDown = false;
}

}  // namespace qp::user

using namespace qp::user;

BOOL WINAPI PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window && !LiveWindow(window))
        return FALSE;
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.pt = mousePosition;
    queue.push_back(Queued{msg});
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode)
{
    quitCode = exitCode;
    PostMessageW(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

BOOL WINAPI GetMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax)
{
    if (!msg)
        return -1;
    for (;;) {
        PumpInput();
        if (Take(*msg, window, filterMin, filterMax, true))
            return msg->message != WM_QUIT;
        // With every window gone no input can reach the queue any more: waiting would never end.
        if (!AnyWindowAlive()) {
            *msg = MSG{};
            msg->message = WM_QUIT;
            msg->wParam = static_cast<WPARAM>(quitCode);
            return FALSE;
        }
        PresentIfChanged();
        CurrentBackend().wait(-1);
    }
}

BOOL WINAPI PeekMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeMessage)
{
    if (!msg)
        return FALSE;
    PumpInput();
    return Take(*msg, window, filterMin, filterMax, (removeMessage & PM_REMOVE) != 0);
}

BOOL WINAPI TranslateMessage(const MSG* msg)
{
    // Characters were posted with their key-down already; nothing is added here.
    if (!msg)
        return FALSE;
    switch (msg->message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        return TRUE;
    }
    return FALSE;
}

LRESULT WINAPI DispatchMessageW(const MSG* msg)
{
    if (!msg || !msg->hwnd)
        return 0;
    return SendMessageW(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

SHORT WINAPI GetAsyncKeyState(int virtualKey)
{
    if (virtualKey <= 0 || virtualKey > 255)
        return 0;
    PumpInput();
    KeyState& key = keys[virtualKey];
    // A loop spinning on a held key (the Space freeze) waits a little per test instead of
    // burning a core; the scripted backend feeds its next event meanwhile.
    if (virtualKey == lastPolledKey && lastPolledDown && key.down) {
        PresentIfChanged();
        CurrentBackend().wait(10);
        PumpInput();
    }
    SHORT result = static_cast<SHORT>((key.down ? 0x8000 : 0) | (key.pressedSincePoll ? 1 : 0));
    key.pressedSincePoll = false;
    lastPolledKey = virtualKey;
    lastPolledDown = key.down;
    return result;
}

void WINAPI Sleep(DWORD milliseconds)
{
    PresentIfChanged();
    CurrentBackend().sleep(milliseconds);
}

int WINAPI TranslateAcceleratorW(HWND window, HACCEL table, LPMSG msg)
{
    if (!msg || !LiveWindow(window) || table != LoadAcceleratorsW(nullptr, MAKEINTRESOURCEW(IDC_QORIN)))
        return 0;
    if (msg->message != WM_CHAR && msg->message != WM_SYSCHAR)
        return 0;
    bool alt = (msg->lParam & altBit) != 0;
    for (const qres::Accelerator& a : qres::accelerators) {
        if (static_cast<WPARAM>(a.character) == msg->wParam && a.alt == alt) {
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(a.command, 1), 0);
            return 1;
        }
    }
    return 0;
}
