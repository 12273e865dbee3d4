// The frame loop's protocol: the loop test, the frame end with its one message and the Space
// freeze, the hit test, the wait for a button's release, and the standard controls built on
// them (image buttons with their hover frame, start/pause, exit, covers, the slider).
#include "shell.h"

bool LoopShouldEnd()
{
    // Escape first: its "pressed since the last test" bit is consumed here every frame.
    if (GetAsyncKeyState(VK_ESCAPE))
        return true;
    return quitRequested;
}

bool IsMouseOver(int x, int y, int width, int height)
{
    // Strict on all four sides: the left and top edge pixels and x + width, y + height miss.
    return x < mouseX && mouseX < x + width && y < mouseY && mouseY < y + height;
}

void PumpOneMessage(MSG& msg, HACCEL hAccelTable)
{
    GetMessageW(&msg, nullptr, 0, 0);
    if (!TranslateAcceleratorW(msg.hwnd, hAccelTable, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void WaitForRelease(MSG& msg, HACCEL hAccelTable)
{
    // A destroyed window sends no more mouse messages, so the wait also ends on quitRequested.
    while (mouseButtons == 1 && !quitRequested)
        PumpOneMessage(msg, hAccelTable);
}

void FinishFrame(MSG& msg, HACCEL hAccelTable, DWORD delay, FrameForm form)
{
    if (form == SleepFirst)
        Sleep(delay);
    bool taken = PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
    // Space held: nothing is drawn or handled, so the picture on the screen stays frozen.
    while (GetAsyncKeyState(VK_SPACE)) {
    }
    if (taken && !TranslateAcceleratorW(msg.hwnd, hAccelTable, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (form == SleepLast)
        Sleep(delay);
}

bool ImageButtonPressed(int x, int y, int width, int height, MSG& msg, HACCEL hAccelTable,
                        void (*pressedLook)(int x, int y))
{
    if (IsMouseOver(x, y, width, height)) {
        Rectangle(backBuffer, x - 3, y - 3, x + width + 3, y + height + 3);
        if (mouseButtons == 1) {
            if (pressedLook)
                pressedLook(x, y);
            WaitForRelease(msg, hAccelTable);
            return true;
        }
    } else {
        Rectangle(backBuffer, x - 1, y - 1, x + width + 1, y + height + 1);
    }
    return false;
}

static void BlankStartPauseFace(int x, int y)
{
    // The face shows blank while the button is held: the frame so far goes to the screen now.
    SetColor(RGB(255, 255, 255), backBuffer);
    Rectangle(backBuffer, x, y, x + 150, y + 50);
    BitBlt(screenDC, 0, 0, screenWidth, screenHeight, backBuffer, 0, 0, SRCCOPY);
}

void StartPauseButton(bool& paused, HDC dc_s, HDC dc_p, int x, int y, MSG& msg, HACCEL hAccelTable)
{
    if (ImageButtonPressed(x, y, 150, 50, msg, hAccelTable, BlankStartPauseFace))
        paused = !paused;
    DrawImage(backBuffer, paused ? dc_s : dc_p, x, y, 150, 50);
}

bool ExitButton(HDC face, int x, int y, MSG& msg, HACCEL hAccelTable)
{
    if (ImageButtonPressed(x, y, 150, 50, msg, hAccelTable))
        return true;
    DrawImage(backBuffer, face, x, y, 150, 50);
    return false;
}

bool AreaClicked(int x, int y, int width, int height, MSG& msg, HACCEL hAccelTable)
{
    if (IsMouseOver(x, y, width, height) && mouseButtons == 1) {
        WaitForRelease(msg, hAccelTable);
        return true;
    }
    return false;
}

void DrawCover(int left, int top, int right, int bottom, HDC dc_pto, int captionX, int captionY)
{
    SetColors(RGB(0, 0, 0), RGB(255, 255, 255), backBuffer);
    Rectangle(backBuffer, left, top, right, bottom);
    DrawImage(backBuffer, dc_pto, captionX, captionY, 250, 40);
}

void Slider(double& value, const SliderScale& scale, HDC dc_scr, MSG& msg, HACCEL hAccelTable)
{
    const int H = screenHeight;
    const int trackX = scale.barOffset + 435, trackY = H - 55;
    const int x0 = scale.barOffset + 442;
    const double k = 160 * scale.divisor / 100;
    if (IsMouseOver(Trunc(x0 + k * value), H - 22, 16, 16) && mouseButtons == 1) {
        // Ends on the release, or when the window is gone and no release can come.
        while (mouseButtons == 1 && !quitRequested) {
            int n = ((mouseX - scale.grab - x0) * 100) / 160;
            value = n / scale.divisor;
            if (value > scale.maximum)
                value = scale.maximum;
            if (value <= 0)
                value = scale.minimum;
            // During the drag only the slider moves, straight on the screen, with screenDC's own
            // pen and brush (a white thumb with a black outline).
            DrawImage(screenDC, dc_scr, trackX, trackY, 143, 50);
            Rectangle(screenDC, Trunc(x0 + k * value), H - 22, Trunc(x0 + 16 + k * value), H - 6);
            PumpOneMessage(msg, hAccelTable);
        }
    }
    DrawImage(backBuffer, dc_scr, trackX, trackY, 143, 50);
    Rectangle(backBuffer, Trunc(x0 + k * value), H - 22, Trunc(x0 + 16 + k * value), H - 6);
}
