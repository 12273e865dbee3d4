// The US keyboard layout as two lookups: character -> key (+ Shift) and key -> character.
// Letters are their upper-case codes; digits and punctuation share the table below.
#include "keys.h"

#include <windows.h>

namespace qp {
namespace {

struct KeyChars {
    int vk;
    char plain, shifted;
};

constexpr KeyChars layout[] = {
    {'0', '0', ')'}, {'1', '1', '!'}, {'2', '2', '@'}, {'3', '3', '#'}, {'4', '4', '$'},
    {'5', '5', '%'}, {'6', '6', '^'}, {'7', '7', '&'}, {'8', '8', '*'}, {'9', '9', '('},
    {VK_SPACE, ' ', ' '}, {VK_OEM_1, ';', ':'}, {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'},
    {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'}, {VK_OEM_3, '`', '~'},
    {VK_OEM_4, '[', '{'}, {VK_OEM_5, '\\', '|'}, {VK_OEM_6, ']', '}'}, {VK_OEM_7, '\'', '"'},
};

}  // namespace

KeyOfChar KeyForChar(char32_t c)
{
    if (c >= 'a' && c <= 'z')
        return {static_cast<int>(c - 'a' + 'A'), false};
    if (c >= 'A' && c <= 'Z')
        return {static_cast<int>(c), true};
    for (const KeyChars& k : layout) {
        if (c == static_cast<char32_t>(k.plain))
            return {k.vk, false};
        if (c == static_cast<char32_t>(k.shifted))
            return {k.vk, true};
    }
    return {};
}

char32_t CharForKey(int vk, bool shift)
{
    if (vk >= 'A' && vk <= 'Z')
        return shift ? vk : vk - 'A' + 'a';
    for (const KeyChars& k : layout)
        if (k.vk == vk)
            return shift ? k.shifted : k.plain;
    return 0;
}

}  // namespace qp
