// What the user is told when a failure escapes a handler and the program has to
// end: one sentence for both front ends.
#pragma once

#include <exception>
#include <string>

namespace velbrin {

inline constexpr int FailureExitCode = 1;

// The report of `failure` (an exception caught at the top level), UTF-8, lines
// joined by CR LF.
std::string FailureReport(const std::exception_ptr &failure);

} // namespace velbrin
