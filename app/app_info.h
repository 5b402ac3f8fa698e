// What the captions say about the program: its title, version and copyright.
// The values of this build come from the CMake project (see build_info.h.in); the
// windows take an AppInfo as a parameter so that other values can be shown too.
#pragma once

#include <string>
#include <string_view>

namespace velbrin {

struct AppInfo
{
    std::u16string_view Title;
    int Major = 0;
    int Minor = 0;
    int Revision = 0;
    std::u16string_view LegalCopyright;

    // This build's values.
    static const AppInfo &current();
};

// "Major.Minor.Revision" in plain decimal: 1, 0 and 12 give "1.0.12".
std::u16string VersionText(const AppInfo &info);

// The main window's caption: "<title> Version <version> <copyright>".
std::u16string MainWindowCaption(const AppInfo &info);

} // namespace velbrin
