#include "app/guarded_application_qt.h"

#include "app/app_info.h"

#include <QMessageBox>

#include <exception>

namespace velbrin {

namespace {

// QApplication keeps references to these for its whole life.
int argumentCount = 1;
char programName[] = "velbrin";
char *programArguments[] = {programName, nullptr};

} // namespace

GuardedApplication::GuardedApplication()
    : QApplication(argumentCount, programArguments)
    , m_reporter([](const QString &text) {
        QMessageBox::critical(nullptr, QString::fromUtf8(AppInfo::current().Title), text);
    })
{ }

void GuardedApplication::setReporter(Reporter reporter)
{
    m_reporter = std::move(reporter);
}

bool GuardedApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &failure) {
        fail(QString::fromLocal8Bit(failure.what()));
    } catch (...) {
        fail(tr("An unexpected error occurred."));
    }
    return true;
}

void GuardedApplication::fail(const QString &text)
{
    // Report before leaving the event loops: once exit() is called, a new modal
    // loop (the message box's) would return at once.
    m_reporter(tr("The program has to close because of an error:\n\n%1").arg(text));
    exit(FailureExitCode);
}

} // namespace velbrin
