// The desktop backend over SDL2: one borderless window covering display 0, drawn through the
// window surface (no renderer, no GPU). Large displays show the logical screen at a whole-number
// scale (each logical pixel an s x s block); displays under 640 x 480 get a 640 x 480 screen
// shrunk to fit, centred on black. SDL events become InputEvents in logical coordinates.
// QORIN_BENCH=1 prints, when the program ends, the time from start-up to the first picture on
// the screen and the median time of showing one frame (the copy into the window and its update).
#include "../backend.h"
#include "../../gdi/damage.h"
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
#include <utility>
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

// QORIN_CHECK_PRESENT=1: every partial present is checked against a full one. Each pixel of the
// window surface must equal what a full present writes, and each pixel that changed must lie in
// a rectangle given to the display. Finish prints how many presents were checked and how many
// pixels were wrong.
struct PresentCheck {
    bool enabled = false;
    std::vector<uint32_t> before, expected;
    long checked = 0, wrongPixels = 0;
};

PresentCheck presentCheck;

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
    if (const char* check = std::getenv("QORIN_CHECK_PRESENT"); check && std::strcmp(check, "0") != 0)
        presentCheck.enabled = true;
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

// Physical rows of the picture that show logical rows y0..y1: those whose source row
// floor(py * logicalHeight / height) lies in y0..y1. First and one past the last.
std::pair<int, int> PhysicalRows(int64_t y0, int64_t y1)
{
    const int64_t lh = display.logicalHeight, h = display.height;
    const int64_t first = (y0 * h + lh - 1) / lh, end = ((y1 + 1) * h + lh - 1) / lh;
    return {static_cast<int>(std::min(first, h)), static_cast<int>(std::min(end, h))};
}

// Physical columns that show logical columns x0..x1 (the column map is non-decreasing).
std::pair<int, int> PhysicalColumns(int64_t x0, int64_t x1)
{
    const auto first = std::lower_bound(display.columns.begin(), display.columns.end(), x0);
    const auto end = std::upper_bound(first, display.columns.end(), x1);
    return {static_cast<int>(first - display.columns.begin()), static_cast<int>(end - display.columns.begin())};
}

// Writes the picture's physical rows py0..py1-1 and columns px0..px1-1 (relative to where the
// picture lands) into a 32-bit buffer of the window's size; orMask sets the alpha bits of
// surfaces that have them. Rows go with streaming stores: the display server reads them next,
// from another core, so reading them into this core's cache first would only be wasted work.
// Call StreamedStoresDone after the last box.
void ComposeBox(uint32_t* destination, int pitchPixels, int px0, int px1, int py0, int py1, uint32_t orMask)
{
    const Bitmap& source = *display.pixels;
    const bool plain = display.width == display.logicalWidth && display.height == display.logicalHeight && !orMask;
    const bool wholeRows = plain && px0 == 0 && px1 == display.width;
    int previousRow = -1;
    for (int py = py0; py < py1; ++py) {
        const int sourceY = static_cast<int>(static_cast<int64_t>(py) * display.logicalHeight / display.height);
        uint32_t* row = destination + static_cast<size_t>(display.top + py) * pitchPixels + display.left;
        if (sourceY >= source.height) {
            std::fill(row + px0, row + px1, orMask);
            previousRow = -1;
            continue;
        }
        if (sourceY == previousRow) {
            std::memcpy(row + px0, row - pitchPixels + px0, static_cast<size_t>(px1 - px0) * 4);
        } else if (wholeRows) {
            CopyStreaming(row, source.Row(sourceY), static_cast<size_t>(std::min(px1, source.width)));
        } else if (plain) {
            CopyStreaming(row + px0, source.Row(sourceY) + px0, static_cast<size_t>(px1 - px0));
        } else {
            const uint32_t* from = source.Row(sourceY);
            for (int x = px0; x < px1; ++x)
                row[x] = from[std::min(display.columns[x], source.width - 1)] | orMask;
        }
        previousRow = sourceY;
    }
}

// The whole window: the picture, and black around it.
void ComposeAll(uint32_t* destination, int pitchPixels, int w, int h, uint32_t orMask)
{
    for (int y = 0; y < h; ++y) {
        uint32_t* row = destination + static_cast<size_t>(y) * pitchPixels;
        const bool inside = y >= display.top && y < display.top + display.height;
        if (!inside) {
            std::fill(row, row + w, orMask);
            continue;
        }
        std::fill(row, row + std::min(display.left, w), orMask);
        if (display.left + display.width < w)
            std::fill(row + display.left + display.width, row + w, orMask);
    }
    const int visibleWidth = std::min(display.width, w - display.left);
    const int visibleHeight = std::min(display.height, h - display.top);
    if (visibleWidth > 0 && visibleHeight > 0)
        ComposeBox(destination, pitchPixels, 0, visibleWidth, 0, visibleHeight, orMask);
}

// What the window surface shows: which pixels, as of which mark, on which surface. While these
// hold, a present writes and updates only the tiles changed since.
struct Shown {
    SDL_Surface* surface = nullptr;
    uint64_t serial = 0;  // the pixels' serial; 0: nothing shown yet
    uint64_t mark = 0;
};

