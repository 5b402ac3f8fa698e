#include "app/app_info.h"

#include "velbrin/build_info.h"

namespace velbrin {

const AppInfo &AppInfo::current()
{
    static constexpr AppInfo info {VELBRIN_TITLE, VELBRIN_VERSION_MAJOR, VELBRIN_VERSION_MINOR,
                                   VELBRIN_VERSION_PATCH, VELBRIN_COPYRIGHT};
    return info;
}

std::string VersionText(const AppInfo &info)
{
    return std::to_string(info.Major) + '.' + std::to_string(info.Minor) + '.' +
            std::to_string(info.Revision);
}

std::string MainWindowCaption(const AppInfo &info)
{
    return std::string(info.Title) + " Version " + VersionText(info) + ' ' +
            std::string(info.LegalCopyright);
}

} // namespace velbrin
