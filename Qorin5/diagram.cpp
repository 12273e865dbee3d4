// Qorin5's diagram: the field panel's three-axis frame, the density and flux panels (drawn once
// onto sceneSurface), and every frame the five curves, the field and flux arrows and the borders.
// The electric field is a cosine and the magnetic field a sine of the distance from the origin.
#include <algorithm>
#include <climits>
#include <cmath>
#include <span>

#include "Qorin5.h"

static const COLORREF white = RGB(255, 255, 255);
static const COLORREF black = RGB(0, 0, 0);
static const COLORREF axisGrey = RGB(100, 100, 100);
static const COLORREF electricRed = RGB(250, 5, 5);
static const COLORREF magneticBlue = RGB(0, 5, 250);
static const COLORREF fluxGreen = RGB(0, 175, 50);

static void UsePen(HDC surface, int width, COLORREF colour)
{
    ReplaceObject(CreatePen(PS_SOLID, width, colour), surface);
}

void DrawSpaceAxes(HDC dc_k, HDC dc_E, HDC dc_H)
{
    const int W = screenWidth, H = screenHeight, D = H - 190;
    const int X0 = D / 4 + 20, B = (D * 3) / 10, Y0 = B + 40;
    UsePen(sceneSurface, 2, axisGrey);

    DrawLine(sceneSurface, X0, Y0, W - 20, Y0);
    DrawLine(sceneSurface, W - 28, B + 35, W - 20, Y0);
    DrawLine(sceneSurface, W - 28, B + 44, W - 20, Y0);
    DrawImage(sceneSurface, dc_k, W - 60, B + 50, 40, 40);

    const int E0 = D / 10 + 50;
    DrawLine(sceneSurface, X0, E0, X0, Y0);
    DrawLine(sceneSurface, X0, E0, X0 + 4, E0 + 8);
    DrawLine(sceneSurface, X0, E0, X0 - 4, E0 + 8);
    DrawImage(sceneSurface, dc_E, D / 4 + 30, E0, 40, 40);

    // The H label keeps the place it has over a longer axis, 2D/9 long; this axis is 2(H - 290)/9.
    DrawImage(sceneSurface, dc_H, Trunc(D / 4 - std::sqrt(3.0) * D / 9.0 + 5), B + D / 12, 40, 40);
    const double Zx = X0 - std::sqrt(3.0) * (H - 290) / 9.0;
    const int Zy = B + 40 + (H - 290) / 9;
    DrawLine(sceneSurface, X0, Y0, Zx, Zy);
    DrawLine(sceneSurface, Zx + 6, Zy - 7, Zx, Zy);
    DrawLine(sceneSurface, Zx + 9, Zy - 1, Zx, Zy);
}

void DrawDensityPanel(HDC dc_sW, HDC dc_k, double A)
{
    const int W = screenWidth, H = screenHeight, D = H - 190;
    const int X0 = D / 4 + 20, B = (D * 3) / 10;
    const double Yw = B + 95 + 3 * A;
    SetColor(black, sceneSurface);
    DrawLine(sceneSurface, W - 20, B + 60 + A, W - 20, B + 100 + 3 * A);
    DrawLine(sceneSurface, 20, B + 60 + A, 20, B + 100 + 3 * A);
    DrawLine(sceneSurface, 20, B + 60 + A, W - 20, B + 60 + A);
    DrawLine(sceneSurface, 20, B + 100 + 3 * A, W - 20, B + 100 + 3 * A);
    DrawImage(sceneSurface, dc_k, W - 65, Trunc(B + 3 * A + 55), 40, 40);

    UsePen(sceneSurface, 2, axisGrey);
    DrawLine(sceneSurface, X0, Yw, W - 20, Yw);
    DrawLine(sceneSurface, W - 28, Yw - 5, W - 20, Yw);
    DrawLine(sceneSurface, W - 28, Yw + 4, W - 20, Yw);
    const double V = B + 85 + A;
    DrawLine(sceneSurface, X0, V, X0, Yw);
    DrawLine(sceneSurface, X0, V, X0 + 4, V + 8);
    DrawLine(sceneSurface, X0, V, X0 - 4, V + 8);
    DrawImage(sceneSurface, dc_sW, D / 4 - 30, Trunc(V), 40, 40);
}

