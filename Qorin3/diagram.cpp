// The diagram of the travelling electromagnetic wave: the three-axis frame in oblique
// projection and the flux panel (drawn once onto sceneSurface), and in every frame the electric,
// magnetic and energy-flux curves with their arrows and the borders that frame both panels.
#include <cmath>

#include "qorin3.h"

static const COLORREF axisGrey = RGB(100, 100, 100);
static const COLORREF black = RGB(0, 0, 0);
static const COLORREF white = RGB(255, 255, 255);
static const COLORREF electricRed = RGB(250, 5, 5);
static const COLORREF magneticBlue = RGB(0, 5, 250);
static const COLORREF fluxGreen = RGB(50, 160, 25);

static void SelectPen(HDC surface, int width, COLORREF colour)
{
    ReplaceObject(CreatePen(PS_SOLID, width, colour), surface);
}

void DrawSpaceAxes(HDC dc_k, HDC dc_E, HDC dc_H)
{
    const int W = screenWidth, H = screenHeight, D = H - 190;
    const int X0 = D / 4 + 20, B = (D * 3) / 10, Y0 = B + 100;
    const double root3 = std::sqrt(3.0);
    HDC s = sceneSurface;

    SelectPen(s, 2, axisGrey);
    DrawLine(s, X0, Y0, W - 20, Y0);
    // The upper barb starts 5 px above the axis, the lower one 4 px below it.
    DrawLine(s, W - 28, B + 95, W - 20, Y0);
    DrawLine(s, W - 28, B + 104, W - 20, Y0);
    DrawImage(s, dc_k, W - 60, B + 110, 40, 40);

    const int E0 = D / 10 + 70;
    DrawLine(s, X0, E0, X0, Y0);
    DrawLine(s, X0, E0, X0 + 4, E0 + 8);
    DrawLine(s, X0, E0, X0 - 4, E0 + 8);
    DrawImage(s, dc_E, D / 4 - 40, E0, 40, 40);
    // The H label's x is measured from D/4, not from the origin X0 = D/4 + 20.
    DrawImage(s, dc_H, Trunc(D / 4 - root3 * D / 9.0 + 5), B + D / 12 + 60, 40, 40);

    // The magnetic axis leaves the origin at 30 degrees below the horizontal, direction
    // (-sqrt 3, 1), about 2D/9 pixels long.
    const double Zx = X0 - root3 * D / 9.0;
    const int Zy = Y0 + D / 9;
    DrawLine(s, X0, Y0, Zx, Zy);
    DrawLine(s, Zx + 6, Zy - 7, Zx, Zy);
    DrawLine(s, Zx + 9, Zy - 1, Zx, Zy);
}

void DrawFluxPanel(HDC dc_sL, HDC dc_k, double A)
{
    const int W = screenWidth, H = screenHeight, D = H - 190;
    const int X0 = D / 4 + 20, B = (D * 3) / 10;
    const double Y1 = B + 140 + 3 * A;  // the flux axis
    HDC s = sceneSurface;

    SetColor(black, s);
    DrawLine(s, W - 20, B + 120 + A, W - 20, B + 160 + 3 * A);
    DrawLine(s, 20, B + 120 + A, 20, B + 160 + 3 * A);
    DrawLine(s, 20, B + 120 + A, W - 20, B + 120 + A);
    DrawLine(s, 20, B + 160 + 3 * A, W - 20, B + 160 + 3 * A);
    DrawImage(s, dc_k, W - 60, Trunc(B + 3 * A + 100), 40, 40);

    SelectPen(s, 2, axisGrey);
    DrawLine(s, X0, Y1, W - 20, Y1);
    DrawLine(s, W - 28, Y1 - 5, W - 20, Y1);
    DrawLine(s, W - 28, Y1 + 4, W - 20, Y1);

    const double V = B + 130 + A;
    DrawLine(s, X0, V, X0, Y1);
    DrawLine(s, X0, V, X0 + 4, V + 8);
    DrawLine(s, X0, V, X0 - 4, V + 8);
    DrawImage(s, dc_sL, D / 4 - 30, Trunc(V), 40, 40);
}

