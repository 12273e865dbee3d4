// Qorin4: the polarization of light from two perpendicular components X and Y with their own
// amplitudes and a phase difference. The space view shows both components along the propagation
// axis, the plane view the turning field vector and its trace, with a caption naming the kind.
// The phase difference is set with a slider or typed into a small edit field.
#include <cmath>

#include "shell.h"
#include "polarization.h"

// The half turn as the drawing uses it; the reset uses 1.570796 for a quarter turn.
static const double Pi = 3.1415;

static const COLORREF white = RGB(255, 255, 255);
static const COLORREF black = RGB(0, 0, 0);
static const COLORREF axisGrey = RGB(100, 100, 100);
static const COLORREF componentY = RGB(240, 50, 25);
static const COLORREF componentX = RGB(210, 50, 25);
static const COLORREF vectorRed = RGB(250, 50, 25);
static const COLORREF traceOlive = RGB(150, 150, 25);
static const COLORREF captionInk = RGB(20, 20, 20);

// Program globals: the phase difference in units of pi, set by the slider or the field.
double phaseDifference = 0.5;
bool phaseEdited = false;
HWND phaseField;
HDC sceneSurface;

// Added to the x of every bottom control; fixed, whatever the screen's width.
static const int barOffset = -190;

// Layout quantities, computed once at start from the screen size.
static double waveScale, figureScale, originX, axisY, figureCentreX, figureCentreY;

struct TracePoint {
    double x, y;
};

enum SliderKind { PhaseSlider, AmplitudeXSlider, AmplitudeYSlider, SpeedSlider };

static void DrawSpaceAxes(HDC dc_Z, HDC dc_Y, HDC dc_X, double scale)
{
    const int W = screenWidth, H = screenHeight;
    const int B = (H - 190) * 3 / 10, E = 3 * W / 5 - 20;
    SetColors(black, white, sceneSurface);
    Rectangle(sceneSurface, 5, (H - 190) / 10 + 65, 3 * W / 5 - 18, Trunc(B + 105 + scale));
    ReplaceObject(CreatePen(PS_SOLID, 2, axisGrey), sceneSurface);

    DrawLine(sceneSurface, originX, axisY, E, axisY);
    DrawLine(sceneSurface, 3 * W / 5 - 28, B + 95, E, axisY);
    DrawLine(sceneSurface, 3 * W / 5 - 28, B + 104, E, axisY);
    DrawImage(sceneSurface, dc_Z, 3 * W / 5 - 61, B + 110, 40, 40);

    const int yTop = (H - 190) / 10 + 70;
    DrawLine(sceneSurface, originX, yTop, originX, axisY);
    DrawLine(sceneSurface, originX, yTop, originX + 4, (H - 190) / 10 + 78);
    DrawLine(sceneSurface, originX, yTop, originX - 4, (H - 190) / 10 + 78);
    DrawImage(sceneSurface, dc_Y, Trunc(originX - 50), (H - 190) / 10 + 80, 40, 40);

    // The X axis points down and left at 30 degrees: sqrt(3) across for every 1 down.
    const double xo = originX - std::sqrt(3.0) * (H - 190) / 9;
    const int yo = B + (H - 190) / 9 + 100;
    DrawImage(sceneSurface, dc_X, Trunc(xo), B + (H - 190) / 12 + 50, 40, 40);
    DrawLine(sceneSurface, originX, axisY, xo, yo);
    DrawLine(sceneSurface, xo + 6, B + (H - 190) / 9 + 93, xo, yo);
    DrawLine(sceneSurface, xo + 9, B + (H - 190) / 9 + 99, xo, yo);
}

// Paints the whole plane panel anew, which also wipes the trace.
static void DrawPlaneAxes(HDC dc_X, HDC dc_Y)
{
    const int W = screenWidth, H = screenHeight;
    const int T = (H - 190) / 10;
    SetColors(black, white, sceneSurface);
    Rectangle(sceneSurface, 3 * W / 5, T + 65, W - 18, T + 2 * W / 5 + 55);
    ReplaceObject(CreatePen(PS_SOLID, 2, axisGrey), sceneSurface);

    DrawLine(sceneSurface, 3 * W / 5, figureCentreY, W - 20, figureCentreY);
    DrawLine(sceneSurface, 3 * W / 5 + 8, figureCentreY + 4, 3 * W / 5, figureCentreY);
    DrawLine(sceneSurface, 3 * W / 5 + 8, figureCentreY - 4, 3 * W / 5, figureCentreY);
    DrawImage(sceneSurface, dc_X, 3 * W / 5 + 10, Trunc(figureCentreY + 4), 40, 40);

    DrawLine(sceneSurface, figureCentreX, T + 70, figureCentreX, T + 2 * W / 5 + 50);
    DrawLine(sceneSurface, figureCentreX - 4, T + 78, figureCentreX, T + 70);
    DrawLine(sceneSurface, figureCentreX + 4, T + 78, figureCentreX, T + 70);
    DrawImage(sceneSurface, dc_Y, 4 * W / 5, T + 70, 40, 40);
}

