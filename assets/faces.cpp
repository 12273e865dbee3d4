// The button faces every program loads under the same names ("s.bmp", "p.bmp", "e.bmp", "+.bmp",
// "-.bmp"), so that start, pause, exit and the speed steps look alike across the suite.
#include "draw.h"

namespace pictures {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kDark = RGB(25, 25, 25);

constexpr int kWordLeft = 54;

}  // namespace

// Faces, 150 x 50: the symbol is centred on (28, 25), the word fills the rest.

void StartFace(Canvas& c, Lang lang) {
    Triangle(c, {16, 11}, {16, 39}, {42, 25}, kWhite);
    FaceWord(c, Say(lang, L"Start", L"Пуск"), kWordLeft, kWhite);
}

void PauseFace(Canvas& c, Lang lang) {
    Box(c, 16, 12, 25, 39, kDark);
    Box(c, 31, 12, 40, 39, kDark);
    FaceWord(c, Say(lang, L"Pause", L"Пауза"), kWordLeft, kDark);
}

void ExitFace(Canvas& c, Lang lang) {
    // Three 3-px strokes side by side make each bar of the cross 5 px thick.
    for (int dx = -1; dx <= 1; ++dx) {
        Line(c, 18 + dx, 15, 38 + dx, 35, 3, kWhite);
        Line(c, 38 + dx, 15, 18 + dx, 35, 3, kWhite);
    }
    FaceWord(c, Say(lang, L"Exit", L"Выход"), kWordLeft, kWhite);
}

// Plus and minus, 50 x 50: bars 8 px thick centred on the face's middle (24.5, 24.5).
void PlusFace(Canvas& c, Lang) {
    Box(c, 10, 21, 40, 29, kWhite);
    Box(c, 21, 10, 29, 40, kWhite);
}

void MinusFace(Canvas& c, Lang) { Box(c, 10, 21, 40, 29, kWhite); }

const wchar_t* Say(Lang lang, const wchar_t* en, const wchar_t* ru) { return lang == Lang::Ru ? ru : en; }

}  // namespace pictures
