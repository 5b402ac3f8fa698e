#include "main_window/entry.h"

namespace velbrin {

QString UpperCasedInPlace(const QString &text)
{
    QString upper = text;
    for (QChar &character : upper)
        character = character.toUpper();
    return upper;
}

} // namespace velbrin
