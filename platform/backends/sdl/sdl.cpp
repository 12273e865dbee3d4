// The desktop backend over SDL2: one borderless window covering display 0, drawn through the
// window surface (no renderer, no GPU). Large displays show the logical screen at a whole-number
// scale (each logical pixel an s x s block); displays under 640 x 480 get a 640 x 480 screen
// shrunk to fit, centred on black. SDL events become InputEvents in logical coordinates.
// QORIN_BENCH=1 prints, when the program ends, the time from start-up to the first picture on
// the screen and the median time of showing one frame (the copy into the window and its update).
#include "../backend.h"
#include "../../gdi/raster.h"
#include "../../user/keys.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace qp {
namespace {

struct Display {
    int physicalWidth = 0, physicalHeight = 0;
    int logicalWidth = 0, logicalHeight = 0;
    // Where the logical screen lands on the window, in physical pixels.
    int left = 0, top = 0, width = 0, height = 0;
    SDL_Window* window = nullptr;
    const Bitmap* pixels = nullptr;
    std::deque<InputEvent> pendingText;  // one SDL text event may carry several characters
    std::vector<int> columns;            // logical column of each physical column
    std::vector<uint32_t> staging;       // for window surfaces not in 32-bit XRGB
};

Display display;

using Clock = std::chrono::steady_clock;

// Taken while the program's statics are set up, before wWinMain.
const Clock::time_point startUp = Clock::now();

struct PresentTimes {
    bool enabled = false;
    double firstMs = -1;          // start-up to the end of the first present
    std::vector<double> presents; // each present, ms; reserved at start, so timing allocates nothing
    std::vector<double> copies;   // the part of each present that copies into the window surface
};

PresentTimes presentTimes;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Modifiers as of the event being translated. SDL_GetModState() already tells the state after
// every event pumped so far, so the state is followed through the key events instead.
unsigned modifiers = KMOD_NONE;

void Layout(int pw, int ph)
{
    display.physicalWidth = pw;
    display.physicalHeight = ph;
    if (pw < 640 || ph < 480) {
        display.logicalWidth = 640;
        display.logicalHeight = 480;
        // Keep 4:3: the limiting side fills the display.
        if (pw * 480 <= ph * 640) {
            display.width = pw;
            display.height = std::max(1, pw * 480 / 640);
        } else {
            display.height = ph;
            display.width = std::max(1, ph * 640 / 480);
        }
        display.left = (pw - display.width) / 2;
        display.top = (ph - display.height) / 2;
    } else {
        int s = std::max(1, std::min(pw / 1920, ph / 1080));
        display.logicalWidth = pw / s;
        display.logicalHeight = ph / s;
        display.left = display.top = 0;
        display.width = display.logicalWidth * s;
        display.height = display.logicalHeight * s;
    }
    display.columns.resize(display.width);
    for (int x = 0; x < display.width; ++x)
        display.columns[x] = static_cast<int>(static_cast<int64_t>(x) * display.logicalWidth / display.width);
}

bool Open(int& width, int& height)
{
    // The window surface must stay a plain memory framebuffer.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "no display: %s\n", SDL_GetError());
        return false;
    }
    // SDL falls back to drivers that show nothing; unless asked for by name, that is no display.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!std::getenv("SDL_VIDEODRIVER") && driver &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        std::fprintf(stderr, "no display: only SDL's %s video driver is available\n", driver);
        SDL_Quit();
        return false;
    }
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0 || mode.w <= 0 || mode.h <= 0) {
        std::fprintf(stderr, "no display mode: %s\n", SDL_GetError());
        return false;
    }
    Layout(mode.w, mode.h);
    modifiers = SDL_GetModState();
    if (const char* bench = std::getenv("QORIN_BENCH"); bench && std::strcmp(bench, "0") != 0) {
        presentTimes.enabled = true;
        presentTimes.presents.reserve(100000);
        presentTimes.copies.reserve(100000);
    }
    width = display.logicalWidth;
    height = display.logicalHeight;
    return true;
}

