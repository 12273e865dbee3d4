// Drawing helpers shared by the picture tables of every program: an off-screen canvas on our
// GDI, solid shapes, arrows, waves and text fitted into a box, all through the Win32 names.
// Each program lists its bitmap files in its own source file as a table of Picture entries.
#pragma once

#include <windows.h>

#include <span>
#include <string>

namespace pictures {

enum class Lang { En, Ru };

// A memory DC with its own bitmap, filled with the background colour; every pen, brush and
// font it selects is deleted when replaced or when the canvas goes.
class Canvas {
public:
    Canvas(int width, int height, COLORREF background);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }
    void Use(HGDIOBJ object);  // selects it and deletes what it displaces
    bool Save(const std::string& path) const;

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    int width_, height_;
};

// Solid shapes: outline and interior in one colour.
void Box(Canvas& c, int left, int top, int right, int bottom, COLORREF colour);
void Oval(Canvas& c, int left, int top, int right, int bottom, COLORREF colour);
void Disc(Canvas& c, int cx, int cy, int radius, COLORREF colour);
void Line(Canvas& c, int x0, int y0, int x1, int y1, int width, COLORREF colour);
void Triangle(Canvas& c, POINT a, POINT b, POINT d, COLORREF colour);
// A horizontal arrow from x0 to the tip at x1 (either direction), shaft `width` pixels thick.
void Arrow(Canvas& c, int x0, int x1, int y, int width, COLORREF colour);
// y = mid - amp * sin(2 pi (x - x0) / wavelength + phase) from column x0 to x1.
void Wave(Canvas& c, int x0, int x1, int mid, double amp, double wavelength, double phase, int width, COLORREF colour);
// The two extreme shapes of a standing wave (one and a half loops per wavelength) with its nodes.
void StandingWave(Canvas& c, int x0, int x1, int mid, double amp, double wavelength, int width, COLORREF colour,
                  COLORREF nodeColour, int nodeRadius);

// Text. `height` is the font's cell height; bold uses the bold face.
struct Font {
    int height;
    bool bold = false;
};
struct TextBox {
    int left, top, right, bottom;  // pixels the ink may cover: columns left..right-1, rows top..bottom-1
};
// Horizontal ink extent and the cap band (top of a capital to the baseline) relative to the
// text origin of TextOutW.
struct Ink {
    int left = 0, right = 0;  // right is one past the last inked column
    int capTop = 0, baseline = 0;
};
Ink MeasureInk(const std::wstring& text, Font font);
// The font shrunk until the text's ink fits maxWidth (never below 8 px).
Font FitWidth(const std::wstring& text, Font font, int maxWidth);
// Text centred in the box: horizontally by its ink, vertically by its cap band, so lines with
// and without descenders sit alike. The font shrinks to fit the box's width.
void TextCentred(Canvas& c, const std::wstring& text, Font font, TextBox box, COLORREF colour);
// Text whose ink starts at column x and whose capitals stand on the baseline y.
void TextAt(Canvas& c, const std::wstring& text, Font font, int x, int baseline, COLORREF colour);

// A flat button face: colour field, a symbol drawn by the caller, and a word centred in the
// part of the face right of `wordLeft`.
void FaceWord(Canvas& c, const std::wstring& word, int wordLeft, COLORREF ink);

// One bitmap file a program loads: the picture is drawn at exactly its load size.
struct Picture {
    const char* file;
    int width, height;
    COLORREF background;
    void (*draw)(Canvas& c, Lang lang);
};

// The text for the picture's language.
const wchar_t* Say(Lang lang, const wchar_t* en, const wchar_t* ru);

// The button faces shared by every program, each at its load size and under its file name.
void StartFace(Canvas& c, Lang lang);
void PauseFace(Canvas& c, Lang lang);
void ExitFace(Canvas& c, Lang lang);
void PlusFace(Canvas& c, Lang lang);
void MinusFace(Canvas& c, Lang lang);
inline constexpr Picture kStartPicture{"s.bmp", 150, 50, RGB(0, 135, 60), StartFace};
inline constexpr Picture kPausePicture{"p.bmp", 150, 50, RGB(255, 185, 0), PauseFace};
inline constexpr Picture kExitPicture{"e.bmp", 150, 50, RGB(200, 30, 30), ExitFace};
// The same exit face under the name most programs load it by.
inline constexpr Picture kExitPictureEx{"ex.bmp", 150, 50, RGB(200, 30, 30), ExitFace};
inline constexpr Picture kPlusPicture{"+.bmp", 50, 50, RGB(30, 70, 160), PlusFace};
inline constexpr Picture kMinusPicture{"-.bmp", 50, 50, RGB(30, 70, 160), MinusFace};

// Each program's table of files, in assets/<program>.cpp; the generator finds them by name.
#define QORIN_PROGRAM(name) std::span<const Picture> name##Pictures();
#include "programs.inc"
#undef QORIN_PROGRAM

// Writes the large (107) or small (108) program icon as an .ico file with eight images.
bool WriteIcon(const std::string& path, bool small);

}  // namespace pictures
