// Geometry and look of the About box, laid out from the resource template: dialog units
// become pixels through the dialog font's average character width (x) and height (y).
// Scripts and tests use the geometry to find the OK button and the close box. With Liberation
// Sans the units are 6 x 13 px: the box spans (0,0)-(257,123), OK (171,88)-(246,111) (a script
// clicks it with "down 208 99" and "up 208 99"), the close box (238,4)-(254,18).
#pragma once

#include <windows.h>

namespace qp::user {

struct AboutBoxGeometry {
    int unitX = 0, unitY = 0;  // dialog base units: average character width and character height, px
    RECT box{};                // the whole box, frame included, in screen pixels
    RECT caption{};            // title bar
    RECT closeBox{};
    RECT client{};
    RECT icon{}, firstLine{}, secondLine{}, ok{};
};

inline constexpr int aboutFontHeight = 13;  // cell height of "MS Shell Dlg" 8 pt at 96 dpi
inline constexpr int aboutFrame = 1;
inline constexpr int aboutCaptionHeight = 20;

// Measured once with the dialog font; the box sits at (0, 0) of the screen.
const AboutBoxGeometry& AboutBox();

inline bool Inside(const RECT& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

enum class AboutPart { None, Ok, CloseBox };

// Draws the box on dc with its own objects, all freed again; pressed shows that part sunken.
void DrawAboutBox(HDC dc, const wchar_t* programName, AboutPart pressed);

}  // namespace qp::user
