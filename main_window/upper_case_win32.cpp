// Upper-casing with Windows' own character data.
#include "main_window/main_window_model.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <iterator>

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

// A letter with case. Windows counts some non-letters with case forms as alphabetic
// (Roman numerals) but gives them no case of their own, so both flags decide.
// Outside the 16-bit range it has no character types at all; every character
// there that has an upper-case form is a letter, so the mapping itself decides.
bool IsLetter(char32_t c)
{
    if (c >= 0x10000)
        return true;
    const wchar_t unit = wchar_t(c);
    WORD kind = 0;
    return GetStringTypeW(CT_CTYPE1, &unit, 1, &kind) && (kind & C1_ALPHA) &&
            (kind & (C1_UPPER | C1_LOWER));
}

// The title-case digraphs (as in "ǅ") take the capital just before them; not all
// case data has them (wine's leaves them as they are).
constexpr char32_t TitleCase[] = {0x01C5, 0x01C8, 0x01CB, 0x01F2};

char32_t ToUpper(char32_t c)
{
    if (std::ranges::find(TitleCase, c) != std::end(TitleCase))
        return c - 1;
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
