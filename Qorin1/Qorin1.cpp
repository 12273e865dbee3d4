// Qorin1: a standing wave built from two equal waves running in opposite directions.
// Three strips show the wave running right, the wave running left and their sum with its fixed
// nodes; the lower two start under covers. The whole scene runs inside the entry point.
#include <cmath>

#include "shell.h"

// pi as the scene uses it: node spacing 3.1415*A/2, wavelength 3.1415*A.
static const double Pi = 3.1415;

static const COLORREF white = RGB(255, 255, 255);
static const COLORREF black = RGB(0, 0, 0);
static const COLORREF grey = RGB(150, 150, 150);
static const COLORREF blue = RGB(0, 50, 225);
static const COLORREF redOrange = RGB(200, 50, 0);
static const COLORREF red = RGB(250, 0, 0);

int APIENTRY wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand)
{
    HACCEL hAccelTable;
    if (!StartMainWindow(instance, showCommand, hAccelTable))
        return 0;
    backBuffer = CreateScreenSurface();
    MSG msg = {};

    const int W = screenWidth, H = screenHeight;

    HDC dc_1 = LoadImageSurface(L"1.bmp", 150, 100);
    HDC dc_2 = LoadImageSurface(L"2.bmp", 150, 100);
    HDC dc_3 = LoadImageSurface(L"3.bmp", 150, 100);
    HDC dc_s = LoadImageSurface(L"s.bmp", 150, 50);
    HDC dc_p = LoadImageSurface(L"p.bmp", 150, 50);
    HDC dc_e = LoadImageSurface(L"e.bmp", 150, 50);
    HDC dc_pl = LoadImageSurface(L"+.bmp", 50, 50);
    HDC dc_min = LoadImageSurface(L"-.bmp", 50, 50);
    HDC dc_scr = LoadImageSurface(L"scr.bmp", 143, 50);
    HDC dc_pto = LoadImageSurface(L"pto.bmp", 250, 40);
    HDC dc_top = LoadImageSurface(L"top.bmp", 700, 80);

    bool paused = true;
    bool forwardWaveCovered = false;
    bool backwardWaveCovered = true;
    bool standingWaveCovered = true;
    bool captionShown = true;
    double phase = 0.0;
    // A is the amplitude in pixels and the length scale: the phase advances 2 rad per A pixels.
    const double amplitude = (H - 190) / 8 - 1;
    double speed = 0.06;
    // The control bar moves left on a narrow screen, by 190 pixels at the most.
    int barOffset = W >= 850 ? 0 : W - 850;
    if (barOffset < -190)
        barOffset = -190;
    const DWORD frameDelay = 10;
    const double A = amplitude;
    // On a screen too short for the layout A is 0 or less: the searches below would not advance.
    const bool layoutFits = A > 0;

    while (!LoopShouldEnd()) {
        const int D = H - 190;
        const int Y1 = D / 8 + 100, Y2 = (D * 3) / 8 + 110, Y3 = (D * 3) / 4 + 120;
        const double p = phase;

        if (!paused)
            captionShown = false;

        SetColor(white, backBuffer);
        Rectangle(backBuffer, 0, 0, W, H);
        DrawImage(backBuffer, dc_top, 10, 0, 700, 80);

        SetColors(black, white, backBuffer);
        Rectangle(backBuffer, 200, 100, W - 20, D / 4 + 100);
        Rectangle(backBuffer, 200, D / 4 + 110, W - 20, D / 2 + 110);
        Rectangle(backBuffer, 200, D / 2 + 120, W - 20, H - 70);

        DrawImage(backBuffer, dc_1, 30, 105, 150, 100);
        DrawImage(backBuffer, dc_2, 30, D / 4 + 115, 150, 100);
        DrawImage(backBuffer, dc_3, 30, D / 2 + 135, 150, 100);

        // A click on a strip flips its cover in this same frame.
        if (AreaClicked(200, 100, W - 220, D / 4, msg, hAccelTable))
            forwardWaveCovered = !forwardWaveCovered;
        if (AreaClicked(200, D / 4 + 110, W - 220, D / 4, msg, hAccelTable))
            backwardWaveCovered = !backwardWaveCovered;
        if (AreaClicked(200, D / 2 + 120, W - 220, D / 2, msg, hAccelTable))
            standingWaveCovered = !standingWaveCovered;

        ReplaceObject(CreatePen(PS_SOLID, 1, grey), backBuffer);
        DrawLine(backBuffer, 201, Y1, W - 21, Y1);
        DrawLine(backBuffer, 201, Y2, W - 21, Y2);
        DrawLine(backBuffer, 201, Y3, W - 21, Y3);

        // Upward on the screen is positive; the sum is 2A sin(2x/A) cos(p), so its zeros stay put.
        auto yR = [&](double x) { return Trunc(Y1 - A * std::sin(2 * x / A + p)); };
        auto yL = [&](double x) { return Trunc(Y2 - A * std::sin(2 * x / A - p)); };
        auto yS = [&](double x) { return Trunc(Y3 - (std::sin(2 * x / A - p) + std::sin(2 * x / A + p)) * A); };

        ReplaceObject(CreatePen(PS_SOLID, 3, blue), backBuffer);
        int previousX = 201, previousR = yR(201), previousL = yL(201), previousS = yS(201);
        for (double x = 201; x < W - 20; x += 2) {
            const int column = Trunc(x), r = yR(x), l = yL(x), s = yS(x);
            DrawLine(backBuffer, previousX, previousR, column, r);
            DrawLine(backBuffer, previousX, previousL, column, l);
            DrawLine(backBuffer, previousX, previousS, column, s);
            previousX = column;
            previousR = r;
            previousL = l;
            previousS = s;
        }

        SetColor(redOrange, backBuffer);
        const double nodeSpacing = Pi * A / 2;
        for (double xn = nodeSpacing; layoutFits && xn < W - 20; xn += nodeSpacing)
            if (xn > 200)
                DrawCircle(backBuffer, Trunc(xn), Y3, 5);

        if (forwardWaveCovered)
            DrawCover(200, 100, W - 20, D / 4 + 100, dc_pto, W / 2 - 100, D / 8 + 70);
        if (backwardWaveCovered)
            DrawCover(200, D / 4 + 110, W - 20, D / 2 + 110, dc_pto, W / 2 - 100, (D * 3) / 8 + 80);
        if (standingWaveCovered)
            DrawCover(200, D / 2 + 120, W - 20, H - 70, dc_pto, W / 2 - 100, (D * 3) / 4 + 90);

        SetColor(black, backBuffer);
        if (ExitButton(dc_e, W - 171, 10, msg, hAccelTable))
            break;

        // The wavelength strokes stand where the top wave, at phase 0, has a lowest point.
        double xm = Pi * A * 3 / 4;
        while (layoutFits && xm < W - 20 && xm < 200)
            xm += Pi * A;
        ReplaceObject(CreatePen(PS_SOLID, 3, red), backBuffer);
        DrawLine(backBuffer, Trunc(xm), D / 4 + 90, Trunc(xm), D / 4 + 110);
        DrawLine(backBuffer, Trunc(xm) + Pi * A, D / 4 + 90, Trunc(xm) + Pi * A, D / 4 + 110);

        if (captionShown) {
            SetColor(red, backBuffer);
            ReplaceObject(CreateFontW(Trunc(2 * A / 8), Trunc(A / 8), 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE,
                                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                      FIXED_PITCH, L"Arial"),
                          backBuffer);
            TextOutW(backBuffer, Trunc(Trunc(xm) + Pi * A / 2 - A + 15), Trunc(D / 4 + 90 - A / 8 - 5),
                     L" wavelength ", 12);
        }

        SetColor(black, backBuffer);
        if (ImageButtonPressed(barOffset + 381, H - 55, 50, 50, msg, hAccelTable)) {
            if (speed > 0.01)
                speed = speed - 0.01;
            else
                speed = 0.001;
        }
        DrawImage(backBuffer, dc_min, barOffset + 381, H - 55, 50, 50);

        // The test comes before the step, so speed can end up to 0.01 above 0.7.
        if (ImageButtonPressed(barOffset + 581, H - 55, 50, 50, msg, hAccelTable)) {
            if (speed < 0.7)
                speed = speed + 0.01;
        }
        DrawImage(backBuffer, dc_pl, barOffset + 581, H - 55, 50, 50);

        Slider(speed, SliderScale{barOffset, 100, 0, 0.7, 0.001}, dc_scr, msg, hAccelTable);

        SetColor(black, backBuffer);
        StartPauseButton(paused, dc_s, dc_p, barOffset + 201, H - 55, msg, hAccelTable);

        if (!paused)
            phase = phase - speed;

        BitBlt(screenDC, 0, 0, W, H, backBuffer, 0, 0, SRCCOPY);
        FinishFrame(msg, hAccelTable, frameDelay, SleepFirst);
    }

    DestroySurface(dc_1);
    DestroySurface(dc_2);
    DestroySurface(dc_3);
    DestroySurface(dc_s);
    DestroySurface(dc_p);
    DestroySurface(dc_e);
    DestroySurface(dc_pl);
    DestroySurface(dc_min);
    DestroySurface(dc_scr);
    DestroySurface(dc_pto);
    DestroySurface(dc_top);
    return (int)msg.wParam;
}
