// The About dialog's texts, composed from AppInfo. UTF-8, lines joined by CR LF.
#pragma once

#include "app/app_info.h"

#include <string>

namespace velbrin {

std::string AboutCaption(const AppInfo &info);
std::string AboutVersion(const AppInfo &info);
std::string AboutDescription(const AppInfo &info);
std::string AboutDisclaimer();

} // namespace velbrin
