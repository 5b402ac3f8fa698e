// The About dialog's texts, composed from AppInfo, lines joined by CR LF, and
// its load step, written once over the dialog's view.
#pragma once

#include "app/app_info.h"
#include "ui/window_view.h"

#include <string>

namespace velbrin::about {

std::u16string AboutCaption(const AppInfo &info);
std::u16string AboutVersion(const AppInfo &info);
std::u16string AboutDescription(const AppInfo &info);
std::u16string AboutDisclaimer();

// Fills the dialog from `info` and puts the focus on OK.
void Form_Load(ui::View &dialog, const AppInfo &info);

} // namespace velbrin::about
