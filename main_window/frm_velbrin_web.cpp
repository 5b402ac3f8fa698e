#include "main_window/frm_velbrin_web.h"

#include "about/frm_about_web.h"
#include "main_window/main_window_model.h"

namespace velbrin {

frmVelbrin::frmVelbrin(const AppInfo &info)
    : web::Window(main_window::Description(), web::Frame::Main)
    , Form(*this, info)
{ }

frmVelbrin::~frmVelbrin() = default;

void frmVelbrin::ShowAbout()
{
    if (!m_about)
        m_about = std::make_unique<frmAbout>(m_info);
    m_about->ShowModal();
}

void frmVelbrin::EndProgram()
{
    web::EndProgram(0);
}

} // namespace velbrin
