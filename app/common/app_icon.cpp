#include "app/common/app_icon.h"

namespace velbrin {

QIcon ApplicationIcon()
{
    // Decoded once; QIcon is shared, so every window gets the same image.
    static const QIcon icon(QStringLiteral(":/velbrin/velbrin.png"));
    return icon;
}

} // namespace velbrin
