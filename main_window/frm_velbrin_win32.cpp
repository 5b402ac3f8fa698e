#include "main_window/frm_velbrin_win32.h"

#include "about/frm_about_win32.h"
#include "main_window/main_window_model.h"

namespace velbrin {

frmVelbrin::frmVelbrin(const AppInfo &info)
    : win32::Window(main_window::Description())
    , Form(*this, info)
{
    Create();
}

frmVelbrin::~frmVelbrin() = default;

void frmVelbrin::Show()
{
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
}

void frmVelbrin::ShowAbout()
{
    if (!m_about)
        m_about = std::make_unique<frmAbout>(m_info);
    m_about->ShowModal(Handle());
}

void frmVelbrin::EndProgram()
{
    PostQuitMessage(0);
    Destroy();
}

} // namespace velbrin
