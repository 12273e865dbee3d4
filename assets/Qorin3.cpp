// Qorin3's bitmap files (the travelling electromagnetic wave): axis labels in the colours of their
// curves, the wave's formulas, the direction of travel, the title banner, the cover caption, the
// speed slider's track and the button faces, each drawn at the size the program loads it.
#include "draw.h"

#include <array>
#include <string>

namespace pictures {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kDark = RGB(25, 25, 25);
constexpr COLORREF kGrey = RGB(80, 80, 80);
constexpr COLORREF kAxisGrey = RGB(100, 100, 100);  // the axes on screen
constexpr COLORREF kElectric = RGB(250, 5, 5);      // the curves on screen
constexpr COLORREF kMagnetic = RGB(0, 5, 250);
constexpr COLORREF kFlux = RGB(50, 160, 25);
constexpr COLORREF kTitleBlue = RGB(0, 50, 150);
constexpr COLORREF kTrackGrey = RGB(238, 238, 238);

// A bold capital centred in a 40 x 40 label; with a vector arrow its cap band sits lower, and a
// 2-px arrow spans its ink 5 px above it.
void Letter(Canvas& c, const wchar_t* letter, COLORREF colour, bool vector) {
    const Font font{vector ? 32 : 36, true};
    const Ink ink = MeasureInk(letter, font);
    const int width = ink.right - ink.left, cap = ink.baseline - ink.capTop;
    const int x = (c.Width() - width) / 2;
    const int baseline = vector ? c.Height() - 4 : (c.Height() + cap) / 2;
    TextAt(c, letter, font, x, baseline, colour);
    if (!vector) return;
    const int y = baseline - cap - 6, left = x - 1, right = x + width + 1;
    Line(c, left, y, right - 3, y, 2, colour);
    Triangle(c, {right - 6, y - 4}, {right - 6, y + 4}, {right + 1, y}, colour);
}

void ElectricLabel(Canvas& c, Lang) { Letter(c, L"E", kElectric, false); }
void MagneticLabel(Canvas& c, Lang) { Letter(c, L"H", kMagnetic, false); }
void TravelLabel(Canvas& c, Lang) { Letter(c, L"k", kAxisGrey, true); }
void FluxLabel(Canvas& c, Lang) { Letter(c, L"S", kFlux, true); }

// The two fields, 150 x 50, one line each in the colour of its curve.
void Formula(Canvas& c, Lang) {
    const Font font{19};
    TextCentred(c, L"E = E\u2080 sin(\u03c9t \u2212 kx)", font, {2, 3, 148, 23}, kElectric);
    TextCentred(c, L"H = H\u2080 sin(\u03c9t \u2212 kx)", font, {2, 27, 148, 47}, kMagnetic);
}

// The direction of travel, 80 x 40: the speed of light above an arrow pointing along k.
void TravelDirection(Canvas& c, Lang) {
    TextCentred(c, L"v = c", {17, true}, {4, 2, 76, 17}, kDark);
    Arrow(c, 6, 74, 29, 3, kDark);
}

// Title banner, 600 x 80, top left of the screen. On an 800-px screen the exit button starts at
// column 629, right of the banner.
void TitleBanner(Canvas& c, Lang lang) {
    const std::wstring title = Say(lang, L"Travelling electromagnetic wave", L"Бегущая электромагнитная волна");
    TextAt(c, title, FitWidth(title, {40, true}, 580), 10, 42, kTitleBlue);
    const std::wstring line = Say(lang, L"E and H oscillate in phase, at right angles, and move along k",
                                  L"E и H колеблются в одной фазе, взаимно перпендикулярны и бегут вдоль k");
    TextAt(c, line, FitWidth(line, {20}, 580), 12, 68, kGrey);
}

// Cover caption, 250 x 40, on the white cover of the flux panel: a green flux arrow and the request.
void CoverCaption(Canvas& c, Lang lang) {
    Arrow(c, 4, 42, 20, 4, kFlux);
    TextCentred(c, Say(lang, L"Energy flux density", L"Плотность потока энергии"), {17, true}, {50, 2, 248, 19},
                kDark);
    TextCentred(c, Say(lang, L"click to reveal", L"нажмите, чтобы открыть"), {16}, {50, 22, 248, 38}, kGrey);
}

// Slider track, 143 x 50. The black 16 x 16 thumb covers rows 33..48 with its left edge at
// column 7 + 800 v, so its centre is at 15 + 800 v; v runs from 0.001 to 0.14 (left edge 119).
void SliderTrack(Canvas& c, Lang lang) {
    constexpr int thumbLeft = 7, thumbSize = 16, scale = 800;
    const int grooveRight = thumbLeft + scale * 14 / 100 + thumbSize;
    Box(c, thumbLeft, 38, grooveRight, 44, RGB(110, 110, 110));
    Box(c, thumbLeft + 1, 39, grooveRight - 1, 43, RGB(190, 190, 190));
    // Ticks every 0.02; 0.02, 0.08 and 0.14 are labelled.
    for (int step = 1; step <= 7; ++step) {
        const int x = thumbLeft + thumbSize / 2 + scale * 2 * step / 100;
        const bool labelled = step == 1 || step == 4 || step == 7;
        Line(c, x, labelled ? 28 : 30, x, 33, 1, kGrey);
        if (!labelled) continue;
        const std::wstring digits = std::to_wstring(2 * step);
        const std::wstring number = (lang == Lang::Ru ? L"0," : L"0.") + std::wstring(digits.size() < 2 ? L"0" : L"") + digits;
        // The box's centre is the tick column's centre, x + 0.5.
        TextCentred(c, number, {13}, {x - 14, 14, x + 15, 25}, kDark);
    }
    TextCentred(c, Say(lang, L"speed", L"скорость"), {15, true}, {4, 1, 139, 14}, kDark);
}

constexpr std::array kPictures{
    Picture{"E.bmp", 40, 40, kWhite, ElectricLabel},
    Picture{"H.bmp", 40, 40, kWhite, MagneticLabel},
    Picture{"k.bmp", 40, 40, kWhite, TravelLabel},
    kStartPicture,
    Picture{"S_.bmp", 40, 40, kWhite, FluxLabel},
    kPausePicture,
    kExitPictureEx,
    kPlusPicture,
    kMinusPicture,
    Picture{"scr.bmp", 143, 50, kTrackGrey, SliderTrack},
    Picture{"pto.bmp", 250, 40, kWhite, CoverCaption},
    Picture{"top.bmp", 600, 80, kWhite, TitleBanner},
    Picture{"form.bmp", 150, 50, kWhite, Formula},
    Picture{"k_v.bmp", 80, 40, kWhite, TravelDirection},
};

}  // namespace

std::span<const Picture> Qorin3Pictures() { return kPictures; }

}  // namespace pictures
