#include "about/about_form.h"

#include "about/about_model.h"
#include "about/about_texts.h"

namespace velbrin::about {

Form::Form(ui::View &dialog, const AppInfo &info, sysinfo::Launcher::Tell tell)
    : m_info(info)
    , m_dialog(dialog)
    , m_sysInfo(std::move(tell))
{ }

void Form::Form_Load()
{
    about::Form_Load(m_dialog, m_info);
}

void Form::Dispatch(int control, ui::Event event)
{
    if (event != ui::Event::Click)
        return;
    if (control == cmdOK)
        cmdOK_Click();
    else if (control == cmdSysInfo)
        cmdSysInfo_Click();
}

void Form::cmdSysInfo_Click()
{
    StartSysInfo();
}

void Form::StartSysInfo()
{
    m_sysInfo.StartSysInfo();
}

bool Form::GetKeyValue(const std::uint32_t &KeyRoot, const std::string &KeyName,
                       const std::string &SubKeyRef, std::string &KeyVal)
{
    return m_sysInfo.GetKeyValue(KeyRoot, KeyName, SubKeyRef, KeyVal);
}

} // namespace velbrin::about
