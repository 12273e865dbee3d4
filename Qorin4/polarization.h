// Qorin4's rules that need no window: the typed phase difference read from the field's text,
// the text of the numeric readouts, and which kind of polarization a caption names.
// Plain functions on plain values, so the program and its tests share them.
#pragma once

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>

// The caption texts, in the order of PolarizationKind's result, with their character counts.
inline const wchar_t* const polarizationCaptions[5] = {
    L"Линейная поляризация",
    L"Круговая поляризация (левая)",
    L"Круговая поляризация (правая)",
    L"Эллиптическая поляризация (левая)",
    L"Эллиптическая поляризация (правая)",
};
inline const int polarizationCaptionLengths[5] = {20, 28, 29, 33, 34};

// 0 linear, 1 circular left, 2 circular right, 3 elliptical left, 4 elliptical right. The first
// test that holds wins, with exact comparisons: the sliders give exact multiples of 0.05.
inline int PolarizationKind(double amplitudeX, double amplitudeY, double d)
{
    if (d == 0 || d == 1 || d == 2 || d == -1 || d == -2 || amplitudeY == 0 || amplitudeX == 0)
        return 0;
    if (amplitudeX == amplitudeY && (d == 0.5 || d == -1.5))
        return 1;
    if (amplitudeX == amplitudeY && (d == 1.5 || d == -0.5))
        return 2;
    if ((0 < d && d < 1) || (-2 < d && d < -1))
        return 3;
    return 4;
}

// The phase difference that a typed text gives: the C conversion to a real (leading blanks
// skipped, the number ends at the first character that cannot continue it, no number gives 0),
// always with "." as the decimal point, whatever the locale says; "nan" is no number either, and
// the result is held within -2..2.
inline double PhaseFromText(const char* text)
{
    std::string number(text);
    // Under a locale with another decimal point, "." is turned into that one, and that one ends
    // the number, as "," does in the C locale.
    const char* point = std::localeconv()->decimal_point;
    if (point[0] != 0 && point[1] == 0 && point[0] != '.') {
        const size_t foreign = number.find(point[0]);
        if (foreign != std::string::npos)
            number.resize(foreign);
        for (char& c : number)
            if (c == '.')
                c = point[0];
    }
    double value = std::strtod(number.c_str(), nullptr);
    if (std::isnan(value))
        value = 0;
    if (value > 2)
        value = 2;
    if (value < -2)
        value = -2;
    return value;
}

// A readout: " d.dd" or "-d.dd" (5 characters) when signed, "d.dd" (4) when not, each followed by
// a terminating zero. The value is rounded to the nearest hundredth: 1.15 x 100 lies just below
// 115 in doubles, and a truncated readout would show 1.14.
inline void ReadoutText(double value, bool withSign, wchar_t* text)
{
    int at = 0;
    if (withSign) {
        text[at++] = value < 0 ? L'-' : L' ';
        value = std::fabs(value);
    }
    const long hundredths = static_cast<long>(value * 100 + 0.5);
    text[at++] = static_cast<wchar_t>(L'0' + hundredths / 100 % 10);
    text[at++] = L'.';
    text[at++] = static_cast<wchar_t>(L'0' + hundredths / 10 % 10);
    text[at++] = static_cast<wchar_t>(L'0' + hundredths % 10);
    text[at] = 0;
}
