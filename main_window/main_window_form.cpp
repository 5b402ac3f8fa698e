#include "main_window/main_window_form.h"

#include "main_window/main_window_model.h"

namespace velbrin::main_window {

Form::Form(ui::View &window, const AppInfo &info)
    : m_info(info)
    , m_window(window)
{ }

void Form::Form_Load()
{
    main_window::Form_Load(m_window, m_info);
}

void Form::Dispatch(int control, ui::Event event)
{
    const bool change = event == ui::Event::Change;
    if (control == txtImei && change)
        txtImei_Change();
    else if (control == txtMsn && change)
        txtMsn_Change();
    else if (control == cmdAbout && !change)
        cmdAbout_Click();
    else if (control == cmdExit && !change)
        cmdExit_Click();
}

void Form::txtImei_Change()
{
    EntryChanged(m_window, ImeiSide());
}

void Form::txtMsn_Change()
{
    EntryChanged(m_window, MsnSide());
}

void Form::cmdAbout_Click()
{
    ShowAbout();
}

void Form::cmdExit_Click()
{
    EndApplication();
}

void Form::Form_Unload()
{
    EndApplication();
}

// Once, however many ways the user asks for it at the same time.
void Form::EndApplication()
{
    if (m_ended)
        return;
    m_ended = true;
    EndProgram();
}

} // namespace velbrin::main_window
