// Scene 2's moving picture: the incident wave and the inverted reflected wave in vacuum on the
// left, the transmitted wave in the medium on the right with its shorter wavelength, and ticks a
// wavelength apart on each side. Expressions are evaluated in the order written.
#include <cmath>

#include "boundary.h"

namespace {

const double P = 3.141592;
const COLORREF incidentColour = RGB(50, 50, 10);
const COLORREF reflectedColour = RGB(10, 0, 200);
const COLORREF transmittedColour = RGB(150, 0, 100);
const COLORREF tickColour = RGB(0, 50, 50);

}  // namespace

void DrawVacuumToMediumWaves(double A, double n, double t, double transmission, double reflection)
{
    const int W = screenWidth;
    const double Y0 = 170 + A;
    const int boundaryX = (W - 20) / 2 + 10;
    const double R = (W - 20) / 2 + 9;
    const double M = 4 * ((W - 20) / 2) + 36;
    const double S = (W - 20) / 2 + 11;

    // Reflection off the denser medium reverses the sign: the reflected wave is drawn upside
    // down against the incident one.
    int incidentX = 0, incidentY = 0, reflectedX = 0, reflectedY = 0;
    for (double c = 11; c < R; c = c + 1) {
        const int yI = Trunc(Y0 - std::sin(4 * c / A + t - M / A) * (A * 3 / 4));
        const int yR = Trunc(Y0 - std::sin(4 * c / A - t - M / A) * (reflection * A * 3 / 4));
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

    // In the medium the phase grows n times faster per pixel: the wavelength is shorter.
    ReplaceObject(CreatePen(PS_SOLID, 3, transmittedColour), backBuffer);
    int previousX = 0, previousY = 0;
    for (double c = S; c < W - 10; c = c + 1) {
        const double e = std::sin(((c - S) * n + S) * 4 / A + t - M / A) * (A * 3 / 4);
        const int yT = Trunc(Y0 - transmission * e);
        if (c == S) {
            previousX = Trunc(c);
            previousY = yT;
        }
        DrawLine(backBuffer, previousX, previousY, c, yT);
        previousX = Trunc(c);
        previousY = yT;
    }

    ReplaceObject(CreatePen(PS_SOLID, 3, tickColour), backBuffer);
    const double vacuumStep = 2 * P * A / 4;
    const double mediumStep = 2 * P / n * A / 4;
    DrawTickRun(Y0, Trunc(boundaryX - P * A / 4), -vacuumStep, 10, 3);
    DrawTickRun(Y0, boundaryX, -vacuumStep, 10, 6);
    DrawTickRun(Y0, Trunc(boundaryX + P / n * A / 4), mediumStep, W - 10, 3);
    DrawTickRun(Y0, boundaryX, mediumStep, W - 10, 6);
}
