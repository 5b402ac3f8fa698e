// The About dialog, frmAbout, as data; both front ends build it from here.
#pragma once

#include "ui/window_model.h"

namespace velbrin::about {

enum ControlIndex : int {
    picIcon,
    cmdOK,
    cmdSysInfo,
    Line1Gray, // Line1(1): gray, drawn over the white one
    lblDescription,
    lblTitle,
    Line1White, // Line1(0)
    lblVersion,
    lblDisclaimer,
    ControlCount
};

const ui::WindowDescription &Description();

} // namespace velbrin::about
