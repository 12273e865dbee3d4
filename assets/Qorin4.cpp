// Qorin4's sixteen bitmap files (polarization of light): button faces, the four slider tracks
// (phase difference, both amplitudes, speed), the axis letters, the two pi signs that follow the
// phase field and the phase readout, and the title banner, each at the size the program loads it.
#include "draw.h"

#include <array>
#include <cmath>
#include <string>

namespace pictures {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kDark = RGB(25, 25, 25);
constexpr COLORREF kGrey = RGB(80, 80, 80);
constexpr COLORREF kAxisGrey = RGB(100, 100, 100);  // the axes on screen
constexpr COLORREF kComponentX = RGB(210, 50, 25);  // the X curve and the phase readout
constexpr COLORREF kComponentY = RGB(240, 50, 25);  // the Y curve
constexpr COLORREF kTrace = RGB(150, 150, 25);      // the vector's trace
constexpr COLORREF kTitleBlue = RGB(0, 50, 150);
constexpr COLORREF kTrackGrey = RGB(238, 238, 238);
constexpr COLORREF kResetBlue = RGB(30, 110, 170);

// The thumb is 16 px wide and its left edge stands 7 px into the track at the lowest value, so
// its centre column for a value is 7 + trunc(offset) + 8.
constexpr int kThumbLeft = 7;

std::wstring Decimal(Lang lang, const std::wstring& text) {
    std::wstring out = text;
    if (lang == Lang::Ru)
        for (wchar_t& ch : out)
            if (ch == L'.') ch = L',';
    return out;
}

// A groove under the thumb's centre line, from the lowest to the highest value's centre, and
// marks above it; labelled marks get their number centred on the mark's column.
struct Mark {
    double offset;  // thumb travel in pixels
    const wchar_t* label;  // null: a short unlabelled mark
};

void Track(Canvas& c, Lang lang, int grooveTop, std::initializer_list<Mark> marks, int labelTop, int labelHeight) {
    const int first = kThumbLeft + static_cast<int>(marks.begin()->offset) + 8;
    const int last = kThumbLeft + static_cast<int>((marks.end() - 1)->offset) + 8;
    Box(c, first - 8, grooveTop, last + 9, grooveTop + 6, RGB(110, 110, 110));
    Box(c, first - 7, grooveTop + 1, last + 8, grooveTop + 5, RGB(190, 190, 190));
    for (const Mark& m : marks) {
        const int x = kThumbLeft + static_cast<int>(m.offset) + 8;
        Line(c, x, m.label ? grooveTop - 5 : grooveTop - 3, x, grooveTop, 1, kGrey);
        if (m.label)
            TextCentred(c, Decimal(lang, m.label), {13}, {x - 14, labelTop, x + 15, labelTop + labelHeight}, kDark);
    }
}

// Phase track, 143 x 80: the thumb covers rows 63..78, its left edge at 7 + (d + 2) / 28 x 800.
void PhaseTrack(Canvas& c, Lang lang) {
    TextCentred(c, Say(lang, L"phase difference", L"разность фаз"), {15, true}, {4, 2, 139, 18}, kDark);
    TextCentred(c, Say(lang, L"X leads Y, in units of \u03c0", L"X впереди Y, в долях \u03c0"), {13}, {4, 21, 139, 35},
                kGrey);
    auto at = [](double d) { return (d + 2) / 28 * 800; };
    Track(c, lang, 68,
          {{at(-2), L"\u22122"}, {at(-1.5), nullptr}, {at(-1), L"\u22121"}, {at(-0.5), nullptr}, {at(0), L"0"},
           {at(0.5), nullptr}, {at(1), L"1"}, {at(1.5), nullptr}, {at(2), L"2"}},
          44, 14);
}

// Amplitude tracks, 143 x 50: the thumb covers rows 33..48, its left edge at 7 + a / 7 x 800.
void AmplitudeTrack(Canvas& c, Lang lang, const wchar_t* axis, COLORREF axisColour) {
    const std::wstring title = std::wstring(Say(lang, L"amplitude ", L"амплитуда ")) + axis;
    TextCentred(c, title, {15, true}, {4, 1, 139, 14}, axisColour);
    auto at = [](double a) { return a / 7 * 800; };
    Track(c, lang, 38,
          {{at(0), L"0"}, {at(0.25), nullptr}, {at(0.5), L"0.5"}, {at(0.75), nullptr}, {at(1), L"1"}}, 18, 12);
}

void AmplitudeXTrack(Canvas& c, Lang lang) { AmplitudeTrack(c, lang, L"X", kComponentX); }
void AmplitudeYTrack(Canvas& c, Lang lang) { AmplitudeTrack(c, lang, L"Y", kComponentY); }

// Speed track, 143 x 50: the thumb's left edge at 7 + 800 v, v from 0.001 up to 0.14.
void SpeedTrack(Canvas& c, Lang lang) {
    TextCentred(c, Say(lang, L"speed", L"скорость"), {15, true}, {4, 1, 139, 14}, kDark);
    Track(c, lang, 38,
          {{0, L"0"}, {16, nullptr}, {32, nullptr}, {48, nullptr}, {56, L"0.07"}, {64, nullptr}, {80, nullptr},
           {96, nullptr}, {112, L"0.14"}},
          18, 12);
}

// Reset face, 150 x 50: a circular arrow turning back, then the word.
void ResetFace(Canvas& c, Lang lang) {
    const double cx = 28, cy = 25, r = 11;
    // Three quarters of a circle from the top, clockwise, drawn as short 4-px strokes.
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < 27; ++i) {
        const double a0 = -pi / 2 + i * (1.5 * pi / 27), a1 = -pi / 2 + (i + 1) * (1.5 * pi / 27);
        Line(c, static_cast<int>(std::lround(cx + r * std::cos(a0))), static_cast<int>(std::lround(cy + r * std::sin(a0))),
             static_cast<int>(std::lround(cx + r * std::cos(a1))), static_cast<int>(std::lround(cy + r * std::sin(a1))), 4,
             kWhite);
    }
    // The arrowhead at the open end (the left of the circle), pointing up.
    Triangle(c, {10, 27}, {24, 27}, {17, 17}, kWhite);
    FaceWord(c, Say(lang, L"Reset", L"Сброс"), 54, kWhite);
}

