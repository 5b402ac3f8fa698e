// The Qt windows, driven through Qt's own event delivery on the offscreen
// platform, and what only the Qt front end has.
#include "about/frm_about_qt.h"
#include "app/guarded_application_qt.h"
#include "fake_platform.h"
#include "main_window/frm_velbrin_qt.h"
#include "window_driver.h"

#include <QAccessible>
#include <QClipboard>
#include <QHelpEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolTip>

namespace velbrin::test {

// Runs `action` once the next modal window is up, from within its event loop;
// gives up after ten seconds, so that a window that never comes fails the test.
void WhenModal(std::function<void(QWidget *)> action)
{
    auto *poll = new QTimer;
    auto deadline = std::make_shared<QDeadlineTimer>(10000);
    QObject::connect(poll, &QTimer::timeout, [poll, action, deadline] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal || deadline->hasExpired()) {
            poll->deleteLater();
            poll->stop();
        }
        if (modal)
            action(modal);
        else if (deadline->hasExpired())
            ADD_FAILURE() << "no modal window came up";
    });
    poll->start(5);
}

class QtDriver : public Driver
{
public:
    QtDriver(QWidget *window, const QtView &view)
        : m_window(window)
        , m_view(view)
    { }

    Pixels Client() const override { return PixelsOf(m_window->geometry()); }
    std::u16string Title() const override { return m_window->windowTitle().toStdU16String(); }
    bool FixedFrame() const override
    {
        return !(m_window->windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)) &&
                m_window->minimumSize() == m_window->maximumSize();
    }
    bool TakesInput() const override
    {
        return !QApplication::activeModalWidget() || QApplication::activeModalWidget() == m_window;
    }
    Seen See(int i) const override
    {
        auto *label = qobject_cast<QLabel *>(at(i));
        return {at(i)->objectName().toStdString(), PixelsOf(at(i)->geometry()),
                at(i)->isHidden() ? u"" : m_view.Text(i), !at(i)->isHidden(),
                label && label->frameShape() == QFrame::Box};
    }
    std::u16string Tooltip(int i) override
    {
        for (QWidget *shown : QApplication::topLevelWidgets()) // the last one, at once
            if (shown->inherits("QTipLabel"))
                shown->hide();
        QHelpEvent hover(QEvent::ToolTip, at(i)->rect().center(),
                         at(i)->mapToGlobal(at(i)->rect().center()));
        QApplication::sendEvent(at(i), &hover);
        const QString shown = QToolTip::isVisible() ? QToolTip::text() : QString();
        return shown.toStdU16String();
    }
    int Caret(int i) const override { return qobject_cast<QLineEdit *>(at(i))->cursorPosition(); }
    std::uint32_t TextColour(int i) const override
    {
        return at(i)->palette().color(at(i)->foregroundRole()).rgb() & 0xFFFFFF;
    }
    std::uint32_t Pixel(int x, int y) const override
    {
        const QImage image = m_window->grab().toImage();
        return image.pixel(QPoint(x, y) * image.devicePixelRatio()) & 0xFFFFFF;
    }
    int TextWidth(int i, std::u16string_view line) const override
    {
        return at(i)->fontMetrics().horizontalAdvance(ToQt(line));
    }
    int LineHeight(int i) const override { return at(i)->fontMetrics().lineSpacing(); }
    int Room(int i) const override
    {
        auto *edit = qobject_cast<QLineEdit *>(at(i)); // Qt keeps 2 pixels besides the margins
        return edit ? edit->contentsRect().width() - 4 - edit->textMargins().left() -
                        edit->textMargins().right()
                    : at(i)->width() - 4;
    }
    int Focus() const override // where the keys go once the window is active
    {
        const auto &controls = m_view.Controls();
        const auto found = std::find(controls.begin(), controls.end(), m_window->focusWidget());
        return found == controls.end() ? -1 : int(found - controls.begin());
    }

    void Type(int i, std::u16string_view text) override
    {
        at(i)->setFocus();
        const QString units = ToQt(text);
        for (int u = 0; u < units.size(); u += units.at(u).isHighSurrogate() ? 2 : 1) {
            QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier,
                          units.mid(u, units.at(u).isHighSurrogate() ? 2 : 1));
            QApplication::sendEvent(at(i), &key);
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
    void Click(int i) override { QTest::mouseClick(at(i), Qt::LeftButton); }
    void CloseBox() override { m_window->close(); } // as the system menu and Alt+F4 do
    void FailInAHandler(const char *what) override
    {
        struct Failing : QObject
        {
            std::string what;
            bool event(QEvent *) override { throw std::runtime_error(what); }
        };
        static Failing failing;
        failing.what = what;
        QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
    }
    int Run(const std::function<void()> &action) override
    {
        QTimer::singleShot(0, action);
        QTimer guard; // a window still up ends the loop
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
        guard.start(1000);
        return QApplication::exec();
    }
    AboutRun InAbout(const std::function<void()> &open, const std::string &sysInfoPath,
                     const std::function<void(Driver &)> &inside) override
    {
        AboutRun run {};
        WhenModal([&](QWidget *modal) {
            auto *about = static_cast<frmAbout *>(modal);
            auto *fake = new sysinfo::FakePlatform(sysInfoPath);
            about->setSysInfoPlatform(std::unique_ptr<sysinfo::Platform>(fake));
            EXPECT_TRUE(QTest::qWaitForWindowActive(about));
            QtDriver driver(about, about->view());
            inside(driver);
            run = {!about->isVisible(), fake->started};
            if (!run.closedItself)
                about->reject();
        });
        open();
        return run;
    }
    MessageBoxSeen InMessageBox(const std::function<void()> &action) override
    {
        MessageBoxSeen seen {};
        WhenModal([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            ASSERT_NE(box, nullptr);
            seen = {box->windowTitle().toStdU16String(), WithCrLf(box->text()).toStdU16String(),
                    box->standardButtons() == QMessageBox::Ok, box->icon() != QMessageBox::NoIcon};
            box->accept();
        });
        action();
        return seen;
    }

    QWidget *at(int i) const { return m_view.Controls().at(std::size_t(i)); }

private:
    static Pixels PixelsOf(const QRect &r) { return {r.x(), r.y(), r.width(), r.height()}; }

    QWidget *m_window;
    const QtView &m_view;
};

