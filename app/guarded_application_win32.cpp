#include "app/guarded_application_win32.h"

#include "app/app_info.h"
#include "app/failure.h"

namespace velbrin::win32 {
namespace {

bool failing = false; // while the report is on screen

} // namespace

GuardedApplication::GuardedApplication()
{
    SetFailureHandler(Fail);
    SetApplicationIcon(L"IDI_ICON1"); // as velbrin.rc names it
}

void GuardedApplication::Fail(std::exception_ptr failure)
{
    if (failing)
        return;
    failing = true;
    MessageBoxW(nullptr, FromUtf8(FailureReport(failure)).c_str(),
                Wide(AppInfo::current().Title).c_str(), MB_OK | MB_ICONERROR);
    PostQuitMessage(FailureExitCode);
    failing = false;
}

int GuardedApplication::Run()
{
    try {
        return MessageLoop();
    } catch (...) {
        return FailureExitCode;
    }
}

} // namespace velbrin::win32
