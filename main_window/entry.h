// Text handling of the entry boxes that depends on Qt's character data.
#pragma once

#include <QString>

namespace velbrin {

// Each 16-bit character mapped to its simple upper-case form. Unlike
// QString::toUpper, which maps "ß" to "SS", the length never changes, so the
// entry box's limit cannot cut a character off the identifier.
QString UpperCasedInPlace(const QString &text);

} // namespace velbrin
