// frmVelbrin's handlers, written once over the window's view: each front end's
// window derives from Form and hands it the controls' events, and supplies the
// two things only it can do, showing About and ending the program.
#pragma once

#include "app/app_info.h"
#include "ui/window_model.h"
#include "ui/window_view.h"

namespace velbrin::main_window {

class Form
{
public:
    Form(ui::View &window, const AppInfo &info);
    virtual ~Form() = default;

    void Form_Load();
    void Form_Unload();
    // A control's event, to its handler, if it has one.
    void Dispatch(int control, ui::Event event);

protected:
    const AppInfo m_info;

private:
    virtual void ShowAbout() = 0; // modal; made on first use
    virtual void EndProgram() = 0; // with status 0

    void txtImei_Change();
    void txtMsn_Change();
    void cmdAbout_Click();
    void cmdExit_Click();
    void EndApplication();

    ui::View &m_window;
    bool m_ended = false;
};

} // namespace velbrin::main_window
