#include "about/frm_about_win32.h"

#include "about/about_texts.h"

namespace velbrin {

using namespace about;

frmAbout::frmAbout(const AppInfo &info)
    : win32::Window(Description())
    , m_info(info)
    , m_sysInfo([this](std::string_view message) {
        MessageBoxW(Handle(), win32::FromAnsi(message).c_str(), win32::Wide(m_info.Title).c_str(),
                    MB_OK);
    })
{ }

frmAbout::~frmAbout() = default;

void frmAbout::Form_Load()
{
    // Owned by the window it blocks, it stays above that window and comes
    // forward with it, as a modal dialog does.
    Create(m_blocked);
    about::Form_Load(*this, m_info);
}

void frmAbout::ShowModal(HWND blocked)
{
    m_blocked = blocked;
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

void frmAbout::OnCommand(int index, int code)
{
    if (code != BN_CLICKED)
        return;
    if (index == cmdOK)
        cmdOK_Click();
    else if (index == cmdSysInfo)
        cmdSysInfo_Click();
}

void frmAbout::OnClose()
{
    cmdOK_Click();
}

void frmAbout::cmdOK_Click()
{
    // Enabled again before the dialog goes, so that the system hands the
    // activation back to the blocked window rather than to another program.
    Unblock();
    Destroy();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    m_sysInfo.StartSysInfo();
}

bool frmAbout::GetKeyValue(const std::uint32_t &KeyRoot, const std::string &KeyName,
                           const std::string &SubKeyRef, std::string &KeyVal)
{
    return m_sysInfo.GetKeyValue(KeyRoot, KeyName, SubKeyRef, KeyVal);
}

} // namespace velbrin
