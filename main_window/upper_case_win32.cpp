// Upper-casing with Windows' own character data.
#include "main_window/main_window_model.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace velbrin::main_window {
namespace {

// A code point as one or two UTF-16 units.
int Units(char32_t c, wchar_t (&units)[2])
{
    if (c < 0x10000) {
        units[0] = wchar_t(c);
        return 1;
    }
    units[0] = wchar_t(0xD800 + ((c - 0x10000) >> 10));
    units[1] = wchar_t(0xDC00 + ((c - 0x10000) & 0x3FF));
    return 2;
}

bool IsLetter(char32_t c)
{
    wchar_t units[2];
    const int count = Units(c, units);
    WORD kind[2] = {};
    WORD shape[2] = {};
    if (!GetStringTypeW(CT_CTYPE1, units, count, kind) ||
        !GetStringTypeW(CT_CTYPE3, units, count, shape))
        return false;
    // Alphabetic, but neither a combining mark nor a symbol with case forms.
    return (kind[0] & C1_ALPHA) && !(shape[0] & (C3_NONSPACING | C3_DIACRITIC | C3_SYMBOL));
}

char32_t ToUpper(char32_t c)
{
    wchar_t units[2];
    const int count = Units(c, units);
    wchar_t upper[4] = {};
    const int got = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, units, count, upper, 4,
                                  nullptr, nullptr, 0);
    if (got == 1)
        return upper[0];
    if (got == 2 && upper[0] >= 0xD800 && upper[0] < 0xDC00)
        return 0x10000 + ((char32_t(upper[0]) - 0xD800) << 10) + (char32_t(upper[1]) - 0xDC00);
    return c;
}

} // namespace

std::u16string UpperCased(std::u16string_view text)
{
    return UpperCaseLetters(text, IsLetter, ToUpper);
}

} // namespace velbrin::main_window
