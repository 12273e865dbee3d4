// Qorin5's diagram: the field panel's three-axis frame, the density and flux panels (drawn once
// onto sceneSurface), and every frame the five curves, the field and flux arrows and the borders.
// The electric field is a cosine and the magnetic field a sine of the distance from the origin.
#include <cmath>

#include "Qorin5.h"

static const COLORREF white = RGB(255, 255, 255);
static const COLORREF black = RGB(0, 0, 0);
static const COLORREF axisGrey = RGB(100, 100, 100);
static const COLORREF electricRed = RGB(250, 5, 5);
static const COLORREF magneticBlue = RGB(0, 5, 250);
static const COLORREF fluxGreen = RGB(0, 175, 50);

static void UsePen(HDC surface, int width, COLORREF colour)
{
    ReplaceObject(CreatePen(PS_SOLID, width, colour), surface);
}

void DrawSpaceAxes(HDC dc_k, HDC dc_E, HDC dc_H)
{
    const int W = screenWidth, H = screenHeight, D = H - 190;
    const int X0 = D / 4 + 20, B = (D * 3) / 10, Y0 = B + 40;
    UsePen(sceneSurface, 2, axisGrey);

    DrawLine(sceneSurface, X0, Y0, W - 20, Y0);
    DrawLine(sceneSurface, W - 28, B + 35, W - 20, Y0);
    DrawLine(sceneSurface, W - 28, B + 44, W - 20, Y0);
    DrawImage(sceneSurface, dc_k, W - 60, B + 50, 40, 40);

    const int E0 = D / 10 + 50;
    DrawLine(sceneSurface, X0, E0, X0, Y0);
    DrawLine(sceneSurface, X0, E0, X0 + 4, E0 + 8);
    DrawLine(sceneSurface, X0, E0, X0 - 4, E0 + 8);
    DrawImage(sceneSurface, dc_E, D / 4 + 30, E0, 40, 40);

    // The H label keeps the place it has over a longer axis, 2D/9 long; this axis is 2(H - 290)/9.
    DrawImage(sceneSurface, dc_H, Trunc(D / 4 - std::sqrt(3.0) * D / 9.0 + 5), B + D / 12, 40, 40);
    const double Zx = X0 - std::sqrt(3.0) * (H - 290) / 9.0;
    const int Zy = B + 40 + (H - 290) / 9;
    DrawLine(sceneSurface, X0, Y0, Zx, Zy);
    DrawLine(sceneSurface, Zx + 6, Zy - 7, Zx, Zy);
    DrawLine(sceneSurface, Zx + 9, Zy - 1, Zx, Zy);
}

void DrawDensityPanel(HDC dc_sW, HDC dc_k, double A)
{
    const int W = screenWidth, H = screenHeight, D = H - 190;
    const int X0 = D / 4 + 20, B = (D * 3) / 10;
    const double Yw = B + 95 + 3 * A;
    SetColor(black, sceneSurface);
    DrawLine(sceneSurface, W - 20, B + 60 + A, W - 20, B + 100 + 3 * A);
    DrawLine(sceneSurface, 20, B + 60 + A, 20, B + 100 + 3 * A);
    DrawLine(sceneSurface, 20, B + 60 + A, W - 20, B + 60 + A);
    DrawLine(sceneSurface, 20, B + 100 + 3 * A, W - 20, B + 100 + 3 * A);
    DrawImage(sceneSurface, dc_k, W - 65, Trunc(B + 3 * A + 55), 40, 40);

    UsePen(sceneSurface, 2, axisGrey);
    DrawLine(sceneSurface, X0, Yw, W - 20, Yw);
    DrawLine(sceneSurface, W - 28, Yw - 5, W - 20, Yw);
    DrawLine(sceneSurface, W - 28, Yw + 4, W - 20, Yw);
    const double V = B + 85 + A;
    DrawLine(sceneSurface, X0, V, X0, Yw);
    DrawLine(sceneSurface, X0, V, X0 + 4, V + 8);
    DrawLine(sceneSurface, X0, V, X0 - 4, V + 8);
    DrawImage(sceneSurface, dc_sW, D / 4 - 30, Trunc(V), 40, 40);
}

void DrawFluxPanel(HDC dc_sL, HDC dc_k, double A)
{
    const int W = screenWidth, H = screenHeight, D = H - 190;
    const int X0 = D / 4 + 20, B = (D * 3) / 10;
    const double Ys = B + 145 + 4 * A;
    SetColor(black, sceneSurface);
    DrawLine(sceneSurface, W - 20, B + 110 + 3 * A, W - 20, B + 150 + 5 * A);
    DrawLine(sceneSurface, 20, B + 110 + 3 * A, 20, B + 150 + 5 * A);
    DrawLine(sceneSurface, 20, B + 110 + 3 * A, W - 20, B + 110 + 3 * A);
    DrawLine(sceneSurface, 20, B + 150 + 5 * A, W - 20, B + 150 + 5 * A);

    UsePen(sceneSurface, 2, axisGrey);
    DrawLine(sceneSurface, X0, Ys, W - 20, Ys);
    DrawLine(sceneSurface, W - 28, Ys - 5, W - 20, Ys);
    DrawLine(sceneSurface, W - 28, Ys + 4, W - 20, Ys);
    DrawImage(sceneSurface, dc_k, W - 60, Trunc(B + 4 * A + 150), 40, 40);
    // The flux changes sign, so its vertical axis reaches A above and A below the flux axis.
    DrawLine(sceneSurface, X0, B + 145 + 3 * A, X0, B + 145 + 5 * A);
    DrawLine(sceneSurface, X0, B + 145 + 3 * A, X0 + 4, B + 153 + 3 * A);
    DrawLine(sceneSurface, X0, B + 145 + 3 * A, X0 - 4, B + 153 + 3 * A);
    DrawImage(sceneSurface, dc_sL, D / 4 - 30, Trunc(B + 145 + 3 * A), 40, 40);
}

