// The About dialog in Win32, built from the shared description: its load step is
// the shared one, and System Info runs the shared launcher on the real registry.
#pragma once

#include "about/about_model.h"
#include "about/sysinfo_launcher.h"
#include "app/app_info.h"
#include "ui/window_win32.h"

#include <memory>

namespace velbrin {

class frmAbout : public win32::Window
{
public:
    explicit frmAbout(const AppInfo &info = AppInfo::current());
    ~frmAbout() override;

    // Loads the dialog afresh and shows it; `blocked` takes no input until it is
    // closed. Returns once it is closed.
    void ShowModal(HWND blocked);
    void Form_Load();

    void StartSysInfo();
    bool GetKeyValue(const std::uint32_t &KeyRoot, const std::string &KeyName,
                     const std::string &SubKeyRef, std::string &KeyVal);

protected:
    void OnCommand(int index, int code) override;
    void OnClose() override;

private:
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void Unblock();

    AppInfo m_info;
    sysinfo::SysInfo m_sysInfo;
    HWND m_blocked = nullptr;
};

} // namespace velbrin
