#include "main_window/frm_velbrin.h"

#include "about/frm_about.h"
#include "main_window/main_window_model.h"

namespace velbrin {

using namespace main_window;

frmVelbrin::frmVelbrin(const AppInfo &info)
    : m_info(info)
    , m_window(Description(), ui::Frame::Main)
{
    m_window.Connect([this](int control, ui::Event event) { Dispatch(control, event); },
                     [this] { Form_Unload(); });
}

frmVelbrin::~frmVelbrin() = default;

void frmVelbrin::Form_Load()
{
    main_window::Form_Load(m_window, m_info);
}

void frmVelbrin::Dispatch(int control, ui::Event event)
{
    const bool change = event == ui::Event::Change;
    if (control == txtImei && change)
        txtImei_Change();
    else if (control == txtMsn && change)
        txtMsn_Change();
    else if (control == cmdAbout && !change)
        cmdAbout_Click();
    else if (control == cmdExit && !change)
        cmdExit_Click();
}

void frmVelbrin::txtImei_Change()
{
    EntryChanged(m_window, ImeiSide());
}

void frmVelbrin::txtMsn_Change()
{
    EntryChanged(m_window, MsnSide());
}

void frmVelbrin::cmdAbout_Click()
{
    if (!m_about)
        m_about = std::make_unique<frmAbout>(m_info);
    m_about->ShowModal(m_window);
}

void frmVelbrin::cmdExit_Click()
{
    EndApplication();
}

// The close box, the system menu and Alt+F4.
void frmVelbrin::Form_Unload()
{
    EndApplication();
}

// Once, however many ways the user asks for it at the same time.
void frmVelbrin::EndApplication()
{
    if (m_ended)
        return;
    m_ended = true;
    m_window.EndProgram(0);
}

} // namespace velbrin
