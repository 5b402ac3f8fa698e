// The About dialog in Win32, built from the shared description: its handlers are
// the shared ones, and System Info runs the shared launcher on the real registry.
#pragma once

#include "about/about_form.h"
#include "ui/window_win32.h"

namespace velbrin {

class frmAbout : public win32::Window, public about::Form
{
public:
    explicit frmAbout(const AppInfo &info = AppInfo::current());
    ~frmAbout() override;

    // Loads the dialog afresh and shows it; `blocked` takes no input until it is
    // closed. Returns once it is closed.
    void ShowModal(HWND blocked);

protected:
    void OnEvent(int index, ui::Event event) override { Dispatch(index, event); }
    void OnClose() override { cmdOK_Click(); }

private:
    void cmdOK_Click() override;
    void Unblock();

    HWND m_blocked = nullptr;
};

} // namespace velbrin
