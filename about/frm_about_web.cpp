#include "about/frm_about_web.h"

#include "about/about_texts.h"

namespace velbrin {

using namespace about;

frmAbout::frmAbout(const AppInfo &info)
    : web::Window(Description(), web::Frame::Dialog)
    , m_info(info)
    , m_sysInfo([this](std::string_view message) {
        // The page's 8-bit text is UTF-8.
        web::MessageBox(m_info.Title, message, web::MessageIcon::None);
    })
{ }

frmAbout::~frmAbout() = default;

void frmAbout::Form_Load()
{
    about::Form_Load(*this, m_info);
}

void frmAbout::ShowModal()
{
    Form_Load();
    Show();
}

void frmAbout::OnEvent(int index, web::Event event)
{
    if (event != web::Event::Click)
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
    Hide();
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
