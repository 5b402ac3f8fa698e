#include "about/about_texts.h"

#include "about/about_model.h"

namespace velbrin::about {

std::u16string AboutCaption(const AppInfo &info)
{
    return u"About " + std::u16string(info.Title);
}

std::u16string AboutVersion(const AppInfo &info)
{
    return u"Version " + VersionText(info);
}

std::u16string AboutDescription(const AppInfo &info)
{
    // Two spaces between the colon and the copyright text, as it has always read.
    return u"Corvanel: " + std::u16string(u" ") + std::u16string(info.LegalCopyright) +
            u"\r\nVelbrin is part of Quarn project!";
}

std::u16string AboutDisclaimer()
{
    return u"\r\n"
           u"The author will not be held responsible for any damage or loss !\r\n"
           u"\r\n"
           u"The author can be contacted at <me@example.org>\r\n"
           u"\r\n"
           u"Huge thanks to:\r\n"
           u"Harbour Phones, 12 Harbour Lane, Exampleton\r\n"
           u"The Handset Corner, 3 Market Row, Sampleford";
}

void Form_Load(ui::View &dialog, const AppInfo &info)
{
    dialog.SetTitle(AboutCaption(info));
    dialog.SetText(lblVersion, AboutVersion(info));
    dialog.SetText(lblTitle, info.Title);
    dialog.SetText(lblDescription, AboutDescription(info));
    dialog.SetText(lblDisclaimer, AboutDisclaimer());
    dialog.SetFocus(cmdOK);
}

} // namespace velbrin::about
