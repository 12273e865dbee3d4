// Qorin4's rules that need no window: the typed phase difference read from the field's text,
// the text of the numeric readouts, and which kind of polarization a caption names.
// Plain functions on plain values, so the program and its tests share them.
#pragma once

#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

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

// The phase difference that a typed text gives: leading blanks skipped, "." as the decimal point
// whatever the machine's locale, the number ends at the first character that cannot continue it,
// no number gives 0, and the result is held within -2..2. "nan" is no number either.
inline double PhaseFromText(const char* text)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r')
        ++p;
    // A plus sign is taken as the C conversion takes it; the one of from_chars does not.
    if (*p == '+' && p[1] != '+' && p[1] != '-')
        ++p;
    double value = 0;
    const std::from_chars_result read = std::from_chars(p, p + std::strlen(p), value);
    if (read.ec == std::errc::result_out_of_range) {
        // Beyond the doubles: a negative exponent comes out as 0, a positive one as the infinity
        // of the number's sign, as the C conversion gives them.
        const std::string_view number(p, read.ptr - p);
        const size_t e = number.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
        value = tiny ? 0 : (*p == '-' ? -HUGE_VAL : HUGE_VAL);
    } else if (read.ec != std::errc() || std::isnan(value)) {
        value = 0;
    }
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
