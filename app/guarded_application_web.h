#pragma once

#include <exception>

namespace velbrin::web {

// The browser twin of the desktop programs' GuardedApplication: a failure that
// escapes any handler is shown to the user in a message box, and once that is
// closed the program ends with FailureExitCode. It also gives the page the words
// it shows once the program has ended.
class GuardedApplication
{
public:
    GuardedApplication();
    GuardedApplication(const GuardedApplication &) = delete;
    GuardedApplication &operator=(const GuardedApplication &) = delete;

    static void Fail(std::exception_ptr failure);
};

} // namespace velbrin::web
