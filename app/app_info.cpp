#include "app/app_info.h"

#include "velbrin/build_info.h"

namespace velbrin {

const AppInfo &AppInfo::current()
{
    static constexpr AppInfo info {u"" VELBRIN_TITLE, VELBRIN_VERSION_MAJOR, VELBRIN_VERSION_MINOR,
                                   VELBRIN_VERSION_PATCH, u"" VELBRIN_COPYRIGHT};
    return info;
}

std::u16string VersionText(const AppInfo &info)
{
    std::u16string text;
    for (const int number : {info.Major, info.Minor, info.Revision}) {
        const std::string digits = std::to_string(number);
        text.append(text.empty() ? u"" : u".").append(digits.begin(), digits.end());
    }
    return text;
}

std::u16string MainWindowCaption(const AppInfo &info)
{
    return std::u16string(info.Title) + u" Version " + VersionText(info) + u' ' +
            std::u16string(info.LegalCopyright);
}

} // namespace velbrin
