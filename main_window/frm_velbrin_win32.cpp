#include "main_window/frm_velbrin_win32.h"

#include "about/frm_about_win32.h"

namespace velbrin {

using namespace main_window;

frmVelbrin::frmVelbrin(const AppInfo &info)
    : win32::Window(Description())
    , m_info(info)
{
    Create();
}

frmVelbrin::~frmVelbrin() = default;

void frmVelbrin::Form_Load()
{
    main_window::Form_Load(*this, m_info);
}

void frmVelbrin::Show()
{
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
}

void frmVelbrin::OnCommand(int index, int code)
{
    switch (index) {
    case txtImei:
        if (code == EN_CHANGE)
            txtImei_Change();
        break;
    case txtMsn:
        if (code == EN_CHANGE)
            txtMsn_Change();
        break;
    case cmdAbout:
        if (code == BN_CLICKED)
            cmdAbout_Click();
        break;
    case cmdExit:
        if (code == BN_CLICKED)
            cmdExit_Click();
        break;
    default:
        break;
    }
}

void frmVelbrin::OnClose()
{
    Form_Unload();
}

void frmVelbrin::txtImei_Change()
{
    EntryChanged(*this, ImeiSide());
}

void frmVelbrin::txtMsn_Change()
{
    EntryChanged(*this, MsnSide());
}

void frmVelbrin::cmdAbout_Click()
{
    if (!m_about)
        m_about = std::make_unique<frmAbout>(m_info);
    m_about->ShowModal(Handle());
}

void frmVelbrin::cmdExit_Click()
{
    EndApplication();
}

void frmVelbrin::Form_Unload()
{
    EndApplication();
}

void frmVelbrin::EndApplication()
{
    if (m_ended)
        return;
    m_ended = true;
    PostQuitMessage(0);
    Destroy();
}

} // namespace velbrin
