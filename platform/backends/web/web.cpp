// The browser backend (Emscripten): the page's canvas shows the logical screen, and the page's
// mouse and key events (queued by page.js) become InputEvents. Sleeps and waits give the browser
// its turn through Asyncify, so the program's blocking loops run unchanged.
// The web build compiles this file instead of backend.cpp: here the web backend is the only one.
#include "../backend.h"
#include "../../user/keys.h"

#include <emscripten.h>

#include <vector>

namespace qp {
namespace {

// page.js lays the canvas out and reports the logical screen (the same rule as the desktop).
EM_JS(int, PageOpen, (int* width, int* height), {
    const size = Module.qorin.open();
    HEAP32[width >> 2] = size[0];
    HEAP32[height >> 2] = size[1];
    return 1;
});

EM_JS(void, PageShow, (const char* title), {
    Module.qorin.show(UTF8ToString(title));
});

EM_JS(void, PagePaint, (const uint8_t* rgba, int width, int height), {
    Module.qorin.paint(HEAPU8.subarray(rgba, rgba + width * height * 4), width, height);
});

// Fills fields[0..9] with the next queued event; false when the queue is empty.
EM_JS(int, PageNextEvent, (int* fields), {
    const e = Module.qorin.events.shift();
    if (!e)
        return 0;
    const values = [e.type, e.x, e.y, e.button, e.shift, e.ctrl, e.alt, e.vk, e.ch, e.key];
    for (let i = 0; i < values.length; ++i)
        HEAP32[(fields >> 2) + i] = values[i] | 0;
    return 1;
});

// Resolves when an event is queued or after timeoutMs (negative: no limit).
EM_ASYNC_JS(void, PageWaitForEvent, (int timeoutMs), {
    await Module.qorin.waitForEvent(timeoutMs);
});

EM_JS(void, PageFrameEnded, (), {
    Module.qorin.frameEnded();
});

EM_JS(void, PageFinish, (int exitCode), {
    Module.qorin.finish(exitCode);
});

const Bitmap* shownPixels = nullptr;
std::vector<uint32_t> rgba;  // the window's pixels in canvas byte order

bool Open(int& width, int& height)
{
    return PageOpen(&width, &height) != 0;
}

std::vector<char> Utf8(const wchar_t* text)
{
    std::vector<char> out;
    for (; text && *text; ++text) {
        auto c = static_cast<uint32_t>(*text);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    out.push_back('\0');
    return out;
}

void Present()
{
    if (!shownPixels)
        return;
    const Bitmap& source = *shownPixels;
    rgba.resize(source.pixels.size());
    // 0x00RRGGBB words become the canvas's R, G, B, A bytes, opaque.
    for (size_t i = 0; i < rgba.size(); ++i) {
        uint32_t p = source.pixels[i];
        rgba[i] = ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16) | 0xFF000000u;
    }
    PagePaint(reinterpret_cast<const uint8_t*>(rgba.data()), source.width, source.height);
}

void ShowWindow(const Bitmap& pixels, const wchar_t* title)
{
    shownPixels = &pixels;
    PageShow(Utf8(title).data());
    Present();
}

bool Poll(InputEvent& event)
{
    int f[10] = {};
    if (!PageNextEvent(f))
        return false;
    event = InputEvent{};
    event.type = static_cast<InputEvent::Type>(f[0]);
    event.x = f[1];
    event.y = f[2];
    event.button = f[3];
    event.shift = f[4] != 0;
    event.ctrl = f[5] != 0;
    event.alt = f[6] != 0;
    event.vk = f[7];
    event.ch = static_cast<char32_t>(f[8]);
    // Printable keys come named by the character they type unshifted on a US layout ("KeyA" is
    // 'a'), as on the desktop; with ALT held no text event follows, so the key carries it.
    if (event.vk == 0 && f[9] != 0) {
        event.vk = KeyForChar(static_cast<char32_t>(f[9])).vk;
        if (event.vk == 0)
            return Poll(event);
        if (event.type == InputEvent::KeyDown && event.alt)
            event.ch = CharForKey(event.vk, event.shift);
    }
    return true;
}

void Wait(int timeoutMs)
{
    PageWaitForEvent(timeoutMs);
}

// Every frame ends here, just after its pixels were presented.
void Sleep(unsigned milliseconds)
{
    PageFrameEnded();
    emscripten_sleep(milliseconds);
}

void Finish(int exitCode, size_t)
{
    PageFinish(exitCode);
}

}  // namespace

const Backend webBackend = {"web", Open, ShowWindow, Present, Poll, Wait, Sleep, Finish};

const Backend& ActiveBackend()
{
    return webBackend;
}

}  // namespace qp
