#include "app/common/app_icon.h"

namespace velbrin {

QIcon ApplicationIcon()
{
    return QIcon(QStringLiteral(":/velbrin/velbrin.png"));
}

} // namespace velbrin
