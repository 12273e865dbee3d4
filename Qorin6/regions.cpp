// The region boxes that each scene paints once under its waves (medium and vacuum side by
// side, with the axis through both), and the readout of the refractive index beside its slider.
#include "boundary.h"

namespace {

const COLORREF black = RGB(0, 0, 0);
const COLORREF mediumColour = RGB(200, 190, 200);
const COLORREF vacuumColour = RGB(240, 240, 240);
const COLORREF axisGrey = RGB(100, 100, 100);

// The first box reaches past the middle and the second, drawn over it, starts at the boundary:
// the two meet on the second box's outline.
void DrawRegionBoxes(HDC target, double A, COLORREF leftColour, COLORREF rightColour)
{
    const int W = screenWidth;
    const int bottom = Trunc(2 * A + 174);
    SetColors(black, leftColour, target);
    Rectangle(target, 10, 166, (W - 20) / 2 + 200, bottom);
    SetColors(black, rightColour, target);
    Rectangle(target, (W - 20) / 2 + 10, 166, W - 10, bottom);
    ReplaceObject(CreatePen(PS_SOLID, 2, axisGrey), target);
    DrawLine(target, 10, 170 + A, W - 11, 170 + A);
}

}  // namespace

void DrawMediumVacuumBoxes(HDC target, double A) { DrawRegionBoxes(target, A, mediumColour, vacuumColour); }

void DrawVacuumMediumBoxes(HDC target, double A) { DrawRegionBoxes(target, A, vacuumColour, mediumColour); }

void DrawIndexReadout(HDC target, int x, int y, double value, COLORREF colour)
{
    SetColor(colour, target);
    ReplaceObject(CreateFontW(25, 15, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, L"Arial"),
                  target);
    // value 0..1 in steps of 0.05: the units digit is 1 or 2, then tenths and hundredths.
    WCHAR text[] = L"0.00";
    const int d = Trunc(value * 10);
    text[0] = (WCHAR)(L'0' + 1 + d / 10);
    text[2] = (WCHAR)(L'0' + d % 10);
    text[3] = (WCHAR)(L'0' + Trunc(value * 100) % 10);
    TextOutW(target, x, y, text, 4);
}
