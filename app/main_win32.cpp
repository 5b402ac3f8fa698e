// The program's entry on Windows: the main window, loaded and shown, and the
// message loop. The command line is not looked at.
#include "app/failure.h"
#include "app/guarded_application_win32.h"
#include "main_window/frm_velbrin.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    velbrin::win32::GuardedApplication application;
    try {
        velbrin::frmVelbrin window;
        window.Form_Load();
        window.Show();
        return application.Run();
    } catch (...) {
        // A failure before the loop runs (the window cannot be created).
        application.Fail(std::current_exception());
        return velbrin::FailureExitCode;
    }
}