struct QtMain : frmVelbrin, QtDriver
{
    explicit QtMain(const AppInfo &info = AppInfo::current())
        : frmVelbrin(info)
        , QtDriver(this, view())
    {
        Form_Load();
        show();
        QApplication::setActiveWindow(this);
        EXPECT_TRUE(QTest::qWaitForWindowActive(this));
    }
};

std::unique_ptr<Driver> OpenMain(const AppInfo &info)
{
    return std::make_unique<QtMain>(info);
}

namespace {

using namespace main_window;

TEST(QtMainWindow, ReadOnlyBoxesShowTheCaretAndAllowCopying)
{
    QtMain main;
    main.Type(txtImei, u"445051079876543");
    auto *field = main.control<QLineEdit>(txtTypeApprovalCode);
    // A caret marks the focus, and only the focus.
    const auto caretShown = [field] {
        const QImage image = field->grab().toImage();
        const QRect caret = field->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        return QColor(image.pixel(caret.center() * image.devicePixelRatio())) ==
                field->palette().color(QPalette::Text);
    };
    EXPECT_FALSE(caretShown());
    main.Select(txtTypeApprovalCode, 0, 0);
    EXPECT_TRUE(caretShown());
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "445051");
    for (auto *label : main.findChildren<QLabel *>())
        EXPECT_EQ(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
}

// What a screen reader hears: each label by what it shows at that moment, a
// caption's tooltip as its description, boxes and buttons by their names.
TEST(QtWindows, AScreenReaderHearsWhatIsShown)
{
    const auto heard = [](QWidget *w, QAccessible::Text text = QAccessible::Name) {
        return WithCrLf(QAccessible::queryAccessibleInterface(w)->text(text)).toStdString();
    };
    QtMain main;
    main.Type(txtMsn, u"a3z");
    const std::pair<ControlIndex, const char *> names[] = {{lblMsnLeft, "7 character(s) needed"},
                                                           {lblImeiLeft, "15 character(s) needed"},
                                                           {lblMsn, "MSN"},
                                                           {txtMsn, "MSN"},
                                                           {txtSp, "Supplementary digit"},
                                                           {txtImeiGlobal, "IMEI summary"},
                                                           {cmdAbout, "About"},
                                                           {cmdExit, "Close"}};
    for (const auto &[control, name] : names)
        EXPECT_EQ(heard(main.at(control)), name);
    EXPECT_EQ(heard(main.at(lblMsn), QAccessible::Description), "Mechanical Serial Number");
    main.InAbout([&] { main.Click(cmdAbout); }, "",
                 [&](Driver &about) {
                     for (const int label : {about::lblTitle, about::lblVersion,
                                             about::lblDescription, about::lblDisclaimer})
                         EXPECT_EQ(heard(static_cast<QtDriver &>(about).at(label)),
                                   ToQt(about.Text(label)).toStdString());
                     EXPECT_EQ(heard(static_cast<QtDriver &>(about).at(about::cmdSysInfo)),
                               "System Info...");
                 });
}

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
} // namespace velbrin::test

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    velbrin::GuardedApplication application; // the program's own
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
