// Scene 3, circular polarization: the vector keeps its length A and turns, its tip drawing a
// circle in the plane view; in the 3-D view the tip winds a helix on a grey cylinder, red over
// the body and dark blue over the right end face, wiped and restarted at the right end.
#include <cmath>

#include "scene.h"

static const COLORREF sumGreen = RGB(50, 80, 5);
static const double barbSides[2] = {0.5, -0.5};

void RunCircularScene(MSG* msg, HACCEL* hAccelTable)
{
    sceneNumber = 0;
    SceneImages images = LoadSceneImages();

    const int W = screenWidth, D = screenHeight - 190;
    bool paused = false;
    const DWORD frameDelay = 25;
    const double A = SceneAmplitude();
    // u/2.5 is the helix's place on the axis: it starts 10 px right of the origin, plus A.
    const double u0 = 2.5 * (D / 4 + 210) + A;
    double u = u0;
    const int y0 = (D * 3) / 4 + 130;
    const int ya = (D * 3) / 10 + 100;
    Point previousTip, previousHelix;
    // The left end is A wide, the right end face spans A/2 .. 3A/2 left of W - 20.
    const Cylinder cylinder{A, 3 * A / 2, A / 2};

    StartScenePage(L"top3.bmp");
    DrawCylinder(cylinder);
    DrawPlaneAxes(images.dc_Y, images.dc_X);
    DrawSpaceAxes(images.dc_k, images.dc_Y, images.dc_X);
    DrawLightAxis(cylinder);
    FinishSceneStart();

    while (!LoopShouldEnd()) {
        if (!OpenFrame(images, msg, hAccelTable))
            break;

        const int cx = W / 2 + 50;
        const double theta = 3 * u / A;
        const int xT = Trunc(cx + A * std::cos(theta)), yT = Trunc(y0 - A * std::sin(theta));
        if (u == u0)
            previousTip = Point{xT, yT};
        TraceTip(previousTip, xT, yT);
        DrawComponents(cx, y0, xT, yT);

        // Barbs 10 px long, 0.5 rad either side of the vector, whose screen angle is -theta.
        UsePen(backBuffer, 3, sumGreen);
        DrawLine(backBuffer, cx, y0, xT, yT);
        for (double c : barbSides) {
            const double psi = -theta + c;
            DrawLine(backBuffer, xT - 10 * std::cos(psi), yT - 10 * std::sin(psi), xT, yT);
        }

        if (u / 2.5 + A < W - 30) {
            // The depth component A cos(theta) is drawn at half scale along the axis.
            const int xH = Trunc(u / 2.5 + (A / 2) * std::cos(theta)), yH = Trunc(ya - A * std::sin(theta));
            HelixStep(previousHelix, xH, yH, theta);
            if (!paused)
                u += 2.0;
            previousHelix = Point{xH, yH};
        } else {
            u = u0;
            previousHelix = Point{};
            BitBlt(sceneSurface, 0, 0, W, screenHeight, sceneBackdrop, 0, 0, SRCCOPY);
        }

        CloseFrame(3, images, paused, frameDelay, msg, hAccelTable);
    }

    DestroySceneImages(images);
}
