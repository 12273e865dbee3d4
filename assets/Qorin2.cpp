// Qorin2's bitmap files (linear, circular and elliptical polarization): the axis labels, the
// three scene buttons with a small picture of their polarization, the exit face under this
// program's name for it, and one title banner per scene, each at the size the program loads it.
#include "draw.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace pictures {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kDark = RGB(25, 25, 25);
constexpr COLORREF kGrey = RGB(80, 80, 80);
constexpr COLORREF kAxisGrey = RGB(165, 165, 165);
constexpr COLORREF kLabelInk = RGB(30, 30, 110);
constexpr COLORREF kTitleBlue = RGB(0, 50, 150);
constexpr COLORREF kVectorGreen = RGB(50, 80, 5);   // the sum on screen
constexpr COLORREF kPathGreen = RGB(0, 125, 25);    // the tip's path on screen
constexpr COLORREF kButtonGround = RGB(238, 243, 250);

// An open polyline through the points with one round-capped pen.
void Path(Canvas& c, const std::vector<POINT>& points, int width, COLORREF colour) {
    c.Use(CreatePen(PS_SOLID, width, colour));
    MoveToEx(c.Dc(), points.front().x, points.front().y, nullptr);
    for (size_t i = 1; i < points.size(); ++i) LineTo(c.Dc(), points[i].x, points[i].y);
}

POINT At(double x, double y) { return {static_cast<LONG>(std::lround(x)), static_cast<LONG>(std::lround(y))}; }

// A filled arrowhead with its tip at (x, y), pointing along the unit direction (dx, dy).
void Head(Canvas& c, double x, double y, double dx, double dy, double length, double half, COLORREF colour) {
    const double bx = x - dx * length, by = y - dy * length;
    Triangle(c, At(bx - dy * half, by + dx * half), At(bx + dy * half, by - dx * half), At(x, y), colour);
}

// A vector from (x0, y0) to (x1, y1) with a filled head.
void Vector(Canvas& c, double x0, double y0, double x1, double y1, int width, COLORREF colour) {
    const double length = std::hypot(x1 - x0, y1 - y0), dx = (x1 - x0) / length, dy = (y1 - y0) / length;
    const double head = 3.0 * width + 4;
    Line(c, static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(std::lround(x1 - dx * head * 0.6)),
         static_cast<int>(std::lround(y1 - dy * head * 0.6)), width, colour);
    Head(c, x1, y1, dx, dy, head, head / 2.2, colour);
}

// Faint X (up) and Y (left) axes of the plane view, as on screen, centred on (cx, cy).
void PlaneCross(Canvas& c, int cx, int cy, int reach) {
    Line(c, cx - reach, cy, cx + reach / 2, cy, 1, kAxisGrey);
    Line(c, cx, cy + reach / 2, cx, cy - reach, 1, kAxisGrey);
}

// The tip's closed path for offsets (u, v) = (along, across) of an ellipse with half axes
// `along` and `across`, its long axis `tilt` radians up from the right; screen y is downwards.
std::vector<POINT> TippedEllipse(double cx, double cy, double along, double across, double tilt) {
    std::vector<POINT> points;
    for (int i = 0; i <= 72; ++i) {
        const double t = 2 * kPi * i / 72, u = along * std::cos(t), v = across * std::sin(t);
        points.push_back(At(cx + u * std::cos(tilt) - v * std::sin(tilt), cy - u * std::sin(tilt) - v * std::cos(tilt)));
    }
    return points;
}

// The turning vector with its path: an arrow along the path shows the sense of turning, which
// is counter-clockwise on the screen in both turning scenes.
void TurningSymbol(Canvas& c, int cx, int cy, double along, double across, double tilt, double vectorAngle) {
    PlaneCross(c, cx, cy, static_cast<int>(along) + 6);
    Path(c, TippedEllipse(cx, cy, along, across, tilt), 3, kPathGreen);
    // The head on the path at the angle t = 0.35 pi of the ellipse's own parameter.
    const double t = 0.35 * kPi;
    const double u = along * std::cos(t), v = across * std::sin(t);
    const double du = -along * std::sin(t), dv = across * std::cos(t);
    const double x = cx + u * std::cos(tilt) - v * std::sin(tilt), y = cy - u * std::sin(tilt) - v * std::cos(tilt);
    double dx = du * std::cos(tilt) - dv * std::sin(tilt), dy = -du * std::sin(tilt) - dv * std::cos(tilt);
    const double n = std::hypot(dx, dy);
    dx /= n;
    dy /= n;
    Head(c, x + dx * 5, y + dy * 5, dx, dy, 11, 6, kPathGreen);
    const double vu = along * std::cos(vectorAngle), vv = across * std::sin(vectorAngle);
    Vector(c, cx, cy, cx + vu * std::cos(tilt) - vv * std::sin(tilt), cy - vu * std::sin(tilt) - vv * std::cos(tilt), 3,
           kVectorGreen);
}

