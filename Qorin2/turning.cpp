// What the circular and elliptical scenes share: the grey cylinder along the wave axis, the
// tip's path kept in both the picture and its backdrop, the two components with their
// arrowheads, and the helix step whose colour follows what lies under it on the backdrop.
#include <cmath>

#include "scene.h"

static const COLORREF black = RGB(0, 0, 0);
static const COLORREF red = RGB(225, 30, 25);
static const COLORREF pathGreen = RGB(0, 125, 25);
static const COLORREF bodyGrey = RGB(210, 210, 210);
static const COLORREF faceGrey = RGB(230, 230, 230);
static const COLORREF axisGrey = RGB(150, 150, 150);
static const COLORREF helixBlue = RGB(0, 0, 155);

static int AxisX()
{
    return (screenHeight - 190) / 4 + 200;
}

static int AxisY()
{
    return ((screenHeight - 190) * 3) / 10 + 100;
}

void DrawCylinder(const Cylinder& cylinder)
{
    const int W = screenWidth, xo = AxisX(), ya = AxisY();
    const double A = SceneAmplitude();
    SetColors(black, bodyGrey, sceneSurface);
    Ellipse(sceneSurface, xo, Trunc(ya - A), Trunc(xo + cylinder.leftEndWidth), Trunc(ya + A));
    // The body runs from the centre of the left end to the centre of the right end face.
    SetColor(bodyGrey, sceneSurface);
    Rectangle(sceneSurface, Trunc(xo + cylinder.leftEndWidth / 2), Trunc(ya - A), Trunc(W - 20 - A),
              Trunc(ya + A));
    SetColors(black, faceGrey, sceneSurface);
    Ellipse(sceneSurface, Trunc(W - 20 - cylinder.rightFaceLeft), Trunc(ya - A), Trunc(W - 20 - cylinder.rightFaceRight),
            Trunc(ya + A));
}

void DrawLightAxis(const Cylinder& cylinder)
{
    // Lightens the dark wave axis from the origin to the left edge of the right end face.
    UsePen(sceneSurface, 2, axisGrey);
    DrawLine(sceneSurface, AxisX(), AxisY(), screenWidth - 20 - cylinder.rightFaceLeft, AxisY());
}

void TraceTip(Point& previousTip, int xT, int yT)
{
    // The backdrop gets the same segment, so the path outlives the wiping of the helix.
    UsePen(sceneSurface, 2, pathGreen);
    DrawLine(sceneSurface, xT, yT, previousTip.x, previousTip.y);
    UsePen(sceneBackdrop, 2, pathGreen);
    DrawLine(sceneBackdrop, xT, yT, previousTip.x, previousTip.y);
    previousTip = Point{xT, yT};
}

void DrawComponents(int cx, int y0, int xT, int yT)
{
    UsePen(backBuffer, 3, red);
    DrawLine(backBuffer, cx, y0, cx, yT);
    if (yT > y0) {
        DrawLine(backBuffer, cx - 4, yT - 8, cx, yT);
        DrawLine(backBuffer, cx + 4, yT - 8, cx, yT);
    } else {
        DrawLine(backBuffer, cx - 4, yT + 8, cx, yT);
        DrawLine(backBuffer, cx + 4, yT + 8, cx, yT);
    }
    DrawLine(backBuffer, cx, y0, xT, y0);
    if (xT > cx) {
        DrawLine(backBuffer, xT - 8, y0 - 4, xT, y0);
        DrawLine(backBuffer, xT - 8, y0 + 4, xT, y0);
    } else {
        DrawLine(backBuffer, xT + 8, y0 - 4, xT, y0);
        DrawLine(backBuffer, xT + 8, y0 + 4, xT, y0);
    }
}

void HelixStep(Point& previousHelix, int xH, int yH, double theta)
{
    if (previousHelix.x == 0)
        previousHelix = Point{xH, yH};
    // Pixels of the end face's grey or lighter (white) mean the helix is on the face, or off
    // the cylinder: dark blue. Over the body it is red, r = 150 - 50 cos(theta), 100 to 200.
    const COLORREF under = GetPixel(sceneBackdrop, xH, yH);
    if ((unsigned int)under >= 0xE6E6E6u)
        UsePen(sceneSurface, 3, helixBlue);
    else
        UsePen(sceneSurface, 3, RGB(Trunc(150 - 50 * std::cos(theta)), 10, 20));
    DrawLine(sceneSurface, previousHelix.x, previousHelix.y, xH, yH);
}
