// The Qt windows, driven through Qt's own event delivery on the offscreen
// platform, and what only the Qt front end has.
#include "about/frm_about_qt.h"
#include "app/failure.h"
#include "app/guarded_application_qt.h"
#include "fake_platform.h"
#include "main_window/frm_velbrin_qt.h"
#include "ui/window_qt.h"
#include "window_driver.h"

#include <QAccessible>
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace velbrin::test {

// Runs `action` once the next modal window is up, from within its event loop.
void WhenModal(std::function<void(QWidget *)> action)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            poll->deleteLater();
            poll->stop();
            action(modal);
        }
    });
    poll->start(5);
}

class QtDriver : public Driver
{
public:
    QtDriver(QWidget *window, const std::vector<QWidget *> &controls)
        : m_window(window)
        , m_controls(controls)
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
        QWidget *w = at(i);
        auto *edit = qobject_cast<QLineEdit *>(w);
        auto *summary = qobject_cast<QPlainTextEdit *>(w);
        auto *label = qobject_cast<QLabel *>(w);
        QString text = edit ? edit->text()
                : summary   ? summary->toPlainText()
                : label     ? label->text()
                            : qobject_cast<QPushButton *>(w)->text();
        return {w->objectName().toStdString(),
                PixelsOf(w->geometry()),
                w->isHidden() ? u"" : text.replace('\n', QStringLiteral("\r\n")).toStdU16String(),
                w->toolTip().toStdU16String(),
                !w->isHidden(),
                edit ? edit->isReadOnly() : summary && summary->isReadOnly(),
                summary != nullptr,
                label && label->frameShape() == QFrame::Box,
                edit ? edit->maxLength() : 0};
    }
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
    int Focus() const override { return IndexOf(QApplication::focusWidget()); }
    std::vector<int> TabOrder() const override
    {
        std::vector<int> order;
        QWidget *w = QApplication::focusWidget();
        do {
            if (!w->isHidden() && (w->focusPolicy() & Qt::TabFocus) && IndexOf(w) >= 0)
                order.push_back(IndexOf(w));
            w = w->nextInFocusChain();
        } while (w != QApplication::focusWidget() && order.size() < 40);
        return order;
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
            QtDriver driver(about, about->controls());
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
            seen = {box->windowTitle().toStdU16String(), box->text().toStdU16String(),
                    box->standardButtons() == QMessageBox::Ok, box->icon() != QMessageBox::NoIcon};
            box->accept();
        });
        action();
        return seen;
    }

    QWidget *at(int i) const { return m_controls.at(std::size_t(i)); }

protected:
    static Pixels PixelsOf(const QRect &r) { return {r.x(), r.y(), r.width(), r.height()}; }
    int IndexOf(QWidget *w) const
    {
        const auto found = std::find(m_controls.begin(), m_controls.end(), w);
        return found == m_controls.end() ? -1 : int(found - m_controls.begin());
    }

    QWidget *m_window;
    const std::vector<QWidget *> &m_controls;
};

struct QtMain : frmVelbrin, QtDriver
{
    explicit QtMain(const AppInfo &info)
        : frmVelbrin(info)
        , QtDriver(this, controls())
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

TEST(QtMainWindow, ReadOnlyBoxesShowTheCaretAndAllowCopyingOnly)
{
    QtMain main(AppInfo::current());
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
    main.Type(txtTypeApprovalCode, u"x");
    EXPECT_TRUE(caretShown());
    main.Press(Key::Backspace);
    main.Paste(txtTypeApprovalCode, u"zz");
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "445051");
    EXPECT_EQ(main.Text(txtTypeApprovalCode), u"445051");
    const auto summary = main.Text(txtImeiGlobal);
    main.Type(txtImeiGlobal, u"x");
    EXPECT_EQ(main.Text(txtImeiGlobal), summary);
    for (auto *label : main.findChildren<QLabel *>())
        EXPECT_EQ(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
}

// What a screen reader hears: each label by what it shows at that moment, a
// caption's tooltip as its description, boxes and buttons by their names.
TEST(QtWindows, AScreenReaderHearsWhatIsShown)
{
    const auto heard = [](QWidget *w, QAccessible::Text text = QAccessible::Name) {
        const QString name = QAccessible::queryAccessibleInterface(w)->text(text);
        return QString(name).replace('\n', QStringLiteral("\r\n")).toStdString();
    };
    QtMain main(AppInfo::current());
    main.Type(txtMsn, u"a3z");
    const std::pair<ControlIndex, const char *> names[] = {
            {lblMsnLeft, "7 character(s) needed"},
            {lblImeiLeft, "15 character(s) needed"},
            {lblMsn, "MSN"},
            {txtMsn, "MSN: Mechanical Serial Number"},
            {txtSp, "Supplementary digit (reserve)"},
            {txtImeiGlobal, "txtImeiGlobal"},
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

TEST(QtApplication, AFailureInAHandlerIsReportedAndEndsTheProgram)
{
    class Failing : public QObject
    {
    protected:
        bool event(QEvent *) override { throw std::runtime_error("the disk is on fire"); }
    } failing;
    auto *application = static_cast<GuardedApplication *>(QApplication::instance());
    QString reported;
    application->setReporter([&](const QString &text) { reported = text; });
    QtMain main(AppInfo::current());
    EXPECT_EQ(main.Run([&] { QCoreApplication::postEvent(&failing, new QEvent(QEvent::User)); }),
              FailureExitCode);
    EXPECT_TRUE(reported.contains("the disk is on fire")) << reported.toStdString();
}

// ctest also runs this with Qt's own options on the command line (-reverse,
// -stylesheet): the program hands none of them to Qt.
TEST(QtApplication, TakesNoCommandLine)
{
    EXPECT_EQ(QApplication::arguments(), QStringList {"velbrin"});
    EXPECT_EQ(QApplication::layoutDirection(), Qt::LeftToRight);
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
}

} // namespace
} // namespace velbrin::test

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    velbrin::GuardedApplication application; // the same guard as the program's
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