struct PlotPoint {
    int x, y;
};

static void CurveTo(PlotPoint& previous, PlotPoint current, COLORREF colour)
{
    UsePen(backBuffer, 3, colour);
    DrawLine(backBuffer, previous.x, previous.y, current.x, current.y);
    previous = current;
}

void DrawStandingWave(double A, double phase, double electricFactor, double magneticFactor, bool fluxPanelOpen)
{
    const int W = screenWidth, H = screenHeight, D = H - 190;
    const int X0 = D / 4 + 20, B = (D * 3) / 10, Y0 = B + 40;
    const double Yw = B + 95 + 3 * A, Ys = B + 145 + 4 * A;
    const double root3 = std::sqrt(3.0);
    // About six arrows per wavelength of 2 pi A pixels. On a screen so short that A is below 1
    // the spacing is 0 and no arrow is drawn.
    const int spacing = Trunc(A * 3.1415 / 3);

    PlotPoint electric{}, magnetic{}, electricDensity{}, magneticDensity{}, flux{};
    for (double x = X0; x < W + A - 20; x += 1.0) {
        const int xi = Trunc(x);
        const double u = x / A + phase;
        const double e = std::sin(u + 1.57075) * (electricFactor * A);
        const double h = std::sin(u) * (magneticFactor * A);
        const int yE = Trunc(Y0 - e);
        // The magnetic axis runs down-left at 30 degrees, foreshortened to 0.85.
        const double m = 0.85 * h;
        const int xH = Trunc(xi - root3 * m / 2), yH = Trunc(m / 2 + Y0);

        const PlotPoint points[] = {
            {xi, yE}, {xH, yH}, {xi, Trunc(Yw - 2 * e * e / A)}, {xi, Trunc(Yw - 2 * h * h / A)},
            {xi, Trunc(Ys - 8 * e * h / A)},
        };
        if (x == X0) {
            electric = points[0];
            magnetic = points[1];
            electricDensity = points[2];
            magneticDensity = points[3];
            flux = points[4];
        }
        CurveTo(electric, points[0], electricRed);
        CurveTo(magnetic, points[1], magneticBlue);
        CurveTo(electricDensity, points[2], electricRed);
        CurveTo(magneticDensity, points[3], magneticBlue);
        CurveTo(flux, points[4], fluxGreen);

        const int L = Trunc(4 * e * h / A);
        if (spacing <= 0 || Trunc(x - X0) % spacing != 0)
            continue;

        // Arrows of 8 pixels or less are left out whole, shaft included.
        UsePen(backBuffer, 3, fluxGreen);
        if (fluxPanelOpen) {
            if (L > 8) {
                DrawLine(backBuffer, xi, Y0, xi + L, Y0);
                DrawLine(backBuffer, xi + L - 8, Y0 - 4, xi + L, Y0);
                DrawLine(backBuffer, xi + L - 8, Y0 + 4, xi + L, Y0);
            } else if (L < -8) {
                DrawLine(backBuffer, xi, Y0, xi + L, Y0);
                DrawLine(backBuffer, xi + L + 8, Y0 - 4, xi + L, Y0);
                DrawLine(backBuffer, xi + L + 8, Y0 + 4, xi + L, Y0);
            }
        }

        UsePen(backBuffer, 3, electricRed);
        if (e > 8) {
            DrawLine(backBuffer, xi, Y0, xi, yE);
            DrawLine(backBuffer, xi - 4, yE + 8, xi, yE);
            DrawLine(backBuffer, xi + 4, yE + 8, xi, yE);
        } else if (e < -8) {
            DrawLine(backBuffer, xi, Y0, xi, yE);
            DrawLine(backBuffer, xi - 4, yE - 8, xi, yE);
            DrawLine(backBuffer, xi + 4, yE - 8, xi, yE);
        }

        UsePen(backBuffer, 3, magneticBlue);
        if (h < -8) {
            DrawLine(backBuffer, xi, Y0, xH, yH);
            DrawLine(backBuffer, xH, yH, xH - 7, yH);
            DrawLine(backBuffer, xH, yH, xH - 2, yH + 5);
        } else if (h > 8) {
            DrawLine(backBuffer, xi, Y0, xH, yH);
            DrawLine(backBuffer, xH, yH, xH + 7, yH);
            DrawLine(backBuffer, xH, yH, xH + 2, yH - 5);
        }
    }
}

void DrawPanelBorders(double A)
{
    const int W = screenWidth, H = screenHeight, D = H - 190;
    const int B = (D * 3) / 10, Y0 = B + 40, T = D / 10 + 40;
    // The strip hides the plot beyond x = W - 21; it starts 20 pixels below the field panel's top.
    SetColor(white, backBuffer);
    Rectangle(backBuffer, W - 20, D / 10 + 60, W, H);
    SetColor(black, backBuffer);
    DrawLine(backBuffer, W - 20, B + 60 + A, W - 20, B + 101 + 3 * A);
    DrawLine(backBuffer, W - 20, B + 110 + 3 * A, W - 20, B + 151 + 5 * A);
    DrawLine(backBuffer, W - 20, T, W - 20, Y0 + A + 11);
    DrawLine(backBuffer, 20, T, 20, Y0 + A + 10);
    DrawLine(backBuffer, 20, T, W - 20, T);
    DrawLine(backBuffer, 20, Y0 + A + 10, W - 20, Y0 + A + 10);
}