static void DrawPolarizedWave(double t, double d, double aX, double aY, TracePoint& tracePrevious)
{
    const int W = screenWidth;
    const double k = waveScale, R = figureScale;
    const int L = 3 * W / 5 - 20;

    // Neither shift exceeds a half turn, and X always leads Y by d half turns.
    double sY, sX;
    if (d > 1) {
        sY = -(d - 1) * Pi;
        sX = Pi;
    } else if (d > 0) {
        sY = 0;
        sX = d * Pi;
    } else if (d >= -1) {
        sY = -d * Pi;
        sX = 0;
    } else {
        sY = -Pi;
        sX = (d + 1) * Pi;
    }

    // The field vector at the origin column; X points left in the plane view, Y up.
    const double u = originX / k + t;
    const double tipX = figureCentreX - std::sin(u + sX) * aX * R;
    const double tipY = figureCentreY - std::sin(u + sY) * aY * R;
    ReplaceObject(CreatePen(PS_SOLID, 3, vectorRed), backBuffer);
    DrawLine(backBuffer, figureCentreX, figureCentreY, tipX, tipY);
    // The trace goes onto the scene picture, so it shows from the next frame on.
    ReplaceObject(CreatePen(PS_SOLID, 2, traceOlive), sceneSurface);
    if (tracePrevious.x == 0)
        tracePrevious = {tipX, tipY};
    DrawLine(sceneSurface, tracePrevious.x, tracePrevious.y, tipX, tipY);
    tracePrevious = {tipX, tipY};

    // A hatch line every tenth of a wavelength (2 pi k pixels). On a screen too small for the
    // layout the spacing comes out 0 and there are none.
    const int hatchSpacing = Trunc(k * Pi / 5);
    double previousYx = 0, previousYy = 0, previousXx = 0, previousXy = 0;
    bool first = true;
    for (double z = originX; z < 3 * W / 5 + k - 20; z += 1) {
        const double eY = std::sin(z / k + t + sY) * k * aY;
        const double yx = z, yy = Trunc(axisY - eY);
        // X runs along the oblique axis, drawn at 0.85 of its length: cos 30 across, sin 30 down.
        const double eX = std::sin(z / k + t + sX) * k * aX;
        double xx = z - eX * 0.85 * std::sqrt(3.0) / 2;
        double xy = Trunc(eX * 0.85 * std::sqrt(1.0) / 2 + axisY);
        if (first) {
            previousYx = yx, previousYy = yy, previousXx = xx, previousXy = xy;
            first = false;
        }
        ReplaceObject(CreatePen(PS_SOLID, 3, componentY), backBuffer);
        if (L > z)
            DrawLine(backBuffer, previousYx, previousYy, yx, yy);
        ReplaceObject(CreatePen(PS_SOLID, 3, componentX), backBuffer);
        if (L > xx)
            DrawLine(backBuffer, previousXx, previousXy, xx, xy);
        previousYx = yx, previousYy = yy, previousXx = xx, previousXy = xy;

        if (hatchSpacing != 0 && Trunc(z - originX) % hatchSpacing == 0 && L > z) {
            ReplaceObject(CreatePen(PS_SOLID, 3, componentY), backBuffer);
            DrawLine(backBuffer, z, axisY, yx, yy);
            ReplaceObject(CreatePen(PS_SOLID, 3, componentX), backBuffer);
            // A hatch of X that would reach past the axis's end is cut back along itself to x = L.
            if (xx > L) {
                const double slope = (xy - axisY) / (xx - z);
                xx = L;
                xy = (L - z) * slope + axisY;
            }
            DrawLine(backBuffer, z, axisY, xx, xy);
        }
    }
}

