// The About dialog in the browser, built from the shared description: its load
// step is the shared one, and System Info runs the shared launcher, which finds
// no program to start in a page.
#pragma once

#include "about/about_model.h"
#include "about/sysinfo_launcher.h"
#include "app/app_info.h"
#include "ui/window_web.h"

#include <memory>

namespace velbrin {

class frmAbout : public web::Window
{
public:
    explicit frmAbout(const AppInfo &info = AppInfo::current());
    ~frmAbout() override;

    // Loads the dialog afresh and shows it modally. It returns at once: the page
    // cannot wait, and the dialog holds all input until it is closed.
    void ShowModal();
    void Form_Load();

    void StartSysInfo();
    bool GetKeyValue(const std::uint32_t &KeyRoot, const std::string &KeyName,
                     const std::string &SubKeyRef, std::string &KeyVal);

protected:
    void OnEvent(int index, web::Event event) override;
    void OnClose() override;

private:
    void cmdOK_Click();
    void cmdSysInfo_Click();

    AppInfo m_info;
    sysinfo::SysInfo m_sysInfo;
};

} // namespace velbrin
