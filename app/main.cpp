// The program's entry: the main window, loaded and shown, and the event loop.
#include "app/guarded_application.h"
#include "main_window/frm_velbrin.h"

#include "velbrin/build_info.h"

int main(int argc, char **argv)
{
    velbrin::GuardedApplication application(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral(VELBRIN_APP_ID));
    velbrin::frmVelbrin window;
    window.Form_Load();
    window.show();
    return application.exec();
}
