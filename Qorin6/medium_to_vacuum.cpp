// Scene 1's moving picture: the incident and the reflected wave in the medium on the left, the
// transmitted wave in vacuum on the right, and ticks a wavelength apart on each side.
// Every expression is evaluated in the order written; each y is truncated to a pixel.
#include <cmath>

#include "boundary.h"

namespace {

const double P = 3.141592;
const COLORREF incidentColour = RGB(0, 50, 225);
const COLORREF reflectedColour = RGB(0, 80, 0);
const COLORREF transmittedColour = RGB(100, 10, 0);
const COLORREF tickColour = RGB(0, 50, 50);

}  // namespace

void DrawMediumToVacuumWaves(double A, double n, double t, double transmission, double reflection)
{
    const int W = screenWidth;
    const double Y0 = 170 + A;
    const int boundaryX = (W - 20) / 2 + 10;
    // R is one pixel left of the boundary; the phase 4 c n / A is taken from there (M = 4 R).
    const double R = (W - 20) / 2 + 9;
    const double M = 4 * ((W - 20) / 2) + 36;
    const double S = (W - 20) / 2 + 11;

    // The incident and reflected pens alternate column by column, so where the curves cross the
    // reflected one lies on top.
    int incidentX = 0, incidentY = 0, reflectedX = 0, reflectedY = 0;
    for (double c = 11; c < R; c = c + 1) {
        const int yI = Trunc(Y0 - std::sin(4 * c * n / A + t - M * n / A) * (A * 3 / 4));
        const int yR = Trunc(std::sin(4 * c * n / A - t - M * n / A) * (reflection * A * 3 / 4) + Y0);
        if (c == 11) {
            incidentX = reflectedX = Trunc(c);
            incidentY = yI;
            reflectedY = yR;
        }
        ReplaceObject(CreatePen(PS_SOLID, 3, incidentColour), backBuffer);
        DrawLine(backBuffer, incidentX, incidentY, c, yI);
        ReplaceObject(CreatePen(PS_SOLID, 3, reflectedColour), backBuffer);
        DrawLine(backBuffer, reflectedX, reflectedY, c, yR);
        incidentX = reflectedX = Trunc(c);
        incidentY = yI;
        reflectedY = yR;
    }

    // In vacuum the phase runs on from the boundary with the vacuum wavelength.
    ReplaceObject(CreatePen(PS_SOLID, 3, transmittedColour), backBuffer);
    int previousX = 0, previousY = 0;
    for (double c = S; c < W - 10; c = c + 1) {
        const double e = std::sin((n * S + (c - S)) * 4 / A + t - M * n / A) * (A * 3 / 4);
        const int yT = Trunc(Y0 - transmission * e);
        if (c == S) {
            previousX = Trunc(c);
            previousY = yT;
        }
        DrawLine(backBuffer, previousX, previousY, c, yT);
        previousX = Trunc(c);
        previousY = yT;
    }

    // Long ticks at whole wavelengths from the boundary, short ones halfway between.
    ReplaceObject(CreatePen(PS_SOLID, 3, tickColour), backBuffer);
    const double mediumStep = 2 * P * A / 4 / n;
    const double vacuumStep = 2 * P * A / 4;
    DrawTickRun(Y0, Trunc(boundaryX - P * A / 4 / n), -mediumStep, 10, 3);
    DrawTickRun(Y0, boundaryX, -mediumStep, 10, 6);
    DrawTickRun(Y0, Trunc(boundaryX + P * A / 4), vacuumStep, W - 10, 3);
    DrawTickRun(Y0, boundaryX, vacuumStep, W - 10, 6);
}

void DrawTickRun(double y0, int first, double step, int limit, int halfLength)
{
    // A zero or NaN step (a screen too short for the layout) would never leave the run.
    if (!(std::fabs(step) >= 1))
        return;
    for (int x = first; step < 0 ? x > limit : x < limit; x = Trunc(x + step))
        DrawLine(backBuffer, x, y0 - halfLength, x, y0 + halfLength);
}
