// The main window in Win32, built from the shared description; its handlers are
// the shared ones, called through the window's view.
#pragma once

#include "main_window/main_window_form.h"
#include "ui/window_win32.h"

#include <memory>

namespace velbrin {

class frmAbout;

class frmVelbrin : public win32::Window, public main_window::Form
{
public:
    explicit frmVelbrin(const AppInfo &info = AppInfo::current());
    ~frmVelbrin() override;

    void Show();

    // The About dialog, once the About button has made it.
    frmAbout *aboutDialog() const { return m_about.get(); }

protected:
    void OnEvent(int index, ui::Event event) override { Dispatch(index, event); }
    void OnClose() override { Form_Unload(); }

private:
    void ShowAbout() override;
    void EndProgram() override;

    std::unique_ptr<frmAbout> m_about;
};

} // namespace velbrin
