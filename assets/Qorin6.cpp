// Qorin6's bitmap files (light at a boundary): the scene titles and the buttons that switch to
// them, the region labels, the index and speed slider tracks and the two title strips, each
// drawn at the size the program loads it.
#include "draw.h"

#include <array>
#include <string>

namespace pictures {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kDark = RGB(25, 25, 25);
constexpr COLORREF kGrey = RGB(80, 80, 80);
constexpr COLORREF kTitleBlue = RGB(0, 50, 150);
constexpr COLORREF kButtonBlue = RGB(30, 70, 160);
constexpr COLORREF kTrackGrey = RGB(238, 238, 238);
// The region and wave colours of the screen, so the small diagrams match what they stand for.
constexpr COLORREF kMedium = RGB(200, 190, 200);
constexpr COLORREF kVacuum = RGB(240, 240, 240);
constexpr COLORREF kIncident = RGB(0, 50, 225);
constexpr COLORREF kTransmitted = RGB(100, 10, 0);

// A small picture of a scene, 44 x 34 at (left, top): the region the wave comes from on the
// left, the other on the right, and an arrow across the boundary.
void SceneIcon(Canvas& c, int left, int top, bool fromMedium, COLORREF arrow) {
    Box(c, left, top, left + 44, top + 34, kDark);
    Box(c, left + 1, top + 1, left + 22, top + 33, fromMedium ? kMedium : kVacuum);
    Box(c, left + 22, top + 1, left + 43, top + 33, fromMedium ? kVacuum : kMedium);
    Box(c, left + 22, top + 1, left + 23, top + 33, kDark);
    Arrow(c, left + 5, left + 39, top + 17, 3, arrow);
}

// Scene titles and switch buttons, 200 x 50: the icon, then two lines naming the direction.
// A title is dark on white; a button is white on the blue of the other buttons.
void SceneFace(Canvas& c, Lang lang, bool fromMedium, bool button) {
    const COLORREF ink = button ? kWhite : kTitleBlue;
    SceneIcon(c, 7, 8, fromMedium, kIncident);
    const wchar_t* line1 =
        fromMedium ? Say(lang, L"From a medium", L"Из среды") : Say(lang, L"From vacuum", L"Из вакуума");
    const wchar_t* line2 =
        fromMedium ? Say(lang, L"into vacuum", L"в вакуум") : Say(lang, L"into a medium", L"в среду");
    TextCentred(c, line1, {19, true}, {58, 4, 196, 24}, ink);
    TextCentred(c, line2, {19, true}, {58, 26, 196, 46}, ink);
}

void MediumTitle(Canvas& c, Lang lang) { SceneFace(c, lang, true, false); }
void MediumButton(Canvas& c, Lang lang) { SceneFace(c, lang, true, true); }
void VacuumTitle(Canvas& c, Lang lang) { SceneFace(c, lang, false, false); }
void VacuumButton(Canvas& c, Lang lang) { SceneFace(c, lang, false, true); }

// Region labels, 200 x 50, under the boxes: a swatch of the region's colour and its name.
void RegionLabel(Canvas& c, COLORREF swatch, const wchar_t* name, const wchar_t* index) {
    Box(c, 6, 10, 36, 40, kDark);
    Box(c, 7, 11, 35, 39, swatch);
    TextCentred(c, name, {24, true}, {44, 2, 196, 26}, kDark);
    TextCentred(c, index, {19}, {44, 28, 196, 48}, kGrey);
}

void MediumLabel(Canvas& c, Lang lang) { RegionLabel(c, kMedium, Say(lang, L"Medium", L"Среда"), L"n > 1"); }
void VacuumLabel(Canvas& c, Lang lang) { RegionLabel(c, kVacuum, Say(lang, L"Vacuum", L"Вакуум"), L"n = 1"); }

// A groove under the thumb's travel with labelled marks, shared by both tracks. The 16 x 16
// thumb covers rows 33..48; a mark's column is where the thumb's left edge plus 8 stands.
void Groove(Canvas& c, int left, int right) {
    Box(c, left, 38, right, 44, RGB(110, 110, 110));
    Box(c, left + 1, 39, right - 1, 43, RGB(190, 190, 190));
}

void Mark(Canvas& c, int x, const std::wstring& label) {
    Line(c, x, label.empty() ? 30 : 28, x, 33, 1, kGrey);
    if (label.empty()) return;
    // The box's centre is the mark column's centre, x + 0.5.
    TextCentred(c, label, {13}, {x - 12, 14, x + 13, 25}, kDark);
}

std::wstring Decimal(Lang lang, int units, int tenths) {
    return std::to_wstring(units) + (lang == Lang::Ru ? L"," : L".") + std::to_wstring(tenths);
}

// Index track, 347 x 50 at (12, H - 115). The thumb's left edge runs from track column 210
// (n = 1) to 324 (n = 2) at 800/7 pixels per unit of n: n = 1.5 puts it at 267.
void IndexTrack(Canvas& c, Lang lang) {
    constexpr int thumbLeftAtOne = 210, halfThumb = 8;
    constexpr int markOne = thumbLeftAtOne + halfThumb;       // 218
    constexpr int markHalf = thumbLeftAtOne + 57 + halfThumb;  // 275: trunc(0.5 / 7 * 800) = 57
    constexpr int markTwo = thumbLeftAtOne + 114 + halfThumb;  // 332
    Groove(c, thumbLeftAtOne, thumbLeftAtOne + 114 + 2 * halfThumb);
    Mark(c, markOne, Decimal(lang, 1, 0));
    Mark(c, markHalf, Decimal(lang, 1, 5));
    Mark(c, markTwo, Decimal(lang, 2, 0));
    for (int tenth = 1; tenth <= 9; ++tenth)
        if (tenth != 5) Mark(c, thumbLeftAtOne + tenth * 800 / 70 + halfThumb, L"");
    TextCentred(c, Say(lang, L"refractive index", L"показатель"), {19, true}, {4, 6, 200, 24}, kDark);
    TextCentred(c, Say(lang, L"of the medium, n", L"преломления среды n"), {19, true}, {4, 27, 200, 45},
                kDark);
}

// Speed track, 143 x 50. The thumb's left edge is at column 7 + 160 v for v up to 0.7.
void SpeedTrack(Canvas& c, Lang lang) {
    constexpr int thumbLeft = 7, halfThumb = 8, scale = 160;
    Groove(c, thumbLeft, thumbLeft + scale * 7 / 10 + 2 * halfThumb);
    for (int tenth = 1; tenth <= 7; ++tenth) {
        const bool labelled = tenth == 1 || tenth == 4 || tenth == 7;
        Mark(c, thumbLeft + halfThumb + scale * tenth / 10, labelled ? Decimal(lang, 0, tenth) : L"");
    }
    TextCentred(c, Say(lang, L"speed", L"скорость"), {15, true}, {4, 1, 139, 14}, kDark);
}

// Title strips, 600 x 80, top left: the heading, the scene's direction, and on the right a
// small diagram of the wave crossing, its wavelength shorter in the medium.
void TitleStrip(Canvas& c, Lang lang, bool fromMedium) {
    TextAt(c, Say(lang, L"Light at a boundary", L"Свет на границе"), {42, true}, 10, 42, kTitleBlue);
    TextAt(c,
           fromMedium ? Say(lang, L"from a medium into vacuum: reflection and transmission",
                            L"из среды в вакуум: отражение и прохождение")
                      : Say(lang, L"from vacuum into a medium: reflection and transmission",
                            L"из вакуума в среду: отражение и прохождение"),
           {19}, 12, 68, kGrey);
    constexpr int left = 474, right = 594, top = 10, bottom = 70, middle = (left + right) / 2;
    Box(c, left, top, right, bottom, kDark);
    Box(c, left + 1, top + 1, middle, bottom - 1, fromMedium ? kMedium : kVacuum);
    Box(c, middle, top + 1, right - 1, bottom - 1, fromMedium ? kVacuum : kMedium);
    Box(c, middle, top + 1, middle + 1, bottom - 1, kDark);
    // One wavelength of 40 px in vacuum, 26 px in the medium (n about 1.5).
    const double leftWave = fromMedium ? 26 : 40, rightWave = fromMedium ? 40 : 26;
    Wave(c, left + 4, middle, 40, 16, leftWave, 2 * 3.14159265 * (left + 4 - middle) / leftWave, 2, kIncident);
    Wave(c, middle, right - 5, 40, fromMedium ? 20 : 12, rightWave, 0, 2, kTransmitted);
}

void MediumTitleStrip(Canvas& c, Lang lang) { TitleStrip(c, lang, true); }
void VacuumTitleStrip(Canvas& c, Lang lang) { TitleStrip(c, lang, false); }

constexpr std::array kPictures{
    Picture{"11.bmp", 200, 50, kButtonBlue, VacuumButton},
    Picture{"22.bmp", 200, 50, kButtonBlue, MediumButton},
    Picture{"1.bmp", 200, 50, kWhite, VacuumTitle},
    Picture{"2.bmp", 200, 50, kWhite, MediumTitle},
    Picture{"sred.bmp", 200, 50, kWhite, MediumLabel},
    Picture{"vak.bmp", 200, 50, kWhite, VacuumLabel},
    kStartPicture,
    kPausePicture,
    kExitPicture,
    kPlusPicture,
    kMinusPicture,
    Picture{"scr.bmp", 143, 50, kTrackGrey, SpeedTrack},
    Picture{"scr1.bmp", 347, 50, kTrackGrey, IndexTrack},
    Picture{"top1.bmp", 600, 80, kWhite, MediumTitleStrip},
    Picture{"top2.bmp", 600, 80, kWhite, VacuumTitleStrip},
};

}  // namespace

std::span<const Picture> Qorin6Pictures() { return kPictures; }

}  // namespace pictures
