// Upper-casing with the browser's Unicode data (upper_case_web.js).
#include "main_window/main_window_model.h"

extern "C" {
int velbrin_web_is_letter(int point);
int velbrin_web_to_upper(int point);
}

namespace velbrin::main_window {

std::u16string UpperCased(std::u16string_view text)
{
    return UpperCaseLetters(
            text, [](char32_t c) { return velbrin_web_is_letter(int(c)) != 0; },
            [](char32_t c) { return char32_t(velbrin_web_to_upper(int(c))); });
}

} // namespace velbrin::main_window
