// The main window in Win32, built from the shared description; typing is handled
// by the shared entry logic, whose results this only applies.
#pragma once

#include "app/app_info.h"
#include "main_window/main_window_model.h"
#include "ui/window_win32.h"

#include <memory>

namespace velbrin {

class frmAbout;

class frmVelbrin : public win32::Window
{
public:
    explicit frmVelbrin(const AppInfo &info = AppInfo::current());
    ~frmVelbrin() override;

    void Form_Load();
    void Show();

    HWND control(main_window::ControlIndex index) const { return Control(index); }
    bool hasEnded() const { return m_ended; }
    frmAbout *aboutDialog() const { return m_about.get(); }

protected:
    void OnCommand(int index, int code) override;
    void OnClose() override;

private:
    void txtImei_Change();
    void txtMsn_Change();
    void EntryChanged(const main_window::Side &side);
    void ShowCounter(const main_window::Side &side, const main_window::EntryUpdate &update);
    void cmdAbout_Click();
    void cmdExit_Click();
    void Form_Unload();
    void EndApplication();

    AppInfo m_info;
    std::unique_ptr<frmAbout> m_about;
    bool m_ended = false;
    bool m_writingBack = false;
};

} // namespace velbrin
