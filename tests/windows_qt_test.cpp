// The Qt windows, driven through Qt's own event delivery on the offscreen
// platform and read back as a screen reader meets them (Qt's accessibility
// interface), and what only the Qt front end has.
#include "about/frm_about.h"
#include "app/guarded_application_qt.h"
#include "approval.h"
#include "main_window/frm_velbrin.h"
#include "ui/window_qt.h"

#include <QAccessible>
#include <QBuffer>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaEnum>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTimer>

namespace velbrin::test {
namespace {

class QtMain : public Driver
{
public:
    QtMain()
    {
        m_main.Form_Load();
        m_main.Show();
        QApplication::setActiveWindow(Top());
        EXPECT_TRUE(QTest::qWaitForWindowActive(Top()));
    }

    std::vector<Seen> Dump() override
    {
        const ui::Window &view = TopWindow();
        QWidget *window = view.native().window.get();
        QAccessibleInterface *tree = QAccessible::queryAccessibleInterface(window);
        std::vector<Seen> seen {Read(tree, window->windowTitle().toStdU16String(), -1)};
        const Qt::WindowFlags flags = window->windowFlags(); // none customised: the system's own
        const auto offers = [&](Qt::WindowType box) {
            return !(flags & Qt::CustomizeWindowHint) || flags & box;
        };
        seen[0].frame =
                Frame(offers(Qt::WindowCloseButtonHint), offers(Qt::WindowMinimizeButtonHint),
                      offers(Qt::WindowMaximizeButtonHint),
                      window->minimumSize() != window->maximumSize());
        for (int i = 0; i < tree->childCount(); ++i) {
            const auto &controls = view.native().controls;
            const auto index =
                    int(std::ranges::find(controls, tree->child(i)->object()) - controls.begin());
            seen.push_back(Read(tree->child(i), view.Text(index), index));
        }
        return seen;
    }
    std::optional<MessageBoxSeen> MessageBox() override
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return std::nullopt;
        return MessageBoxSeen {box->windowTitle().toStdU16String(),
                               ui::WithCrLf(box->text().toStdU16String()),
                               box->standardButtons() == QMessageBox::Ok ? "OK" : "other",
                               std::array {"", "information", "warning", "error", "question"}.at(
                                       std::size_t(box->icon()))};
    }
    std::string Shot() override
    {
        QByteArray png;
        QBuffer out(&png);
        Top()->grab().save(&out, "PNG");
        return png.toStdString();
    }
    bool Rescale(double scale) override
    {
        return scale == qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
    }
    int Play(const std::vector<std::u16string> &steps,
             const std::function<void(std::size_t)> &after) override
    {
        std::size_t next = 0;
        QTimer timer; // runs in whatever loop is running: About's, a message box's
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            // The window in front becomes the active one, as a window manager has it.
            QWidget *front =
                    QApplication::activeModalWidget() ? QApplication::activeModalWidget() : Top();
            if (QApplication::activeWindow() != front) {
                QApplication::setActiveWindow(front);
                EXPECT_TRUE(QTest::qWaitForWindowActive(front));
            }
            if (next > 0)
                after(next - 1);
            if (next == steps.size())
                return QCoreApplication::exit(-1);
            const Step step = Parse(steps[next++]);
            timer.start(0);
            Take(step);
        });
        timer.start(0);
        return QApplication::exec();
    }

