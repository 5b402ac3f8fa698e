// The program's entry: the main window, loaded and shown, and the event loop.
// The command line is not looked at; see GuardedApplication.
#include "app/guarded_application_qt.h"
#include "main_window/frm_velbrin.h"

int main()
{
    velbrin::GuardedApplication application;
    velbrin::frmVelbrin window;
    window.Form_Load();
    window.Show();
    return application.exec();
}
