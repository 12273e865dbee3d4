// Scene 4, elliptical polarization: the vector turns while its length changes, its tip drawing
// an ellipse tilted about 60 degrees up to the right with half axes in the ratio 2 : 1; the 3-D
// view winds a flatter helix on a flatter cylinder, wiped and restarted at the right end.
#include <cmath>

#include "scene.h"

static const COLORREF sumGreen = RGB(50, 80, 5);
static const double barbSides[2] = {-0.5, 0.5};

void RunEllipticalScene(MSG* msg, HACCEL* hAccelTable)
{
    sceneNumber = 0;
    SceneImages images = LoadSceneImages();

    const int W = screenWidth, D = screenHeight - 190;
    bool paused = false;
    const DWORD frameDelay = 25;
    const double A = SceneAmplitude();
    const double u0 = 2.5 * (D / 4 + 210) + A;
    double u = u0;
    const int y0 = (D * 3) / 4 + 130;
    const int ya = (D * 3) / 10 + 100;
    Point previousTip, previousHelix;
    // The left end is A/2 wide, the right end face spans 3A/4 .. 5A/4 left of W - 20.
    const Cylinder cylinder{A / 2, 5 * A / 4, 3 * A / 4};

    StartScenePage(L"top4.bmp");
    DrawCylinder(cylinder);
    DrawPlaneAxes(images.dc_Y, images.dc_X);
    DrawSpaceAxes(images.dc_k, images.dc_Y, images.dc_X);
    DrawLightAxis(cylinder);
    FinishSceneStart();

    while (!LoopShouldEnd()) {
        if (!OpenFrame(images, msg, hAccelTable))
            break;

        const int cx = W / 2 + 50;
        const double theta = 3 * u / A, phi = theta - 1.4;
        // The tip's offset is b (1/2, -0.85) + a (-0.85, -1/2) on the screen: two orthogonal
        // half axes of 0.986 A and 0.493 A, the long one about 60 degrees up to the right.
        const double a = (A / 2) * std::sin(phi), b = A * std::cos(phi);
        const int xT = Trunc(cx + b / 2 - 1.7 * a / 2), yT = Trunc(y0 - (1.7 * b / 2 + a / 2));
        if (u == u0)
            previousTip = Point{xT, yT};
        TraceTip(previousTip, xT, yT);
        DrawComponents(cx, y0, xT, yT);

        // The barbs follow the unit-circle point at psi mapped like the tip, not the vector's
        // true direction.
        UsePen(backBuffer, 3, sumGreen);
        DrawLine(backBuffer, cx, y0, xT, yT);
        for (double c : barbSides) {
            const double psi = phi + c;
            DrawLine(backBuffer, xT - 10 * (std::cos(psi) - 1.7 * std::sin(psi)) / 2,
                     yT + 10 * (1.7 * std::cos(psi) + std::sin(psi)) / 2, xT, yT);
        }

        if (u / 2.5 + A < W - 30) {
            // Depth at quarter scale, and the angle theta without the plane view's shift.
            const int xH = Trunc(u / 2.5 + (A / 4) * std::cos(theta)), yH = Trunc(ya - A * std::sin(theta));
            HelixStep(previousHelix, xH, yH, theta);
            if (!paused)
                u += 2.0;
            previousHelix = Point{xH, yH};
        } else {
            u = u0;
            previousHelix = Point{};
            BitBlt(sceneSurface, 0, 0, W, screenHeight, sceneBackdrop, 0, 0, SRCCOPY);
        }

        CloseFrame(4, images, paused, frameDelay, msg, hAccelTable);
    }

    DestroySceneImages(images);
}