// The swinging vector of linear polarization: a double arrow on the 45-degree line between
// the X axis (up) and the Y axis (left), with the vector itself drawn solid.
void LinearSymbol(Canvas& c, int cx, int cy, int reach) {
    PlaneCross(c, cx, cy, reach + 6);
    const double r = reach / std::sqrt(2.0);
    Line(c, static_cast<int>(cx - r + 6), static_cast<int>(cy - r + 6), static_cast<int>(cx + r - 6),
         static_cast<int>(cy + r - 6), 3, kPathGreen);
    Head(c, cx - r, cy - r, -std::sqrt(0.5), -std::sqrt(0.5), 11, 6, kPathGreen);
    Head(c, cx + r, cy + r, std::sqrt(0.5), std::sqrt(0.5), 11, 6, kPathGreen);
    Vector(c, cx, cy, cx - r * 0.75, cy - r * 0.75, 3, kVectorGreen);
}

// Scene buttons, 180 x 100: the symbol above, the name of the polarization below.
void ButtonName(Canvas& c, const wchar_t* name) { TextCentred(c, name, {22, true}, {6, 68, 174, 94}, kDark); }

void LinearButton(Canvas& c, Lang lang) {
    LinearSymbol(c, 90, 35, 28);
    ButtonName(c, Say(lang, L"Linear", L"Линейная"));
}

void CircularButton(Canvas& c, Lang lang) {
    TurningSymbol(c, 90, 35, 25, 25, 0, 1.1 * kPi);
    ButtonName(c, Say(lang, L"Circular", L"Круговая"));
}

void EllipticalButton(Canvas& c, Lang lang) {
    TurningSymbol(c, 90, 35, 30, 15, kPi / 3, 1.1 * kPi);
    ButtonName(c, Say(lang, L"Elliptical", L"Эллиптическая"));
}

// Axis labels, 40 x 40, on the white page: a letter in the label ink.
void AxisLetter(Canvas& c, const wchar_t* letter) { TextCentred(c, letter, {30, true}, {2, 2, 38, 38}, kLabelInk); }
void XLabel(Canvas& c, Lang) { AxisLetter(c, L"X"); }
void YLabel(Canvas& c, Lang) { AxisLetter(c, L"Y"); }

// The wave axis: k, the direction the wave runs in, with a vector arrow over it.
void WaveAxisLabel(Canvas& c, Lang) {
    TextCentred(c, L"k", {28, true}, {4, 12, 36, 38}, kLabelInk);
    Line(c, 10, 7, 26, 7, 2, kLabelInk);
    Triangle(c, {25, 3}, {25, 11}, {33, 7}, kLabelInk);
}

// Title banners, 600 x 80, at the top left: the title, a line on the components, and the
// scene's symbol just right of the longer of the two (its centre at most at x = 560).
int Banner(Canvas& c, const wchar_t* title, const wchar_t* line) {
    const Font titleFont = FitWidth(title, {44, true}, 470);
    TextAt(c, title, titleFont, 10, 44, kTitleBlue);
    const Font lineFont = FitWidth(line, {20}, 470);
    TextAt(c, line, lineFont, 12, 70, kGrey);
    const Ink titleInk = MeasureInk(title, titleFont), lineInk = MeasureInk(line, lineFont);
    const int right = std::max(10 + titleInk.right - titleInk.left, 12 + lineInk.right - lineInk.left);
    return std::min(560, right + 50);
}

void LinearTitle(Canvas& c, Lang lang) {
    const int x = Banner(c, Say(lang, L"Linear polarization", L"Линейная поляризация"),
                         Say(lang, L"two equal components in phase", L"две равные составляющие в одной фазе"));
    LinearSymbol(c, x, 42, 30);
}

void CircularTitle(Canvas& c, Lang lang) {
    const int x = Banner(c, Say(lang, L"Circular polarization", L"Круговая поляризация"),
                         Say(lang, L"two equal components a quarter period apart",
                             L"две равные составляющие, сдвинутые на четверть периода"));
    TurningSymbol(c, x, 42, 28, 28, 0, 1.1 * kPi);
}

void EllipticalTitle(Canvas& c, Lang lang) {
    const int x = Banner(c, Say(lang, L"Elliptical polarization", L"Эллиптическая поляризация"),
                         Say(lang, L"components of unequal amplitude and shifted phase",
                             L"составляющие с разными амплитудами и сдвигом фаз"));
    TurningSymbol(c, x, 42, 33, 16, kPi / 3, 1.1 * kPi);
}

constexpr std::array kPictures{
    Picture{"X.bmp", 40, 40, kWhite, XLabel},
    Picture{"Y.bmp", 40, 40, kWhite, YLabel},
    Picture{"k2.bmp", 40, 40, kWhite, WaveAxisLabel},
    Picture{"2.bmp", 180, 100, kButtonGround, LinearButton},
    Picture{"3.bmp", 180, 100, kButtonGround, CircularButton},
    Picture{"4.bmp", 180, 100, kButtonGround, EllipticalButton},
    kExitPictureEx,
    kStartPicture,
    kPausePicture,
    Picture{"top2.bmp", 600, 80, kWhite, LinearTitle},
    Picture{"top3.bmp", 600, 80, kWhite, CircularTitle},
    Picture{"top4.bmp", 600, 80, kWhite, EllipticalTitle},
};

}  // namespace

std::span<const Picture> Qorin2Pictures() { return kPictures; }

}  // namespace pictures
