// The two fixed axis diagrams every scene draws into its picture once, at its start: the 3-D
// view in the upper half (wave axis to the right, X up, Y down-left at 30 degrees) and the
// plane view below it (X up, Y left), each with arrowheads and 40 x 40 label images.
#include <cmath>

#include "scene.h"

static const COLORREF axisGrey = RGB(100, 100, 100);

void DrawSpaceAxes(HDC dc_k, HDC dc_Y, HDC dc_X)
{
    const int W = screenWidth, D = screenHeight - 190;
    const int xo = D / 4 + 200, ya = (D * 3) / 10 + 100, yt = D / 10 + 70;
    // The oblique axis ends s to the left and D/12 below the origin: direction (-sqrt(3)/2, 1/2).
    const double s = std::sqrt(3.0) * D / 12;
    const double xT = xo - s;
    const int yT = (D * 3) / 10 + D / 12 + 100;

    UsePen(sceneSurface, 2, axisGrey);
    DrawLine(sceneSurface, xo, ya, W - 20, ya);
    // The barbs sit 5 px above and 4 px below the axis.
    DrawLine(sceneSurface, W - 28, ya - 5, W - 20, ya);
    DrawLine(sceneSurface, W - 28, ya + 4, W - 20, ya);
    DrawImage(sceneSurface, dc_k, W - 60, ya + 10, 40, 40);

    DrawLine(sceneSurface, xo, yt, xo, ya);
    DrawLine(sceneSurface, xo, yt, xo + 4, yt + 8);
    DrawLine(sceneSurface, xo, yt, xo - 4, yt + 8);
    DrawImage(sceneSurface, dc_X, xo - 50, yt, 40, 40);

    DrawLine(sceneSurface, xo, ya, xT, yT);
    DrawLine(sceneSurface, xT + 6, yT - 7, xT, yT);
    DrawLine(sceneSurface, xT + 9, yT - 1, xT, yT);
    DrawImage(sceneSurface, dc_Y, Trunc(xo - 20 - s), yT - 60, 40, 40);
}

void DrawPlaneAxes(HDC dc_Y, HDC dc_X)
{
    const int W = screenWidth, D = screenHeight - 190;
    const int cx = W / 2 + 50, yb = (D * 3) / 4 + 130, q = D / 4, ytop = D / 2 + 130;

    UsePen(sceneSurface, 2, axisGrey);
    DrawLine(sceneSurface, cx - q, yb, cx, yb);
    DrawLine(sceneSurface, cx - q + 8, yb - 5, cx - q, yb);
    DrawLine(sceneSurface, cx - q + 8, yb + 4, cx - q, yb);
    DrawImage(sceneSurface, dc_Y, cx - q - 30, yb + 10, 40, 40);

    DrawLine(sceneSurface, cx, yb, cx, ytop);
    DrawLine(sceneSurface, cx - 4, ytop + 8, cx, ytop);
    DrawLine(sceneSurface, cx + 4, ytop + 8, cx, ytop);
    DrawImage(sceneSurface, dc_X, cx + 5, ytop - 15, 40, 40);
}
