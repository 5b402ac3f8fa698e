#pragma once

#include <QApplication>

#include <exception>
#include <functional>

namespace velbrin {

// Qt must not let an exception unwind through its event loop. Every event passes
// through notify(), so a failure that escapes any handler is caught here, shown
// to the user and ends the program with a non-zero status instead of being lost.
//
// It takes no command line: the program's arguments are never handed to Qt, whose
// own options (-stylesheet, -reverse, ...) would otherwise read files and change
// the window.
class GuardedApplication : public QApplication
{
public:
    GuardedApplication();

    bool notify(QObject *receiver, QEvent *event) override;

    // Shows the failure's text; a message box unless a test replaces it.
    using Reporter = std::function<void(const QString &text)>;
    void setReporter(Reporter reporter);

private:
    void fail(const std::exception_ptr &failure);

    Reporter m_reporter;
};

} // namespace velbrin
