#include "about/frm_about_web.h"

#include "about/about_model.h"

namespace velbrin {

frmAbout::frmAbout(const AppInfo &info)
    : web::Window(about::Description(), web::Frame::Dialog)
    , Form(*this, info, [this](std::string_view message) {
        // The page's 8-bit text is UTF-8.
        web::MessageBox(m_info.Title, message, web::MessageIcon::None);
    })
{ }

frmAbout::~frmAbout() = default;

void frmAbout::ShowModal()
{
    Form_Load();
    Show();
}

} // namespace velbrin
