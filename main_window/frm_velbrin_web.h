// The main window in the browser, built from the shared description; its handlers
// are the shared ones, called through the window's view.
#pragma once

#include "main_window/main_window_form.h"
#include "ui/window_web.h"

#include <memory>

namespace velbrin {

class frmAbout;

class frmVelbrin : public web::Window, public main_window::Form
{
public:
    explicit frmVelbrin(const AppInfo &info = AppInfo::current());
    ~frmVelbrin() override;

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
