// Qorin3: a travelling electromagnetic wave. The field panel shows E (red) and H (blue) in phase
// on a three-axis frame; the flux panel below, covered at start, shows the energy flux density.
// The scene, its controls and its frame loop all run inside the entry point.
#include "qorin3.h"

HDC sceneSurface = nullptr;

static const COLORREF white = RGB(255, 255, 255);
static const COLORREF black = RGB(0, 0, 0);

int APIENTRY wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand)
{
    HACCEL hAccelTable;
    if (!StartMainWindow(instance, showCommand, hAccelTable))
        return 0;
    sceneSurface = CreateScreenSurface();
    backBuffer = CreateScreenSurface();
    MSG msg = {};

    const int W = screenWidth, H = screenHeight;

    HDC dc_E = LoadImageSurface(L"E.bmp", 40, 40);
    HDC dc_H = LoadImageSurface(L"H.bmp", 40, 40);
    HDC dc_k = LoadImageSurface(L"k.bmp", 40, 40);
    HDC dc_s = LoadImageSurface(L"s.bmp", 150, 50);
    HDC dc_sL = LoadImageSurface(L"S_.bmp", 40, 40);
    HDC dc_p = LoadImageSurface(L"p.bmp", 150, 50);
    HDC dc_e = LoadImageSurface(L"ex.bmp", 150, 50);
    HDC dc_pl = LoadImageSurface(L"+.bmp", 50, 50);
    HDC dc_min = LoadImageSurface(L"-.bmp", 50, 50);
    HDC dc_scr = LoadImageSurface(L"scr.bmp", 143, 50);
    HDC dc_pto = LoadImageSurface(L"pto.bmp", 250, 40);

    // A is the amplitude in pixels and the length scale: one radian of phase spans A pixels.
    const double amplitude = (H + H - 380) / 10 - 5;
    double phase = 0.0;
    double speed = 0.03;
    bool paused = true;
    const int barOffset = -180;
    bool fluxPanelOpen = false;
    const DWORD frameDelay = 15;
    const double A = amplitude;
    const int P = barOffset;

    SetColor(white, sceneSurface);
    Rectangle(sceneSurface, 0, 0, W, H);
    HDC dc_top = LoadImageSurface(L"top.bmp", 600, 80);
    DrawImage(sceneSurface, dc_top, 10, 10, 600, 80);
    DestroySurface(dc_top);
    HDC dc_form = LoadImageSurface(L"form.bmp", 150, 50);
    DrawImage(sceneSurface, dc_form, W - 240, H - 80, 150, 50);
    DestroySurface(dc_form);
    HDC dc_kv = LoadImageSurface(L"k_v.bmp", 80, 40);
    DrawImage(sceneSurface, dc_kv, (H - 190) / 4 + 100, (H - 190) / 10 + 70, 80, 40);
    DestroySurface(dc_kv);
    DrawSpaceAxes(dc_k, dc_E, dc_H);
    DrawFluxPanel(dc_sL, dc_k, A);

    while (!LoopShouldEnd()) {
        const int D = H - 190;
        const int B = (D * 3) / 10;

        BitBlt(backBuffer, 0, 0, W, H, sceneSurface, 0, 0, SRCCOPY);
        SetColor(black, backBuffer);
        if (ExitButton(dc_e, W - 171, 10, msg, hAccelTable))
            break;

        if (!paused)
            phase = phase - speed;

        DrawTravellingWave(A, phase, fluxPanelOpen);
        DrawPanelBorders(A);

        // The thumb's left edge follows the pointer, 800 px per unit of speed.
        Slider(speed, SliderScale{P, 500, 0, 0.14, 0.001}, dc_scr, msg, hAccelTable);

        SetColor(black, backBuffer);
        if (ImageButtonPressed(P + 381, H - 55, 50, 50, msg, hAccelTable)) {
            if (speed > 0.004)
                speed = speed - 0.002;
            else
                speed = 0.001;
        }
        DrawImage(backBuffer, dc_min, P + 381, H - 55, 50, 50);

        // The test comes before the step, so speed can end up to 0.002 above 0.14.
        if (ImageButtonPressed(P + 581, H - 55, 50, 50, msg, hAccelTable)) {
            if (speed < 0.14)
                speed = speed + 0.002;
        }
        DrawImage(backBuffer, dc_pl, P + 581, H - 55, 50, 50);

        // The cover hides the flux panel with its curve; its caption sits right of the middle.
        const int panelTop = Trunc(B + 120 + A);
        if (!fluxPanelOpen)
            DrawCover(20, panelTop, W - 20, Trunc(B + 160 + 3 * A), dc_pto, (W - 100) / 2, Trunc(B + 120 + 2 * A));
        // The panel's area toggles whether the cover is shown or not, with no frame of its own.
        if (AreaClicked(20, panelTop, W - 40, Trunc(2 * A + 40), msg, hAccelTable))
            fluxPanelOpen = !fluxPanelOpen;

        SetColor(black, backBuffer);
        StartPauseButton(paused, dc_s, dc_p, P + 201, H - 55, msg, hAccelTable);

        BitBlt(screenDC, 0, 0, W, H, backBuffer, 0, 0, SRCCOPY);
        FinishFrame(msg, hAccelTable, frameDelay, SleepLast);
    }

    DestroySurface(dc_pto);
    DestroySurface(dc_E);
    DestroySurface(dc_H);
    DestroySurface(dc_k);
    DestroySurface(dc_s);
    DestroySurface(dc_sL);
    DestroySurface(dc_p);
    DestroySurface(dc_e);
    DestroySurface(dc_pl);
    DestroySurface(dc_min);
    DestroySurface(dc_scr);
    return (int)msg.wParam;
}
