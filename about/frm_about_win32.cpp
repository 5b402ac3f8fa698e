#include "about/frm_about_win32.h"

#include "about/about_model.h"

namespace velbrin {

frmAbout::frmAbout(const AppInfo &info)
    : win32::Window(about::Description())
    , Form(*this, info, [this](std::string_view message) {
        MessageBoxW(Handle(), win32::FromAnsi(message).c_str(), win32::Wide(m_info.Title).c_str(),
                    MB_OK);
    })
{ }

frmAbout::~frmAbout() = default;

void frmAbout::ShowModal(HWND blocked)
{
    m_blocked = blocked;
    // Owned by the window it blocks, it stays above that window and comes
    // forward with it, as a modal dialog does.
    Create(m_blocked);
    Form_Load();
    EnableWindow(blocked, FALSE);
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    RunUntilDestroyed();
    Unblock(); // when the program was told to quit instead
}

void frmAbout::Unblock()
{
    if (m_blocked)
        EnableWindow(m_blocked, TRUE);
    m_blocked = nullptr;
}

void frmAbout::cmdOK_Click()
{
    // Enabled again before the dialog goes, so that the system hands the
    // activation back to the blocked window rather than to another program.
    Unblock();
    Destroy();
}

} // namespace velbrin