static void SelectReadoutFont(HDC target, int height, int width)
{
    ReplaceObject(CreateFontW(height, width, 0, 0, 0, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, L"Arial"),
                  target);
}

// The signed readout can also become the field's text, which the field reads straight back.
static void DrawReadout(HDC target, int x, int y, double value, COLORREF colour, bool withSign, bool copyToField)
{
    SetColor(colour, target);
    SelectReadoutFont(target, 25, 15);
    WCHAR text[6];
    ReadoutText(value, withSign, text);
    if (withSign && copyToField)
        SetWindowTextW(phaseField, text);
    TextOutW(target, x, y, text, withSign ? 5 : 4);
}

static void DrawPolarizationCaption(HDC target, int x, int y, double aY, double aX, double d)
{
    const int H = screenHeight;
    SetColor(captionInk, target);
    SelectReadoutFont(target, H / 45, H / 70);
    const int kind = PolarizationKind(aX, aY, d);
    TextOutW(target, x, y, polarizationCaptions[kind], polarizationCaptionLengths[kind]);
}

static double ThumbLeft(SliderKind kind, int base, double value)
{
    switch (kind) {
    case PhaseSlider:
        return base + (value + 2) / 28 * 800;
    case AmplitudeXSlider:
    case AmplitudeYSlider:
        return base + value / 7 * 800;
    case SpeedSlider:
        break;
    }
    return base + value * 800;
}

// The value under the pointer; mouseX - 8 puts the pointer at the thumb's centre.
static double SliderValue(SliderKind kind, int base)
{
    if (kind == PhaseSlider) {
        const int n = (mouseX - 8 - base) * 10 / 16;
        double p = n / 500.0;
        p = p * 7;
        double d = Trunc((p - 0.5) * 80) / 20.0;
        if (d > 2)
            d = 2;
        if (d < -2)
            d = -2;
        return d;
    }
    const int n = (mouseX - 8 - base) * 100 / 160;
    if (kind == SpeedSlider) {
        double speed = n / 500.0;
        if (speed > 0.14)
            speed = 0.14;
        if (speed <= 0)
            speed = 0.001;
        return speed;
    }
    double a = n / 500.0;
    a = a * 7;
    a = Trunc(a * 20) / 20.0;
    if (a > 1)
        a = 1;
    if (a < 0)
        a = 0;
    return a;
}

// A slider: a drag of the thumb is drawn straight onto the window while it lasts; then the track
// and the thumb (in the pen and brush current on backBuffer) go into the frame.
static void Slider(SliderKind kind, double& value, HDC dc_track, int trackX, int trackY, int trackHeight, int base,
                   int thumbTop, HDC dc_X, HDC dc_Y, TracePoint& tracePrevious, MSG& msg, HACCEL hAccelTable)
{
    const int H = screenHeight;
    if (IsMouseOver(Trunc(ThumbLeft(kind, base, value)), thumbTop, 16, 16) && mouseButtons == 1) {
        // Ends on the release, or when the window is gone and no release can come.
        while (mouseButtons == 1 && !quitRequested) {
            value = SliderValue(kind, base);
            SetColors(black, white, screenDC);
            DrawImage(screenDC, dc_track, trackX, trackY, 143, trackHeight);
            const double left = ThumbLeft(kind, base, value);
            Rectangle(screenDC, Trunc(left), thumbTop, Trunc(left + 16), thumbTop + 16);
            if (kind == PhaseSlider)
                DrawReadout(screenDC, 163, H - 242, value, componentX, true, true);
            else if (kind == AmplitudeXSlider)
                DrawReadout(screenDC, barOffset + 350, H - 115, value, componentX, false, false);
            else if (kind == AmplitudeYSlider)
                DrawReadout(screenDC, barOffset + 580, H - 115, value, componentY, false, false);
            if (kind != SpeedSlider) {
                DrawPlaneAxes(dc_X, dc_Y);
                tracePrevious.x = 0;
            }
            PumpOneMessage(msg, hAccelTable);
        }
    }
    DrawImage(backBuffer, dc_track, trackX, trackY, 143, trackHeight);
    const double left = ThumbLeft(kind, base, value);
    Rectangle(backBuffer, Trunc(left), thumbTop, Trunc(left + 16), thumbTop + 16);
    if (kind == AmplitudeXSlider)
        DrawReadout(backBuffer, barOffset + 350, H - 115, value, componentX, false, false);
    else if (kind == AmplitudeYSlider)
        DrawReadout(backBuffer, barOffset + 580, H - 115, value, componentY, false, false);
}

