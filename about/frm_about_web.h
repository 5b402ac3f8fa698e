// The About dialog in the browser, built from the shared description: its
// handlers are the shared ones, and System Info runs the shared launcher, which
// finds no program to start in a page.
#pragma once

#include "about/about_form.h"
#include "ui/window_web.h"

namespace velbrin {

class frmAbout : public web::Window, public about::Form
{
public:
    explicit frmAbout(const AppInfo &info = AppInfo::current());
    ~frmAbout() override;

    // Loads the dialog afresh and shows it modally. It returns at once: the page
    // cannot wait, and the dialog holds all input until it is closed.
    void ShowModal();

protected:
    void OnEvent(int index, ui::Event event) override { Dispatch(index, event); }
    void OnClose() override { cmdOK_Click(); }

private:
    void cmdOK_Click() override { Hide(); }
};

} // namespace velbrin