std::string Utf8(const wchar_t* text)
{
    std::string out;
    for (; text && *text; ++text) {
        auto c = static_cast<uint32_t>(*text);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Writes the logical picture scaled into a 32-bit buffer of the window's size; orMask sets the
// alpha bits of surfaces that have them.
void Compose(uint32_t* destination, int pitchPixels, int w, int h, uint32_t orMask)
{
    const Bitmap& source = *display.pixels;
    const bool plain = display.width == display.logicalWidth && display.height == display.logicalHeight && !orMask;
    int previousRow = -1;
    for (int y = 0; y < h; ++y) {
        uint32_t* row = destination + static_cast<size_t>(y) * pitchPixels;
        int dy = y - display.top;
        if (dy < 0 || dy >= display.height) {
            std::fill(row, row + w, orMask);
            previousRow = -1;
            continue;
        }
        int sourceY = static_cast<int>(static_cast<int64_t>(dy) * display.logicalHeight / display.height);
        int visible = std::min(display.width, w - display.left);
        if (sourceY >= source.height || visible <= 0) {
            std::fill(row, row + w, orMask);
            previousRow = -1;
            continue;
        }
        std::fill(row, row + display.left, orMask);
        if (sourceY == previousRow) {
            std::memcpy(row + display.left, row - pitchPixels + display.left, static_cast<size_t>(visible) * 4);
        } else if (plain) {
            // Streaming stores: the display server reads these lines next, from another core, so
            // reading them into this core's cache first would only be wasted work.
            CopyStreaming(row, source.Row(sourceY), static_cast<size_t>(std::min(visible, source.width)));
        } else {
            const uint32_t* from = source.Row(sourceY);
            for (int x = 0; x < visible; ++x)
                row[display.left + x] = from[std::min(display.columns[x], source.width - 1)] | orMask;
        }
        if (display.left + visible < w)
            std::fill(row + display.left + visible, row + w, orMask);
        previousRow = sourceY;
    }
    StreamedStoresDone();
}

void Present()
{
    if (!display.window || !display.pixels)
        return;
    const Clock::time_point start = Clock::now();
    SDL_Surface* surface = SDL_GetWindowSurface(display.window);
    if (!surface)
        return;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0)
        return;
    const SDL_PixelFormat* f = surface->format;
    bool xrgb = f->BytesPerPixel == 4 && f->Rmask == 0xFF0000 && f->Gmask == 0xFF00 && f->Bmask == 0xFF;
    if (xrgb) {
        Compose(static_cast<uint32_t*>(surface->pixels), surface->pitch / 4, surface->w, surface->h, f->Amask);
    } else {
        display.staging.resize(static_cast<size_t>(surface->w) * surface->h);
        Compose(display.staging.data(), surface->w, surface->w, surface->h, 0);
        SDL_ConvertPixels(surface->w, surface->h, SDL_PIXELFORMAT_RGB888, display.staging.data(), surface->w * 4,
                          f->format, surface->pixels, surface->pitch);
    }
    if (SDL_MUSTLOCK(surface))
        SDL_UnlockSurface(surface);
    const double copyMs = MsSince(start);
    SDL_UpdateWindowSurface(display.window);
    if (presentTimes.enabled) {
        if (presentTimes.firstMs < 0)
            presentTimes.firstMs = MsSince(startUp);
        if (presentTimes.presents.size() < presentTimes.presents.capacity()) {
            presentTimes.presents.push_back(MsSince(start));
            presentTimes.copies.push_back(copyMs);
        }
    }
}

void ShowWindow(const Bitmap& pixels, const wchar_t* title)
{
    display.pixels = &pixels;
    if (display.window) {
        SDL_SetWindowTitle(display.window, Utf8(title).c_str());
        Present();
        return;
    }
    display.window = SDL_CreateWindow(Utf8(title).c_str(), 0, 0, display.physicalWidth, display.physicalHeight,
                                      SDL_WINDOW_BORDERLESS | SDL_WINDOW_SHOWN);
    if (!display.window) {
        std::fprintf(stderr, "no window: %s\n", SDL_GetError());
        return;
    }
    SDL_RaiseWindow(display.window);
    Present();
}

int VirtualKey(SDL_Keycode key)
{
    switch (key) {
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_F4: return VK_F4;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return VK_MENU;
    }
    // Printable keys are named by the character they type unshifted.
    if (key > 0 && key < 128)
        return KeyForChar(static_cast<char32_t>(key)).vk;
    return 0;
}

void Modifiers(InputEvent& e)
{
    unsigned mod = modifiers;
    e.shift = (mod & KMOD_SHIFT) != 0;
    e.ctrl = (mod & KMOD_CTRL) != 0;
    e.alt = (mod & KMOD_ALT) != 0;
}

void ToLogical(int x, int y, InputEvent& e)
{
    auto map = [](int v, int start, int size, int logical) {
        int64_t l = (static_cast<int64_t>(v) - start) * logical / size;
        return static_cast<int>(std::clamp<int64_t>(l, 0, logical - 1));
    };
    e.x = map(x, display.left, display.width, display.logicalWidth);
    e.y = map(y, display.top, display.height, display.logicalHeight);
}

void QueueText(const char* text)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        int extra = *p < 0x80 ? 0 : *p >= 0xF0 ? 3 : *p >= 0xE0 ? 2 : 1;
        char32_t c = extra == 0 ? *p : *p & (0x3F >> extra);
        ++p;
        for (int k = 0; k < extra && (*p & 0xC0) == 0x80; ++k, ++p)
            c = (c << 6) | (*p & 0x3F);
        InputEvent e;
        e.type = InputEvent::Text;
        e.ch = c;
        display.pendingText.push_back(e);
    }
}

