// Qorin5: a standing electromagnetic wave. The electric and magnetic fields stand still along
// the axis of travel and swing in time a quarter period apart; panels below show the energy
// densities and the energy flux, each under a cover until clicked. The scene runs in the entry.
#include "Qorin5.h"
#include "motion.h"

HDC sceneSurface = nullptr;

static const COLORREF white = RGB(255, 255, 255);
static const COLORREF black = RGB(0, 0, 0);

// Loads a caption, copies it onto the unchanging picture and lets it go.
static void StampImage(const WCHAR* fileName, int width, int height, int x, int y)
{
    HDC image = LoadImageSurface(fileName, width, height);
    DrawImage(sceneSurface, image, x, y, width, height);
    DestroySurface(image);
}

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
    HDC dc_sW = LoadImageSurface(L"W.bmp", 40, 40);
    HDC dc_p = LoadImageSurface(L"p.bmp", 150, 50);
    HDC dc_e = LoadImageSurface(L"ex.bmp", 150, 50);
    HDC dc_pl = LoadImageSurface(L"+.bmp", 50, 50);
    HDC dc_min = LoadImageSurface(L"-.bmp", 50, 50);
    HDC dc_scr = LoadImageSurface(L"scr.bmp", 143, 50);
    HDC dc_pto = LoadImageSurface(L"pto.bmp", 250, 40);

    // A is the full field amplitude in pixels and the length scale: one radian spans A pixels.
    const double amplitude = (H + H - 380) / 15 - 5;
    double phase = 0.0;
    double speed = 0.06;
    bool paused = false;
    const int barOffset = -180;
    double electricFactor = 1.0, magneticFactor = 0.0;
    // Until the first use of a control the factors move by 0.05, not by speed.
    double electricStep = 0.05, magneticStep = 0.05;
    bool densityPanelOpen = false, fluxPanelOpen = false;

    const double A = amplitude;
    const int P = barOffset, D = H - 190;
    const int X0 = D / 4 + 20, B = (D * 3) / 10;

    SetColor(white, sceneSurface);
    Rectangle(sceneSurface, 0, 0, W, H);
    StampImage(L"top.bmp", 600, 80, 10, 10);
    DrawSpaceAxes(dc_k, dc_E, dc_H);
    DrawDensityPanel(dc_sW, dc_k, A);
    DrawFluxPanel(dc_sL, dc_k, A);
    // Each panel caption lies one pixel below its panel's top border, 10 pixels left of centre.
    const int Xt = W / 2 - 210;
    StampImage(L"top1.bmp", 400, 35, Xt, D / 10 + 41);
    StampImage(L"top2.bmp", 400, 35, Xt, Trunc(B + 61 + A));
    StampImage(L"top3.bmp", 400, 35, Xt, Trunc(B + 111 + 3 * A));
    // The sine's origin at x = X0: the electric crest and the magnetic node stand on the E axis.
    phase = -X0 / A;
    densityPanelOpen = false;
    fluxPanelOpen = false;

    // A new speed takes over the size of both steps and keeps their directions.
    auto takeSpeed = [&] {
        electricStep = SignOf(electricStep) * speed;
        magneticStep = SignOf(magneticStep) * speed;
    };
    // The thumb's centre follows the pointer.
    const SliderScale speedScale{barOffset, 500, 8, 0.14, 0.001};

    while (!LoopShouldEnd()) {
        DrawImage(backBuffer, sceneSurface, 0, 0, W, H);
        SetColor(black, backBuffer);
        if (ExitButton(dc_e, W - 171, 10, msg, hAccelTable))
            break;

        if (!paused) {
            StepFactor(electricFactor, electricStep);
            StepFactor(magneticFactor, magneticStep);
        }

        DrawStandingWave(A, phase, electricFactor, magneticFactor, fluxPanelOpen);
        DrawPanelBorders(A);

        // The slider drags when the press lands on the thumb: the same test it makes itself.
        const bool thumbPressed = IsMouseOver(Trunc(P + 442 + 800 * speed), H - 22, 16, 16) && mouseButtons == 1;
        Slider(speed, speedScale, dc_scr, msg, hAccelTable);
        if (thumbPressed)
            takeSpeed();

        SetColor(black, backBuffer);
        if (ImageButtonPressed(P + 381, H - 55, 50, 50, msg, hAccelTable)) {
            if (speed > 0.004)
                speed = speed - 0.002;
            else
                speed = 0.001;
            takeSpeed();
        }
        DrawImage(backBuffer, dc_min, P + 381, H - 55, 50, 50);

        // The test comes before the step, so speed can end up to 0.002 above 0.14.
        if (ImageButtonPressed(P + 581, H - 55, 50, 50, msg, hAccelTable)) {
            if (speed < 0.14)
                speed = speed + 0.002;
            takeSpeed();
        }
        DrawImage(backBuffer, dc_pl, P + 581, H - 55, 50, 50);

        if (!densityPanelOpen)
            DrawCover(20, Trunc(B + 60 + A), W - 20, Trunc(B + 100 + 3 * A), dc_pto, (W - 100) / 2, Trunc(B + 60 + 2 * A));
        if (AreaClicked(20, Trunc(B + 60 + A), W - 40, Trunc(2 * A + 40), msg, hAccelTable))
            densityPanelOpen = !densityPanelOpen;
        if (!fluxPanelOpen)
            DrawCover(20, Trunc(B + 110 + 3 * A), W - 20, Trunc(B + 150 + 5 * A), dc_pto, (W - 100) / 2,
                      Trunc(B + 110 + 4 * A));
        if (AreaClicked(20, Trunc(B + 110 + 3 * A), W - 40, Trunc(2 * A + 40), msg, hAccelTable))
            fluxPanelOpen = !fluxPanelOpen;

        SetColor(black, backBuffer);
        StartPauseButton(paused, dc_s, dc_p, P + 201, H - 55, msg, hAccelTable);

        BitBlt(screenDC, 0, 0, W, H, backBuffer, 0, 0, SRCCOPY);
        FinishFrame(msg, hAccelTable, 15, SleepLast);
    }

    DestroySurface(dc_pto);
    DestroySurface(dc_E);
    DestroySurface(dc_H);
    DestroySurface(dc_k);
    DestroySurface(dc_s);
    DestroySurface(dc_sL);
    DestroySurface(dc_sW);
    DestroySurface(dc_p);
    DestroySurface(dc_e);
    DestroySurface(dc_pl);
    DestroySurface(dc_min);
    DestroySurface(dc_scr);
    return (int)msg.wParam;
}
