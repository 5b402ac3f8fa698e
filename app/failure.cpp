#include "app/failure.h"

namespace velbrin {

std::string FailureReport(const std::exception_ptr &failure)
{
    std::string what = "An unexpected error occurred.";
    try {
        if (failure)
            std::rethrow_exception(failure);
    } catch (const std::exception &caught) {
        what = caught.what();
    } catch (...) { }
    return "The program has to close because of an error:\r\n\r\n" + what;
}

} // namespace velbrin