private:
    // The program's topmost window: About while it is up.
    ui::Window &TopWindow()
    {
        frmAbout *about = m_main.aboutDialog();
        return about && about->window().native().window->isVisible() ? about->window()
                                                                     : m_main.window();
    }
    QWidget *Top() { return TopWindow().native().window.get(); }

    frmVelbrin m_main;

    static Seen Read(QAccessibleInterface *a, const std::u16string &text, int index)
    {
        auto *w = qobject_cast<QWidget *>(a->object());
        const QAccessible::State state = a->state();
        const QRect r = w->geometry();
        const auto name = [a](QAccessible::Text which) { return a->text(which).toStdU16String(); };
        const Rect place {r.x(), r.y(), r.width(), r.height()};
        const std::uint32_t colour = w->palette().color(w->foregroundRole()).rgb() & 0xFFFFFF;
        Seen s(index, w->objectName().toStdString(), "", name(QAccessible::Name),
               name(QAccessible::Description), place, text, colour, w->toolTip().toStdU16String());
        s.role = QMetaEnum::fromType<QAccessible::Role>().valueToKey(a->role());
        if (auto *edit = a->role() == QAccessible::EditableText ? a->textInterface() : nullptr) {
            s.selectionStart = s.selectionEnd = edit->cursorPosition();
            if (edit->selectionCount())
                edit->selection(0, &s.selectionStart, &s.selectionEnd);
        }
        if (auto *box = qobject_cast<QPlainTextEdit *>(w))
            s.scrolled = box->verticalScrollBar()->value();
        s.visible = !state.invisible, s.focused = state.focused, s.readOnly = state.readOnly;
        return s;
    }

    void Take(const Step &step)
    {
        QWidget *window = Top(), *modal = QApplication::activeModalWidget(); // the keys go there
        QWidget *focus = modal ? (modal->focusWidget() ? modal->focusWidget() : modal)
                               : window->focusWidget();
        auto *control = window->findChild<QWidget *>(QString::fromStdString(step.control));
        const QString text = QString::fromStdU16String(step.text);
        static const std::map<std::string, Qt::Key> keys {{"Tab", Qt::Key_Tab},
                                                          {"BackTab", Qt::Key_Backtab},
                                                          {"Enter", Qt::Key_Return},
                                                          {"Escape", Qt::Key_Escape},
                                                          {"Backspace", Qt::Key_Backspace}};
        if (step.verb == "type") {
            for (int u = 0; u < text.size(); u += text.at(u).isHighSurrogate() ? 2 : 1) {
                QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier,
                              text.mid(u, text.at(u).isHighSurrogate() ? 2 : 1));
                QApplication::sendEvent(focus, &key);
            }
        } else if (step.verb == "paste") {
            QApplication::clipboard()->setText(text);
            QTest::keyClick(focus, Qt::Key_V, Qt::ControlModifier);
        } else if (step.verb == "select") {
            control->setFocus();
            if (auto *edit = qobject_cast<QLineEdit *>(control))
                edit->setSelection(step.from, step.count);
        } else if (step.verb == "click") { // on whatever lies on top where the pointer is
            const QPoint at = control->mapTo(window, control->rect().center());
            QWidget *hit = window->childAt(at) ? window->childAt(at) : window;
            QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(window, at));
        } else if (step.verb == "key") {
            QTest::keyClick(focus, keys.at(step.control));
        } else if (step.verb == "alt") {
            QTest::keyClick(focus, Qt::Key(Qt::Key_A + (step.text[0] - u'a')), Qt::AltModifier);
        } else if (step.verb == "close") {
            window->close(); // as the close box, the system menu and Alt+F4 do
        } else if (step.verb == "fail") {
            static struct Failing : QObject
            {
                std::string what;
                bool event(QEvent *) override { throw std::runtime_error(what); }
            } failing;
            failing.what = Utf8(step.text);
            QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
        } else {
            ADD_FAILURE() << "no such step: " << step.verb;
        }
    }
};

// ctest also runs this with Qt's own options on the command line (-reverse,
// -stylesheet): the program hands none of them to Qt.
TEST(QtApplication, TakesNoCommandLineAndNamesItsDesktopEntry)
{
    EXPECT_EQ(QApplication::arguments(), QStringList {"velbrin"});
    EXPECT_EQ(QApplication::layoutDirection(), Qt::LeftToRight);
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    EXPECT_EQ(QGuiApplication::desktopFileName(), "org.example.Velbrin");
}

} // namespace

const bool isThePage = false;

std::unique_ptr<Driver> OpenMain()
{
    return std::make_unique<QtMain>();
}

} // namespace velbrin::test

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    velbrin::GuardedApplication application; // the program's own
    QApplication::setCursorFlashTime(0); // a steady caret, for pictures that do not flicker
    velbrin::test::SetEnvironment("qt-" + std::string(qVersion()) + "-" +
                                  QApplication::style()->name().toStdString());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
