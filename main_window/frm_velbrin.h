// The main window, frmVelbrin: its handlers, over a window built from its
// description by whichever toolkit the program is built with.
#pragma once

#include "app/app_info.h"
#include "ui/window.h"

#include <memory>

namespace velbrin {

class frmAbout;

class frmVelbrin
{
public:
    explicit frmVelbrin(const AppInfo &info = AppInfo::current());
    ~frmVelbrin();

    void Form_Load();
    void Show() { m_window.Show(); }

    ui::Window &window() { return m_window; }
    // The About dialog, once the About button has made it.
    frmAbout *aboutDialog() const { return m_about.get(); }

private:
    void Dispatch(int control, ui::Event event);
    void txtImei_Change();
    void txtMsn_Change();
    void cmdAbout_Click();
    void cmdExit_Click();
    void Form_Unload();
    void EndApplication();

    const AppInfo m_info;
    ui::Window m_window;
    std::unique_ptr<frmAbout> m_about; // made on first use
    bool m_ended = false;
};

} // namespace velbrin
