#include "about/about_texts.h"

namespace velbrin {

std::string AboutCaption(const AppInfo &info)
{
    return "About " + std::string(info.Title);
}

std::string AboutVersion(const AppInfo &info)
{
    return "Version " + VersionText(info);
}

std::string AboutDescription(const AppInfo &info)
{
    // Two spaces between the colon and the copyright text, as it has always read.
    return "Corvanel: " + std::string(" ") + std::string(info.LegalCopyright) +
            "\r\nVelbrin is part of Quarn project!";
}

std::string AboutDisclaimer()
{
    return "\r\n"
           "The author will not be held responsible for any damage or loss !\r\n"
           "\r\n"
           "The author can be contacted at <me@example.org>\r\n"
           "\r\n"
           "Huge thanks to:\r\n"
           "Harbour Phones, 12 Harbour Lane, Exampleton\r\n"
           "The Handset Corner, 3 Market Row, Sampleford";
}

} // namespace velbrin
