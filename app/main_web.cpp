// The program's entry in the browser: the main window, loaded and shown. There is
// no loop to run: the page calls the handlers, and the program lives on after
// main() returns, until it ends itself.
#include "app/guarded_application_web.h"
#include "main_window/frm_velbrin.h"

int main()
{
    static velbrin::web::GuardedApplication application;
    try {
        static velbrin::frmVelbrin window;
        window.Form_Load();
        window.Show();
    } catch (...) {
        // A failure before the page takes over (the window cannot be made).
        application.Fail(std::current_exception());
    }
    return 0;
}
