#include "app/guarded_application_qt.h"

#include "app/app_info.h"
#include "app/failure.h"
#include "ui/dialog_rules.h"
#include "ui/window_qt.h"

#include "velbrin/build_info.h"

#include <QMessageBox>

namespace velbrin {

namespace {

// QApplication keeps references to these for its whole life.
int argumentCount = 1;
char programName[] = "velbrin";
char *programArguments[] = {programName, nullptr};

} // namespace

GuardedApplication::GuardedApplication()
    : QApplication(argumentCount, programArguments)
{
    setDesktopFileName(QStringLiteral(VELBRIN_APP_ID));
    SetApplicationIcon(QIcon(QStringLiteral(":/velbrin/velbrin.png")));
}

bool GuardedApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        fail(std::current_exception());
    }
    return true;
}

void GuardedApplication::fail(const std::exception_ptr &failure)
{
    // Report before leaving the event loops: once exit() is called, a new modal
    // loop (the message box's) would return at once.
    QMessageBox::critical(nullptr, ToQt(AppInfo::current().Title),
                          QString::fromStdString(ui::WithLf(FailureReport(failure))));
    exit(FailureExitCode);
}

} // namespace velbrin
