// Scene 2, linear polarization: both components equal and in phase, d = A sin(3t/A). The plane
// view shows them and their sum swinging on the 45-degree line; the 3-D view traces the X and
// Y curves from left to right with a stick every 21 px, and is wiped at the right edge.
#include <cmath>

#include "scene.h"

static const COLORREF red = RGB(225, 30, 25);
static const COLORREF green = RGB(80, 110, 50);

void RunLinearScene(MSG* msg, HACCEL* hAccelTable)
{
    sceneNumber = 0;
    SceneImages images = LoadSceneImages();

    const int W = screenWidth, D = screenHeight - 190;
    bool paused = false;
    const DWORD frameDelay = 38;
    const double A = SceneAmplitude();
    const int t0 = D / 4 + 210;
    int t = t0;
    const double y0 = (D * 3) / 4 + 130;
    const double ya = (D * 3) / 10 + 100;
    Point previousX, previousY;  // x = 0: no point yet

    StartScenePage(L"top2.bmp");
    DrawPlaneAxes(images.dc_Y, images.dc_X);
    DrawSpaceAxes(images.dc_k, images.dc_Y, images.dc_X);
    FinishSceneStart();

    while (!LoopShouldEnd()) {
        if (!OpenFrame(images, msg, hAccelTable))
            break;

        const int cx = W / 2 + 50;
        const double d = A * std::sin(3 * t / A);
        const int yv = Trunc(y0 - d), xh = Trunc(cx - d);

        // Within 8 px of the origin a component is too short for an arrowhead.
        UsePen(backBuffer, 3, red);
        DrawLine(backBuffer, cx, y0, cx, yv);
        if (d > 8) {
            DrawLine(backBuffer, cx - 4, yv + 8, cx, yv);
            DrawLine(backBuffer, cx + 4, yv + 8, cx, yv);
        } else if (d < -8) {
            DrawLine(backBuffer, cx - 4, yv - 8, cx, yv);
            DrawLine(backBuffer, cx + 4, yv - 8, cx, yv);
        }

        UsePen(backBuffer, 3, red);
        DrawLine(backBuffer, cx, y0, xh, y0);
        if (d < -8) {
            DrawLine(backBuffer, xh, y0, xh - 8, y0 - 4);
            DrawLine(backBuffer, xh, y0, xh - 8, y0 + 4);
        } else if (d > 8) {
            DrawLine(backBuffer, xh, y0, xh + 8, y0 + 4);
            DrawLine(backBuffer, xh, y0, xh + 8, y0 - 4);
        }

        // The sum points along the 45-degree line; its barbs lie just off that line's sides.
        UsePen(backBuffer, 3, green);
        DrawLine(backBuffer, cx, y0, xh, yv);
        if (d < -8) {
            DrawLine(backBuffer, xh, yv, xh - 8, yv - 1);
            DrawLine(backBuffer, xh, yv, xh - 1, yv - 8);
        } else if (d > 8) {
            DrawLine(backBuffer, xh, yv, xh + 8, yv + 1);
            DrawLine(backBuffer, xh, yv, xh + 1, yv + 8);
        }

        if (t < W - 30) {
            // The Y curve lies 0.85 d along the oblique axis, direction (-sqrt(3)/2, 1/2).
            const Point pointX{t, Trunc(ya - d)};
            const Point pointY{Trunc(t - 0.85 * d * std::sqrt(3.0) / 2), Trunc(ya + 0.85 * d / 2)};
            if (previousX.x == 0)
                previousX = pointX;
            if (previousY.x == 0)
                previousY = pointY;
            UsePen(sceneSurface, 3, red);
            DrawLine(sceneSurface, previousX.x, previousX.y, pointX.x, pointX.y);
            DrawLine(sceneSurface, previousY.x, previousY.y, pointY.x, pointY.y);
            if ((t - t0) % 21 == 0) {
                UsePen(sceneSurface, 3, red);
                DrawLine(sceneSurface, t, ya, pointX.x, pointX.y);
                UsePen(sceneSurface, 3, red);
                DrawLine(sceneSurface, t, ya, pointY.x, pointY.y);
            }
            if (!paused)
                t += 3;
            previousX = pointX;
            previousY = pointY;
        } else {
            t = t0;
            previousX = Point{};
            previousY = Point{};
            BitBlt(sceneSurface, 0, 0, W, screenHeight, sceneBackdrop, 0, 0, SRCCOPY);
        }

        CloseFrame(2, images, paused, frameDelay, msg, hAccelTable);
    }

    DestroySceneImages(images);
}
