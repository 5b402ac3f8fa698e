// frmAbout's handlers, written once over the dialog's view: each front end's
// dialog derives from Form, hands it the controls' events and closes itself when
// OK is pressed. System Info runs the shared launcher, which tells the user
// through the front end's message box when there is nothing to start.
#pragma once

#include "about/sysinfo_launcher.h"
#include "app/app_info.h"
#include "ui/window_model.h"
#include "ui/window_view.h"

#include <cstdint>
#include <string>

namespace velbrin::about {

class Form
{
public:
    Form(ui::View &dialog, const AppInfo &info, sysinfo::Launcher::Tell tell);
    virtual ~Form() = default;

    void Form_Load();
    // A control's event, to its handler, if it has one.
    void Dispatch(int control, ui::Event event);

    // The launcher's two public operations.
    void StartSysInfo();
    bool GetKeyValue(const std::uint32_t &KeyRoot, const std::string &KeyName,
                     const std::string &SubKeyRef, std::string &KeyVal);

protected:
    virtual void cmdOK_Click() = 0; // closes the dialog

    const AppInfo m_info;

private:
    void cmdSysInfo_Click();

    ui::View &m_dialog;
    sysinfo::SysInfo m_sysInfo;
};

} // namespace velbrin::about
