#include "about/frm_about.h"

#include "about/about_model.h"
#include "about/about_texts.h"

namespace velbrin {

using namespace about;

frmAbout::frmAbout(const AppInfo &info)
    : m_info(info)
    , m_window(Description(), ui::Frame::Dialog)
    , m_sysInfo([this](std::string_view message) { m_window.Tell(m_info.Title, message); })
{
    // Its close box does what OK does.
    m_window.Connect([this](int control, ui::Event event) { Dispatch(control, event); },
                     [this] { cmdOK_Click(); });
}

void frmAbout::ShowModal(ui::Window &owner)
{
    Form_Load();
    m_window.ShowModal(owner);
}

void frmAbout::Form_Load()
{
    about::Form_Load(m_window, m_info);
}

void frmAbout::Dispatch(int control, ui::Event event)
{
    if (event != ui::Event::Click)
        return;
    if (control == cmdOK)
        cmdOK_Click();
    else if (control == cmdSysInfo)
        cmdSysInfo_Click();
}

void frmAbout::cmdOK_Click()
{
    m_window.Close();
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
