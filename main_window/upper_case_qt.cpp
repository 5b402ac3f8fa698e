// Upper-casing with Qt's Unicode character data.
#include "main_window/main_window_model.h"

#include <QChar>

namespace velbrin::main_window {

std::u16string UpperCased(std::u16string_view text)
{
    return UpperCaseLetters(
            text, [](char32_t c) { return QChar::isLetter(c); },
            [](char32_t c) { return char32_t(QChar::toUpper(c)); });
}

} // namespace velbrin::main_window