// The arrows of one arrow column xi, all starting on the axis of travel at Y0.
static void DrawFieldArrows(int xi, double Y0, double s, double A, int yE, int xH, int yH, bool fluxPanelOpen)
{
    HDC b = backBuffer;
    SelectPen(b, 3, fluxGreen);
    if (fluxPanelOpen) {
        // The flux s*s/A never goes negative: the arrow always points along the travel.
        const double L = 0.9 * s * s / A;
        DrawLine(b, xi, Y0, xi + L, Y0);
        if (L > 8) {
            DrawLine(b, xi + L - 8, Y0 - 4, xi + L, Y0);
            DrawLine(b, xi + L - 8, Y0 + 4, xi + L, Y0);
        }
    }

    SelectPen(b, 3, electricRed);
    DrawLine(b, xi, Y0, xi, yE);
    if (s > 8) {
        DrawLine(b, xi - 4, yE + 8, xi, yE);
        DrawLine(b, xi + 4, yE + 8, xi, yE);
    } else if (s < -8) {
        DrawLine(b, xi - 4, yE - 8, xi, yE);
        DrawLine(b, xi + 4, yE - 8, xi, yE);
    }

    SelectPen(b, 3, magneticBlue);
    DrawLine(b, xi, Y0, xH, yH);
    if (s < -8) {
        DrawLine(b, xH, yH, xH - 7, yH);
        DrawLine(b, xH, yH, xH - 2, yH + 5);
    } else if (s > 8) {
        DrawLine(b, xH, yH, xH + 7, yH);
        DrawLine(b, xH, yH, xH + 2, yH - 5);
    }
}

void DrawTravellingWave(double A, double phase, bool fluxPanelOpen)
{
    const int W = screenWidth, H = screenHeight, D = H - 190;
    const int X0 = D / 4 + 20, B = (D * 3) / 10, Y0 = B + 100;
    const double Y1 = B + 140 + 3 * A;
    const double root3 = std::sqrt(3.0);
    // About six arrows per wavelength 2*pi*A. Below A = 1 (screens under 220 px high) the
    // spacing would be 0 and the remainder undefined: such a screen gets no arrows.
    const int arrowSpacing = Trunc(A * 3.1415 / 3);
    HDC b = backBuffer;

    int prevEx = 0, prevEy = 0, prevHx = 0, prevHy = 0, prevSx = 0, prevSy = 0;
    bool first = true;
    // A pixels past the right border: the magnetic points lie up to 0.85*sqrt(3)/2*A left of
    // their column, and the white strip hides whatever lands right of the border.
    for (double x = X0; x < W + A - 20; x += 1.0) {
        const int xi = Trunc(x);
        const double s = A * std::sin(x / A + phase);
        const int yE = Trunc(Y0 - s);
        const double m = 0.85 * s;
        const int xH = Trunc(xi - root3 * m / 2);
        const int yH = Trunc(m / 2 + Y0);
        const int yS = Trunc(Y1 - 2 * s * s / A);
        if (first) {
            prevEx = xi, prevEy = yE, prevHx = xH, prevHy = yH, prevSx = xi, prevSy = yS;
            first = false;
        }

        SelectPen(b, 3, electricRed);
        DrawLine(b, prevEx, prevEy, xi, yE);
        SelectPen(b, 3, magneticBlue);
        DrawLine(b, prevHx, prevHy, xH, yH);
        SelectPen(b, 3, fluxGreen);
        DrawLine(b, prevSx, prevSy, xi, yS);
        prevEx = xi, prevEy = yE, prevHx = xH, prevHy = yH, prevSx = xi, prevSy = yS;

        if (arrowSpacing > 0 && Trunc(x - X0) % arrowSpacing == 0)
            DrawFieldArrows(xi, Y0, s, A, yE, xH, yH, fluxPanelOpen);
    }
}

void DrawPanelBorders(double A)
{
    const int W = screenWidth, H = screenHeight, D = H - 190;
    const int B = (D * 3) / 10, Y0 = B + 100, T = D / 10 + 60;
    HDC b = backBuffer;

    // 20 px wide from the field panel's top border down: hides the plot beyond x = W - 21.
    SetColor(white, b);
    Rectangle(b, W - 20, D / 10 + 60, W, H);

    SetColor(black, b);
    DrawLine(b, W - 20, B + 120 + A, W - 20, B + 160 + 3 * A);
    DrawLine(b, W - 20, T, W - 20, Y0 + A + 11);
    DrawLine(b, 20, T, 20, Y0 + A + 10);
    DrawLine(b, 20, T, W - 20, T);
    DrawLine(b, 20, Y0 + A + 10, W - 20, Y0 + A + 10);
}
