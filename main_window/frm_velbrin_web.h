// The main window in the browser, built from the shared description; its handlers
// are the shared ones, called through the window's view.
#pragma once

#include "app/app_info.h"
#include "main_window/main_window_model.h"
#include "ui/window_web.h"

#include <memory>

namespace velbrin {

class frmAbout;

class frmVelbrin : public web::Window
{
public:
    explicit frmVelbrin(const AppInfo &info = AppInfo::current());
    ~frmVelbrin() override;

    void Form_Load();

    // The About dialog, once the About button has made it.
    frmAbout *aboutDialog() const { return m_about.get(); }

protected:
    void OnEvent(int index, web::Event event) override;
    void OnClose() override;

private:
    void txtImei_Change();
    void txtMsn_Change();
    void cmdAbout_Click();
    void cmdExit_Click();
    void Form_Unload();
    void EndApplication();

    AppInfo m_info;
    std::unique_ptr<frmAbout> m_about;
    bool m_ended = false;
};

} // namespace velbrin
