#include "app/guarded_application_web.h"

#include "app/app_info.h"
#include "app/failure.h"
#include "ui/window_web.h"

namespace velbrin::web {
namespace {

bool failing = false; // the first failure ends the program; later ones add nothing

} // namespace

GuardedApplication::GuardedApplication()
{
    SetFailureHandler(Fail);
    // A page may not close the tab it is in: it says instead that the program ended.
    SetEndedNote(std::u16string(AppInfo::current().Title) +
                 u" has ended. Reload the page to start it again.");
}

void GuardedApplication::Fail(std::exception_ptr failure)
{
    if (failing)
        return;
    failing = true;
    StopInput();
    MessageBox(AppInfo::current().Title, FailureReport(failure), MessageIcon::Error,
               [] { EndProgram(FailureExitCode); });
}

} // namespace velbrin::web