void DrawFluxPanel(HDC dc_sL, HDC dc_k, double A)
{
    const int W = screenWidth, H = screenHeight, D = H - 190;
    const int X0 = D / 4 + 20, B = (D * 3) / 10;
    const double Ys = B + 145 + 4 * A;
    SetColor(black, sceneSurface);
    DrawLine(sceneSurface, W - 20, B + 110 + 3 * A, W - 20, B + 150 + 5 * A);
    DrawLine(sceneSurface, 20, B + 110 + 3 * A, 20, B + 150 + 5 * A);
    DrawLine(sceneSurface, 20, B + 110 + 3 * A, W - 20, B + 110 + 3 * A);
    DrawLine(sceneSurface, 20, B + 150 + 5 * A, W - 20, B + 150 + 5 * A);

    UsePen(sceneSurface, 2, axisGrey);
    DrawLine(sceneSurface, X0, Ys, W - 20, Ys);
    DrawLine(sceneSurface, W - 28, Ys - 5, W - 20, Ys);
    DrawLine(sceneSurface, W - 28, Ys + 4, W - 20, Ys);
    DrawImage(sceneSurface, dc_k, W - 60, Trunc(B + 4 * A + 150), 40, 40);
    // The flux changes sign, so its vertical axis reaches A above and A below the flux axis.
    DrawLine(sceneSurface, X0, B + 145 + 3 * A, X0, B + 145 + 5 * A);
    DrawLine(sceneSurface, X0, B + 145 + 3 * A, X0 + 4, B + 153 + 3 * A);
    DrawLine(sceneSurface, X0, B + 145 + 3 * A, X0 - 4, B + 153 + 3 * A);
    DrawImage(sceneSurface, dc_sL, D / 4 - 30, Trunc(B + 145 + 3 * A), 40, 40);
}

struct PlotPoint {
    int x, y;
};

// A curve's pending straight piece: consecutive segments that continue in the same direction
// are drawn as one line, which covers exactly the pixels the short ones would (a wide line is
// every pixel centre within the pen's reach of the segment). Pending pieces never share a
// pixel's reach, and anything drawn at once first draws the pieces it could touch, so every
// pixel ends up with the colour it gets when each segment is drawn on its own, in order.
struct CurvePiece {
    COLORREF colour;
    bool open = false;
    PlotPoint from{}, to{};
    RECT reach{};  // the piece's box grown by the pen's reach
};

// A 3-px pen reaches at most 1.5 px from its centre line.
static const int penReach = 2;

static RECT Reach(PlotPoint a, PlotPoint b, int margin)
{
    return RECT{std::min(a.x, b.x) - margin, std::min(a.y, b.y) - margin, std::max(a.x, b.x) + margin,
                std::max(a.y, b.y) + margin};
}