void Letter(Canvas& c, const wchar_t* letter, COLORREF colour) {
    TextCentred(c, letter, {34, true}, {0, 0, c.Width(), c.Height()}, colour);
}

void LetterX(Canvas& c, Lang) { Letter(c, L"X", kComponentX); }
void LetterY(Canvas& c, Lang) { Letter(c, L"Y", kComponentY); }
void LetterZ(Canvas& c, Lang) { Letter(c, L"Z", kAxisGrey); }

// Pi after the phase field: its baseline on the field's text baseline (row 22 of the image).
void PiAfterField(Canvas& c, Lang) { TextAt(c, L"\u03c0", {24}, 3, 22, kDark); }
// Pi after the phase readout: its baseline on the readout's baseline (row 27 of the image).
void PiAfterReadout(Canvas& c, Lang) { TextAt(c, L"\u03c0", {30}, 2, 27, kComponentX); }

// Title banner, 600 x 80, top left of the screen; the exit button stands well to its right.
void TitleBanner(Canvas& c, Lang lang) {
    const std::wstring title = Say(lang, L"Polarization of light", L"Поляризация света");
    const Font titleFont{44, true};
    TextAt(c, title, titleFont, 10, 42, kTitleBlue);
    TextAt(c,
           Say(lang, L"two perpendicular components with a phase difference",
               L"две перпендикулярные составляющие с разностью фаз"),
           {20}, 12, 68, kGrey);
    // A small ellipse traced by the field vector beside the title.
    const Ink ink = MeasureInk(title, titleFont);
    const int cx = 10 + ink.right - ink.left + 70, cy = 30;
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < 48; ++i) {
        const double a0 = i * pi / 24, a1 = (i + 1) * pi / 24;
        Line(c, cx + static_cast<int>(std::lround(40 * std::cos(a0))), cy + static_cast<int>(std::lround(20 * std::sin(a0 + 0.8))),
             cx + static_cast<int>(std::lround(40 * std::cos(a1))), cy + static_cast<int>(std::lround(20 * std::sin(a1 + 0.8))),
             2, kTrace);
    }
    Line(c, cx, cy, cx + static_cast<int>(std::lround(40 * std::cos(0.6))),
         cy + static_cast<int>(std::lround(20 * std::sin(1.4))), 3, RGB(250, 50, 25));
}

constexpr std::array kPictures{
    kStartPicture,
    kPausePicture,
    kExitPictureEx,
    kPlusPicture,
    kMinusPicture,
    Picture{"scr.bmp", 143, 50, kTrackGrey, SpeedTrack},
    Picture{"rst.bmp", 150, 50, kResetBlue, ResetFace},
    Picture{"scr2.bmp", 143, 50, kTrackGrey, AmplitudeYTrack},
    Picture{"scr1.bmp", 143, 50, kTrackGrey, AmplitudeXTrack},
    Picture{"scr0.bmp", 143, 80, kTrackGrey, PhaseTrack},
    Picture{"X.bmp", 40, 40, kWhite, LetterX},
    Picture{"Y.bmp", 40, 40, kWhite, LetterY},
    Picture{"Z.bmp", 40, 40, kWhite, LetterZ},
    Picture{"top.bmp", 600, 80, kWhite, TitleBanner},
    Picture{"Pi.bmp", 30, 30, kWhite, PiAfterField},
    Picture{"Pi2.bmp", 30, 30, kWhite, PiAfterReadout},
};

}  // namespace

std::span<const Picture> Qorin4Pictures() { return kPictures; }

}  // namespace pictures
