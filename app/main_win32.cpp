// The program's entry on Windows: the main window, loaded and shown, and the
// message loop. The command line is not looked at.
#include "main_window/frm_velbrin_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try {
        velbrin::frmVelbrin window;
        window.Form_Load();
        window.Show();
        return velbrin::win32::RunMessageLoop(window);
    } catch (const std::exception &failure) {
        // A failure before the loop runs (the window cannot be created).
        velbrin::win32::ReportFailure(failure.what());
        return velbrin::win32::FailureExitCode;
    }
}