// Turns one SDL event into an InputEvent; false for events the program does not see.
bool Translate(const SDL_Event& sdl, InputEvent& e)
{
    switch (sdl.type) {
    case SDL_MOUSEMOTION:
        e.type = InputEvent::MouseMove;
        ToLogical(sdl.motion.x, sdl.motion.y, e);
        Modifiers(e);
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (sdl.button.button != SDL_BUTTON_LEFT && sdl.button.button != SDL_BUTTON_RIGHT &&
            sdl.button.button != SDL_BUTTON_MIDDLE)
            return false;
        e.type = sdl.type == SDL_MOUSEBUTTONDOWN ? InputEvent::MouseDown : InputEvent::MouseUp;
        e.button = sdl.button.button == SDL_BUTTON_LEFT ? 0 : sdl.button.button == SDL_BUTTON_RIGHT ? 1 : 2;
        ToLogical(sdl.button.x, sdl.button.y, e);
        Modifiers(e);
        return true;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        e.vk = VirtualKey(sdl.key.keysym.sym);
        if (!e.vk) {
            modifiers = sdl.key.keysym.mod;
            return false;
        }
        e.type = sdl.type == SDL_KEYDOWN ? InputEvent::KeyDown : InputEvent::KeyUp;
        modifiers = sdl.key.keysym.mod;
        Modifiers(e);
        if (e.type == InputEvent::KeyDown) {
            // Control characters come with their keys; with ALT held, text input is silent, so
            // the key carries its character itself (ALT+Shift+'/' gives '?').
            if (e.vk == VK_ESCAPE)
                e.ch = 0x1B;
            else if (e.vk == VK_RETURN)
                e.ch = U'\r';
            else if (e.vk == VK_BACK)
                e.ch = 0x08;
            else if (e.alt)
                e.ch = CharForKey(e.vk, e.shift);
        }
        return true;
    }
    case SDL_TEXTINPUT:
        if (!(modifiers & KMOD_ALT))
            QueueText(sdl.text.text);
        return false;
    case SDL_WINDOWEVENT:
        if (sdl.window.event == SDL_WINDOWEVENT_EXPOSED)
            Present();
        return false;
    case SDL_QUIT:
        e.type = InputEvent::Close;
        return true;
    }
    return false;
}

bool Poll(InputEvent& event)
{
    for (;;) {
        if (!display.pendingText.empty()) {
            event = display.pendingText.front();
            display.pendingText.pop_front();
            return true;
        }
        SDL_Event sdl;
        if (!SDL_PollEvent(&sdl))
            return false;
        event = InputEvent{};
        if (Translate(sdl, event))
            return true;
    }
}

void Wait(int timeoutMs)
{
    if (!display.pendingText.empty())
        return;
    SDL_WaitEventTimeout(nullptr, timeoutMs);
}

void Sleep(unsigned milliseconds)
{
    SDL_Delay(milliseconds);
}

void Finish(int, size_t)
{
    if (presentTimes.enabled && !presentTimes.presents.empty()) {
        auto median = [](std::vector<double>& times) {
            std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
            return times[times.size() / 2];
        };
        std::printf("first_frame_on_screen_ms=%.1f present_ms=%.4f present_copy_ms=%.4f presents=%zu\n",
                    presentTimes.firstMs, median(presentTimes.presents), median(presentTimes.copies),
                    presentTimes.presents.size());
        std::fflush(stdout);
    }
    if (display.window)
        SDL_DestroyWindow(display.window);
    display.window = nullptr;
    SDL_Quit();
}

}  // namespace

const Backend sdlBackend = {"sdl", Open, ShowWindow, Present, Poll, Wait, Sleep, Finish};

}  // namespace qp
