// The About dialog, frmAbout: its handlers, over a window built from its
// description by whichever toolkit the program is built with. System Info runs
// the shared launcher, which tells the user through the dialog's message box
// when there is nothing to start.
#pragma once

#include "about/sysinfo_launcher.h"
#include "app/app_info.h"
#include "ui/window.h"

#include <cstdint>
#include <string>

namespace velbrin {

class frmAbout
{
public:
    explicit frmAbout(const AppInfo &info = AppInfo::current());

    // Loads the dialog afresh and shows it above `owner` until it is closed.
    void ShowModal(ui::Window &owner);

    // The launcher's two public operations.
    void StartSysInfo();
    bool GetKeyValue(const std::uint32_t &KeyRoot, const std::string &KeyName,
                     const std::string &SubKeyRef, std::string &KeyVal);

    ui::Window &window() { return m_window; }

private:
    void Form_Load();
    void Dispatch(int control, ui::Event event);
    void cmdOK_Click();
    void cmdSysInfo_Click();

    const AppInfo m_info;
    ui::Window m_window;
    sysinfo::SysInfo m_sysInfo;
};

} // namespace velbrin
