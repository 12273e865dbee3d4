// Drawing helpers of the picture generator. Everything goes through our GDI (memory DCs, pens,
// brushes, Rectangle, Ellipse, lines, TextOutW); text is measured by drawing it on a scratch
// canvas and finding its ink, since the layer offers no text-extent call.
#include "draw.h"

#include "gdi/objects.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace pictures {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kBold = 700;
constexpr COLORREF kWhite = RGB(255, 255, 255);

HFONT MakeFont(Font font) {
    return CreateFontW(font.height, 0, 0, 0, font.bold ? kBold : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial");
}

void DrawText(Canvas& c, const std::wstring& text, Font font, int x, int y, COLORREF colour) {
    c.Use(MakeFont(font));
    SetTextColor(c.Dc(), colour);
    SetBkMode(c.Dc(), TRANSPARENT);
    TextOutW(c.Dc(), x, y, text.c_str(), static_cast<int>(text.size()));
}

// Bounding box of the non-white pixels: {left, top, right, bottom}, right and bottom exclusive.
RECT InkBox(const Canvas& c) {
    RECT box{c.Width(), c.Height(), 0, 0};
    for (int y = 0; y < c.Height(); ++y) {
        for (int x = 0; x < c.Width(); ++x) {
            if (c.Pixel(x, y) == kWhite) continue;
            box.left = std::min<LONG>(box.left, x);
            box.right = std::max<LONG>(box.right, x + 1);
            box.top = std::min<LONG>(box.top, y);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    }
    return box;
}

RECT InkOf(const std::wstring& text, Font font, int pad) {
    Canvas scratch(static_cast<int>(text.size()) * font.height * 2 + 2 * pad, font.height * 2 + 2 * pad, kWhite);
    DrawText(scratch, text, font, pad, pad, RGB(0, 0, 0));
    return InkBox(scratch);
}

}  // namespace

Canvas::Canvas(int width, int height, COLORREF background) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(dc_, width, height);
    SelectObject(dc_, bitmap_);
    Box(*this, 0, 0, width, height, background);
}

Canvas::~Canvas() {
    Use(GetStockObject(BLACK_PEN));
    Use(GetStockObject(WHITE_BRUSH));
    Use(GetStockObject(SYSTEM_FONT));
    DeleteDC(dc_);
    DeleteObject(bitmap_);
}

void Canvas::Use(HGDIOBJ object) {
    if (HGDIOBJ displaced = SelectObject(dc_, object)) DeleteObject(displaced);
}

bool Canvas::Save(const std::string& path) const {
    const qp::DeviceContext* dc = qp::LookupDc(dc_);
    return dc && dc->bitmap && qp::WriteBmp(*dc->bitmap, path);
}

void Box(Canvas& c, int left, int top, int right, int bottom, COLORREF colour) {
    c.Use(CreatePen(PS_SOLID, 1, colour));
    c.Use(CreateSolidBrush(colour));
    Rectangle(c.Dc(), left, top, right, bottom);
}

void Oval(Canvas& c, int left, int top, int right, int bottom, COLORREF colour) {
    c.Use(CreatePen(PS_SOLID, 1, colour));
    c.Use(CreateSolidBrush(colour));
    Ellipse(c.Dc(), left, top, right, bottom);
}

void Disc(Canvas& c, int cx, int cy, int radius, COLORREF colour) { Oval(c, cx - radius, cy - radius, cx + radius, cy + radius, colour); }

void Line(Canvas& c, int x0, int y0, int x1, int y1, int width, COLORREF colour) {
    c.Use(CreatePen(PS_SOLID, width, colour));
    MoveToEx(c.Dc(), x0, y0, nullptr);
    LineTo(c.Dc(), x1, y1);
}

