// The resource template, the one source of truth for both a Windows .rc file (rcgen.cpp prints it)
// and the tables of our own platform layer. Only the program's name differs between programs.
#pragma once

#include "resource.h"

#include <string>

namespace qres {

struct MenuItem {
    const wchar_t* popup;  // the popup it belongs to
    const wchar_t* text;
    int command;
};

struct Accelerator {
    wchar_t character;  // a character code (no virtual-key flag): it matches WM_CHAR / WM_SYSCHAR
    bool alt;
    int command;
};

enum class ControlKind { Icon, Text, DefaultButton };

struct DialogControl {
    ControlKind kind;
    int id;
    int x, y, width, height;  // dialog units
    const wchar_t* text;      // %s stands for the program's name
};

inline constexpr MenuItem menu[] = {
    {L"&File", L"E&xit", IDM_EXIT},
    {L"&Help", L"&About ...", IDM_ABOUT},
};

inline constexpr Accelerator accelerators[] = {
    {L'?', true, IDM_ABOUT},
    {L'/', true, IDM_ABOUT},
};

// The About box: at (0, 0), 170 x 62 dialog units, "MS Shell Dlg" 8 pt.
inline constexpr int aboutWidth = 170, aboutHeight = 62;
inline constexpr const wchar_t* aboutFont = L"MS Shell Dlg";
inline constexpr int aboutFontPoints = 8;
inline constexpr const wchar_t* aboutTitle = L"About %s";
inline constexpr DialogControl aboutControls[] = {
    {ControlKind::Icon, IDC_STATIC, 14, 14, 21, 20, L""},
    {ControlKind::Text, IDC_STATIC, 42, 14, 114, 8, L"%s, Version 1.0"},
    {ControlKind::Text, IDC_STATIC, 42, 26, 114, 8, L"Waves and light, shown in motion"},
    {ControlKind::DefaultButton, 1, 113, 41, 50, 14, L"OK"},
};

// Replaces %s in a template text with the program's name.
inline std::wstring Fill(const wchar_t* text, const std::wstring& name) {
    std::wstring out = text;
    if (auto at = out.find(L"%s"); at != std::wstring::npos) out.replace(at, 2, name);
    return out;
}

inline std::wstring Upper(std::wstring s) {
    for (auto& c : s)
        if (c >= L'a' && c <= L'z') c = c - L'a' + L'A';
    return s;
}

// String table: 103 the window title ("Qorin1"), 109 the class name ("QORIN1").
inline std::wstring String(int id, const std::wstring& name) {
    if (id == IDS_APP_TITLE) return name;
    if (id == IDC_QORIN) return Upper(name);
    return {};
}

// The name of the program that this executable is; defined by each program's build.
const wchar_t* ProgramName();

}  // namespace qres
