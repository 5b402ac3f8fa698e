#pragma once

#include "ui/window_win32.h"

namespace velbrin::win32 {

// The Win32 twin of the Qt program's GuardedApplication: a failure that escapes
// any handler is shown to the user and ends the program with FailureExitCode.
class GuardedApplication
{
public:
    GuardedApplication();
    GuardedApplication(const GuardedApplication &) = delete;
    GuardedApplication &operator=(const GuardedApplication &) = delete;

    // The program's message loop; returns the exit status.
    int Run();

    // Tells the user and has the message loop end the program.
    static void Fail(std::exception_ptr failure);
};

} // namespace velbrin::win32