static bool Overlap(const RECT& a, const RECT& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

static void DrawPiece(CurvePiece& piece)
{
    if (!piece.open)
        return;
    UsePen(backBuffer, 3, piece.colour);
    DrawLine(backBuffer, piece.from.x, piece.from.y, piece.to.x, piece.to.y);
    piece.open = false;
}

static void DrawPiecesWithin(std::span<CurvePiece> pieces, const RECT& area, const CurvePiece* except)
{
    for (CurvePiece& piece : pieces)
        if (&piece != except && piece.open && Overlap(piece.reach, area))
            DrawPiece(piece);
}

// The next segment of one curve, from its previous point to its current one. A segment within
// the hidden area (the white strip drawn over the plot's right end) is left out.
static void CurveTo(std::span<CurvePiece> pieces, CurvePiece& piece, PlotPoint from, PlotPoint to, const RECT& hidden)
{
    // A wide line of no length draws nothing.
    if (from.x == to.x && from.y == to.y)
        return;
    const RECT reach = Reach(from, to, penReach);
    if (reach.left >= hidden.left && reach.top >= hidden.top && reach.right <= hidden.right &&
        reach.bottom <= hidden.bottom)
        return;
    const long ux = piece.to.x - piece.from.x, uy = piece.to.y - piece.from.y;
    const long vx = to.x - from.x, vy = to.y - from.y;
    const bool continues = piece.open && piece.to.x == from.x && piece.to.y == from.y && ux * vy == uy * vx &&
                           ux * vx + uy * vy > 0;
    if (continues) {
        piece.to = to;
        piece.reach = RECT{std::min(piece.reach.left, reach.left), std::min(piece.reach.top, reach.top),
                           std::max(piece.reach.right, reach.right), std::max(piece.reach.bottom, reach.bottom)};
    } else {
        DrawPiece(piece);
        piece.open = true;
        piece.from = from;
        piece.to = to;
        piece.reach = reach;
    }
    // What the other curves hold near the new segment was drawn before it.
    DrawPiecesWithin(pieces, piece.reach, &piece);
}

void DrawStandingWave(double A, double phase, double electricFactor, double magneticFactor, bool fluxPanelOpen)
{
    const int W = screenWidth, H = screenHeight, D = H - 190;
    const int X0 = D / 4 + 20, B = (D * 3) / 10, Y0 = B + 40;
    const double Yw = B + 95 + 3 * A, Ys = B + 145 + 4 * A;
    const double root3 = std::sqrt(3.0);
    // About six arrows per wavelength of 2 pi A pixels. On a screen so short that A is below 1
    // the spacing is 0 and no arrow is drawn.
    const int spacing = Trunc(A * 3.1415 / 3);

    // In drawing order: electric, magnetic, electric density, magnetic density, flux.
    CurvePiece pieces[5] = {{electricRed}, {magneticBlue}, {electricRed}, {magneticBlue}, {fluxGreen}};
    PlotPoint previous[5] = {};
    // DrawPanelBorders whitens columns W - 20 to W - 1 from row D/10 + 60 down; past the screen's
    // edges nothing is drawn anyway.
    const RECT strip{W - 20, D / 10 + 60, INT_MAX, INT_MAX};
    for (double x = X0; x < W + A - 20; x += 1.0) {
        const int xi = Trunc(x);
        const double u = x / A + phase;
        const double e = std::sin(u + 1.57075) * (electricFactor * A);
        const double h = std::sin(u) * (magneticFactor * A);
        const int yE = Trunc(Y0 - e);
        // The magnetic axis runs down-left at 30 degrees, foreshortened to 0.85.
        const double m = 0.85 * h;
        const int xH = Trunc(xi - root3 * m / 2), yH = Trunc(m / 2 + Y0);

        const PlotPoint points[5] = {
            {xi, yE}, {xH, yH}, {xi, Trunc(Yw - 2 * e * e / A)}, {xi, Trunc(Yw - 2 * h * h / A)},
            {xi, Trunc(Ys - 8 * e * h / A)},
        };
        for (int curve = 0; curve < 5; ++curve) {
            if (x == X0)
                previous[curve] = points[curve];
            CurveTo(pieces, pieces[curve], previous[curve], points[curve], strip);
            previous[curve] = points[curve];
        }

        const int L = Trunc(4 * e * h / A);
        if (spacing <= 0 || Trunc(x - X0) % spacing != 0)
            continue;

        // Heads reach 8 px beyond the shafts' ends.
        const int arrowLeft = std::min({xi, xi + L, xH}) - 8, arrowRight = std::max({xi, xi + L, xH}) + 8;
        const int arrowTop = std::min({Y0, yE, yH}) - 8, arrowBottom = std::max({Y0, yE, yH}) + 8;
        DrawPiecesWithin(pieces, Reach({arrowLeft, arrowTop}, {arrowRight, arrowBottom}, penReach), nullptr);

        // Arrows of 8 pixels or less are left out whole, shaft included.
        UsePen(backBuffer, 3, fluxGreen);
        if (fluxPanelOpen) {
            if (L > 8) {
                DrawLine(backBuffer, xi, Y0, xi + L, Y0);
                DrawLine(backBuffer, xi + L - 8, Y0 - 4, xi + L, Y0);
                DrawLine(backBuffer, xi + L - 8, Y0 + 4, xi + L, Y0);
            } else if (L < -8) {
                DrawLine(backBuffer, xi, Y0, xi + L, Y0);
                DrawLine(backBuffer, xi + L + 8, Y0 - 4, xi + L, Y0);
                DrawLine(backBuffer, xi + L + 8, Y0 + 4, xi + L, Y0);
            }
        }

        UsePen(backBuffer, 3, electricRed);
        if (e > 8) {
            DrawLine(backBuffer, xi, Y0, xi, yE);
            DrawLine(backBuffer, xi - 4, yE + 8, xi, yE);
            DrawLine(backBuffer, xi + 4, yE + 8, xi, yE);
        } else if (e < -8) {
            DrawLine(backBuffer, xi, Y0, xi, yE);
            DrawLine(backBuffer, xi - 4, yE - 8, xi, yE);
            DrawLine(backBuffer, xi + 4, yE - 8, xi, yE);
        }

        UsePen(backBuffer, 3, magneticBlue);
        if (h < -8) {
            DrawLine(backBuffer, xi, Y0, xH, yH);
            DrawLine(backBuffer, xH, yH, xH - 7, yH);
            DrawLine(backBuffer, xH, yH, xH - 2, yH + 5);
        } else if (h > 8) {
            DrawLine(backBuffer, xi, Y0, xH, yH);
            DrawLine(backBuffer, xH, yH, xH + 7, yH);
            DrawLine(backBuffer, xH, yH, xH + 2, yH - 5);
        }
    }
    for (CurvePiece& piece : pieces)
        DrawPiece(piece);
}

void DrawPanelBorders(double A)
{
    const int W = screenWidth, H = screenHeight, D = H - 190;
    const int B = (D * 3) / 10, Y0 = B + 40, T = D / 10 + 40;
    // The strip hides the plot beyond x = W - 21; it starts 20 pixels below the field panel's top.
    SetColor(white, backBuffer);
    Rectangle(backBuffer, W - 20, D / 10 + 60, W, H);
    SetColor(black, backBuffer);
    DrawLine(backBuffer, W - 20, B + 60 + A, W - 20, B + 101 + 3 * A);
    DrawLine(backBuffer, W - 20, B + 110 + 3 * A, W - 20, B + 151 + 5 * A);
    DrawLine(backBuffer, W - 20, T, W - 20, Y0 + A + 11);
    DrawLine(backBuffer, 20, T, 20, Y0 + A + 10);
    DrawLine(backBuffer, 20, T, W - 20, T);
    DrawLine(backBuffer, 20, Y0 + A + 10, W - 20, Y0 + A + 10);
}
