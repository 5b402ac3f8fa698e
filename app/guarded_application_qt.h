#pragma once

#include <QApplication>

#include <exception>

namespace velbrin {

// The program's application object. Qt must not let an exception unwind through
// its event loop; every event passes through notify(), so a failure that escapes
// any handler is caught here, shown to the user in a message box and ends the
// program with FailureExitCode instead of being lost.
//
// It takes no command line: the program's arguments are never handed to Qt, whose
// own options (-stylesheet, -reverse, ...) would otherwise read files and change
// the window. Its desktop file name is the program's application id, which
// Wayland shows and desktops match the windows to their entry by. It hands the
// windows the application icon.
class GuardedApplication : public QApplication
{
public:
    GuardedApplication();

    bool notify(QObject *receiver, QEvent *event) override;

private:
    void fail(const std::exception_ptr &failure);
};

} // namespace velbrin
