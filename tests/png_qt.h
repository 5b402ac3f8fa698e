#pragma once

#include "approval.h"

#include <QImage>

namespace velbrin::test {

Image Pixels(const QImage &picture);

} // namespace velbrin::test
