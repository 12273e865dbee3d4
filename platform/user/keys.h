// Characters and virtual keys of a US keyboard layout: which key types a character (and
// whether Shift is needed), and which character a key gives. Shared by both backends, so a
// scripted key and a real one become the same virtual key.
#pragma once

namespace qp {

// Keys of punctuation characters on a US keyboard.
inline constexpr int VK_OEM_1 = 0xBA;       // ; :
inline constexpr int VK_OEM_PLUS = 0xBB;    // = +
inline constexpr int VK_OEM_COMMA = 0xBC;   // , <
inline constexpr int VK_OEM_MINUS = 0xBD;   // - _
inline constexpr int VK_OEM_PERIOD = 0xBE;  // . >
inline constexpr int VK_OEM_2 = 0xBF;       // / ?
inline constexpr int VK_OEM_3 = 0xC0;       // ` ~
inline constexpr int VK_OEM_4 = 0xDB;       // [ {
inline constexpr int VK_OEM_5 = 0xDC;       // \ |
inline constexpr int VK_OEM_6 = 0xDD;       // ] }
inline constexpr int VK_OEM_7 = 0xDE;       // ' "

struct KeyOfChar {
    int vk = 0;  // 0: no key of the layout types this character
    bool shift = false;
};

KeyOfChar KeyForChar(char32_t c);
// The character that vk types, with or without Shift; 0 when the key types none.
char32_t CharForKey(int vk, bool shift);

}  // namespace qp