Shown shown;
std::vector<SDL_Rect> updateRects;  // reused, so a present allocates nothing once running

// Changed tiles as window rectangles: each run of tiles in a band becomes a box, and a box
// continues one from the band above with the same columns, so a changed area is a few boxes.
void ChangedRects(const Bitmap& source, uint64_t since, int visibleWidth, int visibleHeight)
{
    updateRects.clear();
    size_t bandStart = 0, previousBandStart = 0;
    int64_t currentBand = -1;
    ForEachChangedRun(source, since, [&](int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
        if (y0 != currentBand) {
            previousBandStart = bandStart;
            bandStart = updateRects.size();
            currentBand = y0;
        }
        const auto [px0, px1] = PhysicalColumns(x0, x1);
        const auto [py0, py1] = PhysicalRows(y0, y1);
        const int right = std::min(px1, visibleWidth), bottom = std::min(py1, visibleHeight);
        if (px0 >= right || py0 >= bottom)
            return;
        const SDL_Rect box{display.left + px0, display.top + py0, right - px0, bottom - py0};
        for (size_t i = previousBandStart; i < bandStart; ++i) {
            SDL_Rect& above = updateRects[i];
            if (above.x == box.x && above.w == box.w && above.y + above.h == box.y) {
                above.h += box.h;
                // It now reaches into this band: moved to this band's part of the list, so that
                // the next band can continue it in turn.
                std::swap(above, updateRects[bandStart - 1]);
                --bandStart;
                return;
            }
        }
        updateRects.push_back(box);
    });
}

void CopySurface(const SDL_Surface* surface, std::vector<uint32_t>& out)
{
    out.resize(static_cast<size_t>(surface->w) * surface->h);
    for (int y = 0; y < surface->h; ++y)
        std::memcpy(out.data() + static_cast<size_t>(y) * surface->w,
                    static_cast<const unsigned char*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch,
                    static_cast<size_t>(surface->w) * 4);
}

void CheckPartialPresent(const SDL_Surface* surface)
{
    std::vector<uint32_t> written;
    CopySurface(surface, written);
    presentCheck.expected.resize(written.size());
    ComposeAll(presentCheck.expected.data(), surface->w, surface->w, surface->h, surface->format->Amask);
    ++presentCheck.checked;
    for (int y = 0; y < surface->h; ++y)
        for (int x = 0; x < surface->w; ++x) {
            const size_t i = static_cast<size_t>(y) * surface->w + x;
            if (written[i] != presentCheck.expected[i]) {
                ++presentCheck.wrongPixels;
            } else if (presentCheck.before[i] != written[i]) {
                const bool updated = std::any_of(updateRects.begin(), updateRects.end(), [&](const SDL_Rect& r) {
                    return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
                });
                if (!updated)
                    ++presentCheck.wrongPixels;
            }
        }
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
    const Bitmap& source = *display.pixels;
    const SDL_PixelFormat* f = surface->format;
    const bool xrgb = f->BytesPerPixel == 4 && f->Rmask == 0xFF0000 && f->Gmask == 0xFF00 && f->Bmask == 0xFF;
    const int visibleWidth = std::min(display.width, surface->w - display.left);
    const int visibleHeight = std::min(display.height, surface->h - display.top);
    const bool partial = xrgb && shown.surface == surface && shown.serial == source.serial && source.serial != 0 &&
                         visibleWidth > 0 && visibleHeight > 0;
    const uint64_t mark = Mark();  // writes from here on are newer than this picture
    auto* pixels = static_cast<uint32_t*>(surface->pixels);
    if (partial && presentCheck.enabled)
        CopySurface(surface, presentCheck.before);
    if (partial) {
        ChangedRects(source, shown.mark, visibleWidth, visibleHeight);
        for (const SDL_Rect& box : updateRects)
            ComposeBox(pixels, surface->pitch / 4, box.x - display.left, box.x - display.left + box.w,
                       box.y - display.top, box.y - display.top + box.h, f->Amask);
    } else if (xrgb) {
        ComposeAll(pixels, surface->pitch / 4, surface->w, surface->h, f->Amask);
    } else {
        display.staging.resize(static_cast<size_t>(surface->w) * surface->h);
        ComposeAll(display.staging.data(), surface->w, surface->w, surface->h, 0);
        SDL_ConvertPixels(surface->w, surface->h, SDL_PIXELFORMAT_RGB888, display.staging.data(), surface->w * 4,
                          f->format, surface->pixels, surface->pitch);
    }
    StreamedStoresDone();
    if (partial && presentCheck.enabled)
        CheckPartialPresent(surface);
    if (SDL_MUSTLOCK(surface))
        SDL_UnlockSurface(surface);
    const double copyMs = MsSince(start);
    if (!partial)
        SDL_UpdateWindowSurface(display.window);
    else if (!updateRects.empty())
        SDL_UpdateWindowSurfaceRects(display.window, updateRects.data(), static_cast<int>(updateRects.size()));
    shown = Shown{surface, source.serial, mark};
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
    if (presentCheck.enabled) {
        std::printf("present_checks=%ld present_wrong_pixels=%ld\n", presentCheck.checked, presentCheck.wrongPixels);
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
