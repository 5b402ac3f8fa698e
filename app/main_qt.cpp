// The program's entry: the main window, loaded and shown, and the event loop.
// The command line is not looked at; see GuardedApplication.
#include "app/guarded_application_qt.h"
#include "main_window/frm_velbrin_qt.h"

#include "velbrin/build_info.h"

int main()
{
    velbrin::GuardedApplication application;
    QApplication::setDesktopFileName(QStringLiteral(VELBRIN_APP_ID));
    velbrin::frmVelbrin window;
    window.Form_Load();
    window.show();
    return application.exec();
}