void Triangle(Canvas& c, POINT a, POINT b, POINT d, COLORREF colour) {
    // A pixel belongs to the triangle when its centre does; each row is one run drawn as a
    // 1-px line (whose end point is excluded, hence the + 1).
    auto edge = [](POINT p, POINT q, double x, double y) { return (q.x - p.x) * (y - p.y) - (q.y - p.y) * (x - p.x); };
    const double orientation = edge(a, b, d.x, d.y) < 0 ? -1.0 : 1.0;
    const int top = std::min({a.y, b.y, d.y}), bottom = std::max({a.y, b.y, d.y});
    const int left = std::min({a.x, b.x, d.x}), right = std::max({a.x, b.x, d.x});
    c.Use(CreatePen(PS_SOLID, 1, colour));
    for (int y = top; y <= bottom; ++y) {
        int first = right + 1, last = left - 1;
        for (int x = left; x <= right; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            if (orientation * edge(a, b, px, py) >= 0 && orientation * edge(b, d, px, py) >= 0 &&
                orientation * edge(d, a, px, py) >= 0) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
        if (first > last) continue;
        MoveToEx(c.Dc(), first, y, nullptr);
        LineTo(c.Dc(), last + 1, y);
    }
}

void Arrow(Canvas& c, int x0, int x1, int y, int width, COLORREF colour) {
    const int dir = x1 >= x0 ? 1 : -1;
    const int headLength = 3 * width + 6, headHalf = 2 * width + 3;
    const int neck = x1 - dir * headLength;
    Box(c, std::min(x0, neck), y - width / 2, std::max(x0, neck) + 1, y - width / 2 + width, colour);
    Triangle(c, {neck, y - headHalf}, {neck, y + headHalf}, {x1, y}, colour);
}

void Wave(Canvas& c, int x0, int x1, int mid, double amp, double wavelength, double phase, int width, COLORREF colour) {
    c.Use(CreatePen(PS_SOLID, width, colour));
    auto yAt = [&](int x) {
        return static_cast<int>(std::lround(mid - amp * std::sin(2 * kPi * (x - x0) / wavelength + phase)));
    };
    MoveToEx(c.Dc(), x0, yAt(x0), nullptr);
    for (int x = x0 + 1; x <= x1; ++x) LineTo(c.Dc(), x, yAt(x));
    if (width == 1) LineTo(c.Dc(), x1 + 1, yAt(x1));  // a 1-px line leaves out its last point
}

void StandingWave(Canvas& c, int x0, int x1, int mid, double amp, double wavelength, int width, COLORREF colour,
                  COLORREF nodeColour, int nodeRadius) {
    Wave(c, x0, x1, mid, amp, wavelength, 0, width, colour);
    Wave(c, x0, x1, mid, amp, wavelength, kPi, width, colour);
    if (nodeRadius <= 0) return;
    for (double x = x0; x <= x1 + 0.5; x += wavelength / 2) Disc(c, static_cast<int>(std::lround(x)), mid, nodeRadius, nodeColour);
}

Ink MeasureInk(const std::wstring& text, Font font) {
    const int pad = 4;
    const RECT ink = InkOf(text, font, pad);
    const RECT cap = InkOf(L"H", font, pad);
    return {ink.left - pad, ink.right - pad, cap.top - pad, cap.bottom - pad};
}

Font FitWidth(const std::wstring& text, Font font, int maxWidth) {
    while (font.height > 8) {
        const Ink ink = MeasureInk(text, font);
        if (ink.right - ink.left <= maxWidth) break;
        --font.height;
    }
    return font;
}

void TextCentred(Canvas& c, const std::wstring& text, Font font, TextBox box, COLORREF colour) {
    font = FitWidth(text, font, box.right - box.left);
    const Ink ink = MeasureInk(text, font);
    // Twice the centres, so an odd leftover pixel goes to the right and below.
    const int x = (box.left + box.right - ink.left - ink.right) / 2;
    const int y = (box.top + box.bottom - ink.capTop - ink.baseline) / 2;
    DrawText(c, text, font, x, y, colour);
}

void TextAt(Canvas& c, const std::wstring& text, Font font, int x, int baseline, COLORREF colour) {
    const Ink ink = MeasureInk(text, font);
    DrawText(c, text, font, x - ink.left, baseline - ink.baseline, colour);
}

void FaceWord(Canvas& c, const std::wstring& word, int wordLeft, COLORREF ink) {
    TextCentred(c, word, {30, true}, {wordLeft, 0, c.Width() - 8, c.Height()}, ink);
}

}  // namespace pictures