// The shell's window procedure with the phase field: made with the window, read at every change.
static LRESULT CALLBACK PolarizationWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        phaseField = CreateWindowExW(0, L"edit", L"0.000", WS_CHILD | WS_VISIBLE | WS_BORDER, 160, screenHeight - 183,
                                     40, 20, window, (HMENU)1, instanceHandle, nullptr);
        return 0;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == 1 && HIWORD(wParam) == EN_CHANGE) {
        WCHAR text[80];
        char narrow[80];
        const int length = GetWindowTextW(phaseField, text, 80);
        // Each character keeps only its low 8 bits.
        for (int i = 0; i < length; ++i)
            narrow[i] = (char)(text[i] & 0xFF);
        narrow[length] = 0;
        phaseDifference = PhaseFromText(narrow);
        phaseEdited = true;
    }
    return MainWindowProc(window, message, wParam, lParam);
}

int APIENTRY wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand)
{
    HACCEL hAccelTable;
    if (!StartMainWindow(instance, showCommand, hAccelTable, PolarizationWindowProc))
        return 0;
    sceneSurface = CreateScreenSurface();
    backBuffer = CreateScreenSurface();
    MSG msg = {};

    const int W = screenWidth, H = screenHeight;

    HDC dc_s = LoadImageSurface(L"s.bmp", 150, 50);
    HDC dc_p = LoadImageSurface(L"p.bmp", 150, 50);
    HDC dc_e = LoadImageSurface(L"ex.bmp", 150, 50);
    HDC dc_pl = LoadImageSurface(L"+.bmp", 50, 50);
    HDC dc_min = LoadImageSurface(L"-.bmp", 50, 50);
    HDC dc_scr = LoadImageSurface(L"scr.bmp", 143, 50);
    HDC dc_rst = LoadImageSurface(L"rst.bmp", 150, 50);
    HDC dc_scr2 = LoadImageSurface(L"scr2.bmp", 143, 50);
    HDC dc_scr1 = LoadImageSurface(L"scr1.bmp", 143, 50);
    HDC dc_scr0 = LoadImageSurface(L"scr0.bmp", 143, 80);
    HDC dc_X = LoadImageSurface(L"X.bmp", 40, 40);
    HDC dc_Y = LoadImageSurface(L"Y.bmp", 40, 40);
    HDC dc_Z = LoadImageSurface(L"Z.bmp", 40, 40);

    double phase = 0;
    double speed = 0.06;
    bool paused = true;
    double amplitudeX = 1;
    double amplitudeY = 1;
    TracePoint tracePrevious = {0, 0};

    waveScale = (2 * H - 380) / 10 - 5;
    figureScale = W / 5 - 18;
    originX = (H - 190) / 4;
    axisY = (H - 190) * 3 / 10 + 100;
    figureCentreX = 4 * W / 5 - 10;
    figureCentreY = (H - 190) / 10 + W / 5 + 60;

    SetColor(white, sceneSurface);
    Rectangle(sceneSurface, 0, 0, W, H);
    HDC dc_top = LoadImageSurface(L"top.bmp", 600, 80);
    DrawImage(sceneSurface, dc_top, 10, 10, 600, 80);
    DestroySurface(dc_top);
    DrawSpaceAxes(dc_Z, dc_Y, dc_X, waveScale);
    DrawPlaneAxes(dc_X, dc_Y);
    HDC dc_pi = LoadImageSurface(L"Pi.bmp", 30, 30);
    HDC dc_pi2 = LoadImageSurface(L"Pi2.bmp", 30, 30);
    DrawImage(sceneSurface, dc_pi2, 243, H - 249, 30, 30);
    DrawImage(sceneSurface, dc_pi, 203, H - 190, 30, 30);
    DestroySurface(dc_pi);
    DestroySurface(dc_pi2);

    while (!LoopShouldEnd()) {
        BitBlt(backBuffer, 0, 0, W, H, sceneSurface, 0, 0, SRCCOPY);
        SetColor(black, backBuffer);
        if (ExitButton(dc_e, W - 171, 10, msg, hAccelTable))
            break;

        if (!paused)
            phase = phase - speed;
        if (phaseEdited) {
            DrawPlaneAxes(dc_X, dc_Y);
            tracePrevious.x = 0;
            phaseEdited = false;
        }
        DrawPolarizedWave(phase, phaseDifference, amplitudeX, amplitudeY, tracePrevious);

        SetColor(black, backBuffer);
        Slider(PhaseSlider, phaseDifference, dc_scr0, barOffset + 205, H - 245, 80, barOffset + 212, H - 182, dc_X,
               dc_Y, tracePrevious, msg, hAccelTable);
        SetColor(black, backBuffer);
        Slider(AmplitudeXSlider, amplitudeX, dc_scr1, barOffset + 205, H - 115, 50, barOffset + 212, H - 82, dc_X,
               dc_Y, tracePrevious, msg, hAccelTable);
        SetColor(black, backBuffer);
        Slider(AmplitudeYSlider, amplitudeY, dc_scr2, barOffset + 435, H - 115, 50, barOffset + 442, H - 82, dc_X,
               dc_Y, tracePrevious, msg, hAccelTable);
        SetColor(black, backBuffer);
        Slider(SpeedSlider, speed, dc_scr, barOffset + 435, H - 55, 50, barOffset + 442, H - 22, dc_X, dc_Y,
               tracePrevious, msg, hAccelTable);

        SetColor(black, backBuffer);
        if (ImageButtonPressed(barOffset + 381, H - 55, 50, 50, msg, hAccelTable)) {
            if (speed > 0.004)
                speed = speed - 0.002;
            else
                speed = 0.001;
        }
        DrawImage(backBuffer, dc_min, barOffset + 381, H - 55, 50, 50);
        // The test comes before the step, so speed can end up to 0.002 above 0.14.
        if (ImageButtonPressed(barOffset + 581, H - 55, 50, 50, msg, hAccelTable)) {
            if (speed < 0.14)
                speed = speed + 0.002;
        }
        DrawImage(backBuffer, dc_pl, barOffset + 581, H - 55, 50, 50);

        // Start/pause has no pressed look here: the window keeps the last frame while it is held.
        SetColor(black, backBuffer);
        if (ImageButtonPressed(barOffset + 201, H - 55, 150, 50, msg, hAccelTable))
            paused = !paused;
        DrawImage(backBuffer, paused ? dc_s : dc_p, barOffset + 201, H - 55, 150, 50);

        // Reset clears the plane panel and rewinds at the press; it pauses after the release.
        SetColor(black, backBuffer);
        const int resetX = barOffset + 661, resetY = H - 55;
        if (IsMouseOver(resetX, resetY, 150, 50)) {
            Rectangle(backBuffer, resetX - 3, resetY - 3, resetX + 153, resetY + 53);
            if (mouseButtons == 1) {
                DrawPlaneAxes(dc_X, dc_Y);
                tracePrevious.x = 0;
                phase = 1.570796 - (H - 190) / (4 * waveScale);
                WaitForRelease(msg, hAccelTable);
                paused = true;
            }
        } else {
            Rectangle(backBuffer, resetX - 1, resetY - 1, resetX + 151, resetY + 51);
        }
        DrawImage(backBuffer, dc_rst, resetX, resetY, 150, 50);

        DrawPolarizationCaption(backBuffer, 3 * W / 5, (H - 190) / 10 + 2 * W / 5 + 75, amplitudeY, amplitudeX,
                                phaseDifference);
        DrawReadout(backBuffer, 163, H - 242, phaseDifference, componentX, true, false);
        // The field is drawn on the window itself: its pixels come back from there.
        BitBlt(backBuffer, 160, H - 183, 40, 20, screenDC, 160, H - 183, SRCCOPY);
        BitBlt(screenDC, 0, 0, W, H, backBuffer, 0, 0, SRCCOPY);
        FinishFrame(msg, hAccelTable, 15, SleepLast);
    }

    DestroySurface(dc_X);
    DestroySurface(dc_Y);
    DestroySurface(dc_Z);
    DestroySurface(dc_s);
    DestroySurface(dc_p);
    DestroySurface(dc_e);
    DestroySurface(dc_pl);
    DestroySurface(dc_min);
    DestroySurface(dc_scr);
    DestroySurface(dc_rst);
    DestroySurface(dc_scr1);
    DestroySurface(dc_scr2);
    DestroySurface(dc_scr0);
    return (int)msg.wParam;
}
