// The Qt front end seen through the shared checks' eyes.
#pragma once

#include "app/common/window_qt.h"
#include "window_checks.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

// Readable QString values in GoogleTest's failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace velbrin::test {

inline std::u16string WithCrLf(const QString &text)
{
    return QString(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdU16String();
}

class QtDriver : public Driver
{
public:
    QtDriver(QWidget *window, const std::vector<QWidget *> &controls)
        : m_window(window)
        , m_controls(controls)
    { }

    Pixels Client() const override
    {
        const QRect r = m_window->geometry();
        return {r.x(), r.y(), r.width(), r.height()};
    }
    std::u16string Title() const override { return m_window->windowTitle().toStdU16String(); }
    std::string Name(int i) const override { return at(i)->objectName().toStdString(); }
    Pixels Place(int i) const override
    {
        const QRect r = at(i)->geometry();
        return {r.x(), r.y(), r.width(), r.height()};
    }
    std::u16string Text(int i) const override
    {
        QWidget *w = at(i);
        if (w->isHidden())
            return {};
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            return edit->text().toStdU16String();
        if (auto *summary = qobject_cast<QPlainTextEdit *>(w))
            return WithCrLf(summary->toPlainText());
        if (auto *button = qobject_cast<QPushButton *>(w))
            return button->text().toStdU16String();
        return WithCrLf(qobject_cast<QLabel *>(w)->text());
    }
    std::u16string Tooltip(int i) const override { return at(i)->toolTip().toStdU16String(); }
    bool Visible(int i) const override { return !at(i)->isHidden(); }
    bool ReadOnly(int i) const override
    {
        auto *edit = qobject_cast<QLineEdit *>(at(i));
        return edit ? edit->isReadOnly() : qobject_cast<QPlainTextEdit *>(at(i))->isReadOnly();
    }
    bool MultiLine(int i) const override { return qobject_cast<QPlainTextEdit *>(at(i)); }
    bool Bordered(int i) const override
    {
        return qobject_cast<QLabel *>(at(i))->frameShape() == QFrame::Box;
    }
    int MaxLength(int i) const override { return qobject_cast<QLineEdit *>(at(i))->maxLength(); }
    int Focus() const override { return IndexOf(QApplication::focusWidget()); }
    std::vector<int> TabOrder() const override
    {
        std::vector<int> order;
        QWidget *first = QApplication::focusWidget();
        QWidget *w = first;
        do {
            if (!w->isHidden() && (w->focusPolicy() & Qt::TabFocus) && IndexOf(w) >= 0)
                order.push_back(IndexOf(w));
            w = w->nextInFocusChain();
        } while (w != first && order.size() < 40);
        return order;
    }
    void Type(int i, std::u16string_view text) override
    {
        at(i)->setFocus();
        const QString units = ToQt(text);
        for (int u = 0; u < units.size(); ++u) {
            const int count = units.at(u).isHighSurrogate() ? 2 : 1;
            QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, units.mid(u, count));
            QApplication::sendEvent(at(i), &key);
            u += count - 1;
        }
    }
    void Paste(int i, std::u16string_view text) override
    {
        at(i)->setFocus();
        QApplication::clipboard()->setText(ToQt(text));
        qobject_cast<QLineEdit *>(at(i))->paste();
    }
    void Select(int i, int from, int count) override
    {
        at(i)->setFocus();
        qobject_cast<QLineEdit *>(at(i))->setSelection(from, count);
    }
    void Press(Key key) override
    {
        static const Qt::Key keys[] = {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Return, Qt::Key_Escape,
                                       Qt::Key_Backspace};
        QTest::keyClick(QApplication::focusWidget(), keys[int(key)]);
    }
    void Alt(char letter) override
    {
        QTest::keyClick(m_window, Qt::Key(Qt::Key_A + (letter - 'a')), Qt::AltModifier);
        QTest::qWait(300); // an access key clicks its button after a short animation
    }

private:
    QWidget *at(int i) const { return m_controls.at(std::size_t(i)); }
    int IndexOf(QWidget *w) const
    {
        const auto found = std::find(m_controls.begin(), m_controls.end(), w);
        return found == m_controls.end() ? -1 : int(found - m_controls.begin());
    }

    QWidget *m_window;
    const std::vector<QWidget *> &m_controls;
};

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
