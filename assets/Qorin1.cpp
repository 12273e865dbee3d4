// Qorin1's eleven bitmap files (standing waves): strip labels, button faces, the speed slider's
// track, the cover caption and the title banner, each drawn at the size the program loads it.
#include "draw.h"

#include <array>

namespace pictures {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kDark = RGB(25, 25, 25);
constexpr COLORREF kGrey = RGB(80, 80, 80);
constexpr COLORREF kWaveBlue = RGB(0, 50, 225);   // the waves on screen
constexpr COLORREF kNodeRed = RGB(200, 50, 0);    // the node discs on screen
constexpr COLORREF kTitleBlue = RGB(0, 50, 150);

// Strip labels, 150 x 100: two heading lines, a symbol in the middle, a formula at the bottom.
void Label(Canvas& c, const wchar_t* line1, const wchar_t* line2, const wchar_t* formula) {
    const Font heading{20, true};
    TextCentred(c, line1, heading, {4, 2, 146, 24}, kDark);
    TextCentred(c, line2, heading, {4, 24, 146, 46}, kDark);
    TextCentred(c, formula, {17}, {4, 76, 146, 96}, kGrey);
}

void RightLabel(Canvas& c, Lang lang) {
    Label(c, Say(lang, L"Wave running", L"Волна, бегущая"), Say(lang, L"to the right", L"вправо"),
          L"y = A sin(kx \u2212 \u03c9t)");
    Arrow(c, 25, 125, 61, 5, kWaveBlue);
}

void LeftLabel(Canvas& c, Lang lang) {
    Label(c, Say(lang, L"Wave running", L"Волна, бегущая"), Say(lang, L"to the left", L"влево"),
          L"y = A sin(kx + \u03c9t)");
    Arrow(c, 125, 25, 61, 5, kWaveBlue);
}

void SumLabel(Canvas& c, Lang lang) {
    Label(c, Say(lang, L"Their sum:", L"Их сумма \u2014"), Say(lang, L"a standing wave", L"стоячая волна"),
          L"y = 2A sin kx cos \u03c9t");
    // One and a half wavelengths: four nodes, the outer two at the ends.
    StandingWave(c, 20, 130, 61, 10, 220.0 / 3, 2, kWaveBlue, kNodeRed, 3);
}


// Slider track, 143 x 50. The black 16 x 16 thumb covers rows 33..48 with its left edge at
// column 7 + 160 v, so its centre is at 15 + 160 v; v runs up to 0.7 (left edge 119).
void SliderTrack(Canvas& c, Lang lang) {
    constexpr int thumbLeft = 7, thumbSize = 16, scale = 160;
    const int grooveRight = thumbLeft + scale * 7 / 10 + thumbSize;
    Box(c, thumbLeft, 38, grooveRight, 44, RGB(110, 110, 110));
    Box(c, thumbLeft + 1, 39, grooveRight - 1, 43, RGB(190, 190, 190));
    for (int tenth = 1; tenth <= 7; ++tenth) {
        const int x = thumbLeft + thumbSize / 2 + scale * tenth / 10;
        const bool labelled = tenth == 1 || tenth == 4 || tenth == 7;
        Line(c, x, labelled ? 28 : 30, x, 33, 1, kGrey);
        if (!labelled) continue;
        const std::wstring number = (lang == Lang::Ru ? L"0," : L"0.") + std::to_wstring(tenth);
        // The box's centre is the tick column's centre, x + 0.5.
        TextCentred(c, number, {13}, {x - 12, 14, x + 13, 25}, kDark);
    }
    TextCentred(c, Say(lang, L"speed", L"скорость"), {15, true}, {4, 1, 139, 14}, kDark);
}

// Cover caption, 250 x 40, copied onto a white panel: an eye and the request.
void CoverCaption(Canvas& c, Lang lang) {
    Oval(c, 4, 9, 44, 31, kDark);
    Oval(c, 6, 11, 42, 29, kWhite);
    Disc(c, 24, 20, 7, kWaveBlue);
    Disc(c, 24, 20, 3, kDark);
    TextCentred(c, Say(lang, L"click to reveal", L"нажмите, чтобы открыть"), {22}, {52, 0, 246, 40}, kDark);
}

// Title banner, 700 x 80, top left of the screen. On an 800-px screen the exit button covers
// its columns from 616 on, so nothing is drawn there.
void TitleBanner(Canvas& c, Lang lang) {
    const std::wstring title = Say(lang, L"Standing waves", L"Стоячие волны");
    const Font titleFont{46, true};
    TextAt(c, title, titleFont, 10, 44, kTitleBlue);
    TextAt(c,
           Say(lang, L"two equal waves running in opposite directions",
               L"две одинаковые волны, бегущие навстречу друг другу"),
           {21}, 12, 70, kGrey);
    // One and a half wavelengths of the standing wave beside the title.
    const Ink ink = MeasureInk(title, titleFont);
    const int x0 = 10 + ink.right - ink.left + 40;
    StandingWave(c, x0, x0 + 180, 28, 12, 120, 3, kWaveBlue, kNodeRed, 4);
}

constexpr COLORREF kTrackGrey = RGB(238, 238, 238);

constexpr std::array kPictures{
    Picture{"1.bmp", 150, 100, kWhite, RightLabel},
    Picture{"2.bmp", 150, 100, kWhite, LeftLabel},
    Picture{"3.bmp", 150, 100, kWhite, SumLabel},
    kStartPicture,
    kPausePicture,
    kExitPicture,
    kPlusPicture,
    kMinusPicture,
    Picture{"scr.bmp", 143, 50, kTrackGrey, SliderTrack},
    Picture{"pto.bmp", 250, 40, kWhite, CoverCaption},
    Picture{"top.bmp", 700, 80, kWhite, TitleBanner},
};

}  // namespace

std::span<const Picture> Qorin1Pictures() { return kPictures; }

}  // namespace pictures
