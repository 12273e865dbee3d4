// Qorin5's bitmap files (the standing electromagnetic wave): axis labels, the title and the three
// panel captions, the cover caption, the speed slider's track and the button faces, each drawn
// at the size the program loads it.
#include "draw.h"

#include <array>

namespace pictures {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kDark = RGB(25, 25, 25);
constexpr COLORREF kGrey = RGB(80, 80, 80);
constexpr COLORREF kTitleBlue = RGB(0, 50, 150);
// A shade darker than the curves on screen, so a label matches what it names but no pixel of
// it passes for a point of a curve.
constexpr COLORREF kElectricRed = RGB(200, 0, 0);
constexpr COLORREF kMagneticBlue = RGB(0, 0, 200);
constexpr COLORREF kFluxGreen = RGB(0, 140, 40);

// Axis labels, 40 x 40: one bold letter; a vector gets a small arrow over it.
void Letter(Canvas& c, const wchar_t* letter, COLORREF colour, bool vector) {
    if (vector) {
        TextCentred(c, letter, {28, true}, {4, 12, 36, 38}, colour);
        Arrow(c, 9, 31, 6, 2, colour);
    } else {
        TextCentred(c, letter, {30, true}, {4, 4, 36, 36}, colour);
    }
}

void ElectricLabel(Canvas& c, Lang) { Letter(c, L"E", kElectricRed, false); }
void MagneticLabel(Canvas& c, Lang) { Letter(c, L"H", kMagneticBlue, false); }
void TravelLabel(Canvas& c, Lang) { Letter(c, L"k", kGrey, true); }
void FluxLabel(Canvas& c, Lang) { Letter(c, L"S", kFluxGreen, true); }

// The density label: W split in colour, red above blue, as the two density curves are drawn.
void DensityLabel(Canvas& c, Lang) {
    Letter(c, L"W", kDark, false);
    Box(c, 6, 35, 20, 38, kElectricRed);
    Box(c, 20, 35, 34, 38, kMagneticBlue);
}

// Title banner, 600 x 80, top left; the exit button starts at W - 174, right of it on any
// screen of 800 pixels or more.
void TitleBanner(Canvas& c, Lang lang) {
    const std::wstring title = Say(lang, L"Standing electromagnetic wave", L"Стоячая электромагнитная волна");
    TextAt(c, title, FitWidth(title, {40, true}, 580), 10, 40, kTitleBlue);
    TextAt(c, L"E = E\u2080 cos kx cos \u03c9t,   H = H\u2080 sin kx sin \u03c9t", {20}, 12, 68, kGrey);
    TextAt(c, Say(lang, L"(E nodes at H crests)", L"(узлы E \u2014 пучности H)"), {18}, 410, 68, kGrey);
}

// Panel captions, 400 x 35, one pixel under each panel's top border.
void Caption(Canvas& c, const wchar_t* text) { TextCentred(c, text, {22, true}, {4, 3, 396, 29}, kDark); }
void FieldCaption(Canvas& c, Lang lang) {
    Caption(c, Say(lang, L"Electric and magnetic fields", L"Электрическое и магнитное поля"));
}
void DensityCaption(Canvas& c, Lang lang) {
    Caption(c, Say(lang, L"Energy density of the fields", L"Плотность энергии полей"));
}
void FluxCaption(Canvas& c, Lang lang) {
    Caption(c, Say(lang, L"Energy flux density", L"Плотность потока энергии"));
}

// Cover caption, 250 x 40, copied onto a white panel: an eye and the request.
void CoverCaption(Canvas& c, Lang lang) {
    Oval(c, 4, 9, 44, 31, kDark);
    Oval(c, 6, 11, 42, 29, kWhite);
    Disc(c, 24, 20, 7, kFluxGreen);
    Disc(c, 24, 20, 3, kDark);
    TextCentred(c, Say(lang, L"click to reveal", L"нажмите, чтобы открыть"), {22}, {52, 0, 246, 40}, kDark);
}

// Slider track, 143 x 50. The black 16 x 16 thumb covers rows 33..48 with its left edge at
// column 7 + 800 v, so its centre is at 15 + 800 v; v runs from 0.001 up to 0.14 (left edge 119).
void SliderTrack(Canvas& c, Lang lang) {
    constexpr int thumbLeft = 7, thumbSize = 16, scale = 800;
    const int grooveRight = thumbLeft + scale * 14 / 100 + thumbSize;
    Box(c, thumbLeft, 38, grooveRight, 44, RGB(110, 110, 110));
    Box(c, thumbLeft + 1, 39, grooveRight - 1, 43, RGB(190, 190, 190));
    for (int step = 1; step <= 7; ++step) {
        const int hundredths = 2 * step;
        const int x = thumbLeft + thumbSize / 2 + scale * hundredths / 100;
        const bool labelled = step == 1 || step == 4 || step == 7;
        Line(c, x, labelled ? 28 : 30, x, 33, 1, kGrey);
        if (!labelled) continue;
        const std::wstring number = (lang == Lang::Ru ? L"0," : L"0.") + std::wstring(hundredths < 10 ? L"0" : L"") +
                                    std::to_wstring(hundredths);
        // The box's centre is the tick column's centre, x + 0.5.
        TextCentred(c, number, {13}, {x - 14, 14, x + 15, 25}, kDark);
    }
    TextCentred(c, Say(lang, L"speed", L"скорость"), {15, true}, {4, 1, 139, 14}, kDark);
}

constexpr COLORREF kTrackGrey = RGB(238, 238, 238);

constexpr std::array kPictures{
    Picture{"E.bmp", 40, 40, kWhite, ElectricLabel},
    Picture{"H.bmp", 40, 40, kWhite, MagneticLabel},
    Picture{"k.bmp", 40, 40, kWhite, TravelLabel},
    Picture{"S_.bmp", 40, 40, kWhite, FluxLabel},
    Picture{"W.bmp", 40, 40, kWhite, DensityLabel},
    kStartPicture,
    kPausePicture,
    kExitPictureEx,
    kPlusPicture,
    kMinusPicture,
    Picture{"scr.bmp", 143, 50, kTrackGrey, SliderTrack},
    Picture{"pto.bmp", 250, 40, kWhite, CoverCaption},
    Picture{"top.bmp", 600, 80, kWhite, TitleBanner},
    Picture{"top1.bmp", 400, 35, kWhite, FieldCaption},
    Picture{"top2.bmp", 400, 35, kWhite, DensityCaption},
    Picture{"top3.bmp", 400, 35, kWhite, FluxCaption},
};

}  // namespace

std::span<const Picture> Qorin5Pictures() { return kPictures; }

}  // namespace pictures
