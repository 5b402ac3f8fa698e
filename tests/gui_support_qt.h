#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>
#include <ostream>

// Readable QString values in GoogleTest's failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace velbrin::test {

// Runs `action` from inside the application's own event loop and returns the
// loop's exit status; a stuck loop is ended with 99 after a few seconds.
inline int RunEventLoop(const std::function<void()> &action)
{
    QTimer::singleShot(0, action);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    return QApplication::exec();
}

// Runs `action` once the next modal window is up, from within its event loop.
inline void WhenModal(std::function<void(QWidget *)> action)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            action(modal);
        }
    });
    poll->start(5);
}

} // namespace velbrin::test
