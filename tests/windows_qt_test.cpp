// The Qt windows, driven through Qt's own event delivery on the offscreen platform.
#include "about/frm_about_qt.h"
#include "about_texts.h"
#include "app/guarded_application_qt.h"
#include "driver_qt.h"
#include "entry_cases.h"
#include "fake_platform.h"
#include "main_window/frm_velbrin_qt.h"

#include <QMessageBox>

#include <memory>

namespace velbrin {
namespace {

using namespace main_window;
using test::Key;

struct Main
{
    explicit Main(const AppInfo &info = AppInfo::current())
        : window(info)
    {
        window.Form_Load();
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    frmVelbrin window;
    test::QtDriver driver {&window, window.controls()};
};

TEST(QtMainWindow, IsBuiltFromItsDescriptionAndStartsEmpty)
{
    Main main;
    test::CheckBuiltFrom(main.driver, Description());
    test::CheckMainWindowStart(main.driver);
    frmVelbrin plain({"Corvanel", 1, 0, 0, ""});
    plain.Form_Load();
    EXPECT_EQ(plain.windowTitle(), "Corvanel Version 1.0.0 ");
    for (auto counter : {lblMsnLeft, lblImeiLeft})
        EXPECT_EQ(main.window.control(counter)->palette().color(QPalette::WindowText), Qt::red);
    EXPECT_EQ(main.window.control(txtMsn)->palette().color(QPalette::Text),
              QApplication::palette("QMenu").color(QPalette::WindowText));
    EXPECT_EQ(main.window.windowFlags() &
                      (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint),
              Qt::WindowFlags());
    EXPECT_EQ(main.window.minimumSize(), main.window.maximumSize());
}

TEST(QtMainWindow, TypingAndPasting)
{
    test::CheckEntryCases([] { return std::make_unique<Main>(); });
}

// Also run at 1.5 and 2 times by ctest: every caption and field fits its box.
// Digits are the widest text a numeric field holds; one-character codes may be
// any letter, so the widest letter must fit.
TEST(QtMainWindow, CaptionsAndFieldsFitTheirBoxes)
{
    Main main;
    frmAbout shipped;
    for (QWidget *window :
         {static_cast<QWidget *>(&main.window), static_cast<QWidget *>(&shipped)}) {
        const QFontMetrics metrics = window->fontMetrics();
        for (auto *edit : window->findChildren<QLineEdit *>()) {
            const int length = edit->maxLength();
            int needed = metrics.horizontalAdvance(QLatin1Char('W'));
            for (char digit = '0'; edit->isReadOnly() && length > 1 && digit <= '9'; ++digit)
                needed = std::max(needed, metrics.horizontalAdvance(QString(length, digit)));
            const QMargins margins = edit->textMargins(); // Qt keeps 2 pixels besides these
            if (edit->isReadOnly()) {
                EXPECT_LE(needed,
                          edit->contentsRect().width() - 4 - margins.left() - margins.right())
                        << edit->objectName().toStdString();
            }
        }
        for (auto *button : window->findChildren<QPushButton *>()) {
            EXPECT_LE(metrics.horizontalAdvance(button->text().remove('&')) + 4, button->width())
                    << button->objectName().toStdString();
        }
        if (auto *about = qobject_cast<frmAbout *>(window)) {
            about->Form_Load(); // this build's texts, the longest shown, clear the buttons
            const QLabel *label = about->control<QLabel>(about::lblDisclaimer);
            const QStringList lines = label->text().split('\n');
            for (int i = 0; i < lines.size(); ++i) {
                const QRect line(label->x(), label->y() + i * metrics.lineSpacing(),
                                 metrics.horizontalAdvance(lines[i]), metrics.height());
                for (auto button : {about::cmdOK, about::cmdSysInfo}) {
                    EXPECT_FALSE(line.intersects(about->control(button)->geometry())) << i;
                }
            }
        }
    }
}

TEST(QtMainWindow, ReadOnlyBoxesShowTheCaretAndAllowCopyingOnly)
{
    Main main;
    main.driver.Type(txtImei, u"445051079876543");
    auto *field = main.window.control<QLineEdit>(txtTypeApprovalCode);
    // A caret marks the focus, and only the focus.
    const auto caretShown = [field] {
        const QImage image = field->grab().toImage();
        const QRect caret = field->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const QPoint at = caret.center() * image.devicePixelRatio();
        return QColor(image.pixel(at)) == field->palette().color(QPalette::Text);
    };
    EXPECT_FALSE(caretShown());
    main.driver.Type(txtTypeApprovalCode, u"x");
    EXPECT_TRUE(caretShown());
    main.driver.Press(Key::Backspace);
    main.driver.Paste(txtTypeApprovalCode, u"zz");
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "445051");
    EXPECT_EQ(main.driver.Text(txtTypeApprovalCode), u"445051");
    const auto summary = main.driver.Text(txtImeiGlobal);
    main.driver.Type(txtImeiGlobal, u"x");
    EXPECT_EQ(main.driver.Text(txtImeiGlobal), summary);
}

TEST(QtMainWindow, EveryWayOfClosingEndsTheProgramButEnter)
{
    const std::function<void(Main &)> ways[] = {
            [](Main &m) { QTest::mouseClick(m.window.control(cmdExit), Qt::LeftButton); },
            [](Main &m) { m.driver.Alt('c'); }, [](Main &m) { m.driver.Press(Key::Escape); },
            [](Main &m) { m.window.close(); }, // close box, system menu, Alt+F4
    };
    for (const auto &way : ways) {
        Main main;
        EXPECT_EQ(test::RunEventLoop([&] { way(main); }), 0);
        EXPECT_TRUE(main.window.hasEnded());
        EXPECT_FALSE(main.window.isVisible());
    }
    // Enter in an entry box ends nothing: it is how scanners finish an identifier.
    Main main;
    main.driver.Type(txtImei, u"445051079876543");
    main.driver.Press(Key::Enter);
    main.driver.Alt('h'); // the hidden Help button's key
    EXPECT_FALSE(main.window.hasEnded());
    EXPECT_EQ(main.window.aboutDialog(), nullptr);
}

TEST(QtAbout, OpensModallyFreshEachTimeAndKeepsTheMainWindowsBoxes)
{
    Main main;
    main.driver.Type(txtMsn, u"A3ZTZB1234");
    for (int opening = 0; opening < 2; ++opening) {
        bool checked = false;
        test::WhenModal([&](QWidget *modal) {
            auto *about = static_cast<frmAbout *>(modal);
            ASSERT_EQ(about, main.window.aboutDialog());
            EXPECT_TRUE(QTest::qWaitForWindowActive(about));
            test::QtDriver driver(about, about->controls());
            test::CheckBuiltFrom(driver, about::Description());
            test::CheckAboutOpened(driver, test::DisclaimerText());
            EXPECT_TRUE(about->control<QPushButton>(about::cmdOK)->isDefault());
            // The main window takes no input meanwhile.
            QTest::keyClick(main.window.windowHandle(), Qt::Key_Backspace);
            about->control<QLabel>(about::lblTitle)->setText("changed");
            about->move(0, 0);
            checked = true;
            driver.Press(Key::Escape);
        });
        if (opening == 0)
            main.driver.Alt('b');
        else
            QTest::mouseClick(main.window.control(cmdAbout), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return checked; }, 3000));
    }
    EXPECT_EQ(main.driver.Text(txtMsn), u"A3ZTZB1234");
    EXPECT_EQ(main.driver.Text(txtMsnGlobal), test::MsnSummary);
}

struct About
{
    About() { dialog.setSysInfoPlatform(std::unique_ptr<sysinfo::Platform>(fake)); }
    // Opens the dialog modally, runs `inside` in its loop; true when the dialog
    // closed by itself.
    bool Open(const std::function<void()> &inside)
    {
        bool closed = false;
        test::WhenModal([&](QWidget *) {
            inside();
            closed = !dialog.isVisible();
            if (!closed)
                dialog.reject();
        });
        dialog.ShowModal();
        return closed;
    }
    frmAbout dialog {{"Corvanel", 1, 0, 0, ""}};
    sysinfo::FakePlatform *fake = new sysinfo::FakePlatform;
    test::QtDriver driver {&dialog, dialog.controls()};
};

TEST(QtAbout, TextsWordForWord)
{
    About about;
    about.dialog.Form_Load();
    EXPECT_EQ(about.driver.Text(about::lblVersion), u"Version 1.0.0");
    EXPECT_EQ(about.driver.Text(about::lblDescription),
              u"Corvanel:  \r\nVelbrin is part of Quarn project!");
    EXPECT_EQ(about.driver.Text(about::lblDisclaimer), test::DisclaimerText());
    frmAbout untitled({"", 12, 2004, 429, "(c) someone"});
    untitled.Form_Load();
    EXPECT_EQ(untitled.windowTitle(), "About ");
    EXPECT_EQ(untitled.control<QLabel>(about::lblTitle)->text(), "");
    EXPECT_EQ(untitled.control<QLabel>(about::lblDescription)->text(),
              "Corvanel:  (c) someone\nVelbrin is part of Quarn project!");
    for (auto *label : about.dialog.findChildren<QLabel *>()) {
        EXPECT_EQ(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
    }
    // The groove: gray over white, the white one twice as wide.
    const QImage image = about.dialog.grab().toImage();
    const int y = qRound(Twips(1676) * image.devicePixelRatio());
    EXPECT_EQ(QColor(image.pixel(image.width() / 2, y)), QColor(128, 128, 128));
    EXPECT_EQ(QColor(image.pixel(image.width() / 2, y + 1)), QColor(255, 255, 255));
    const QImage icon = about.dialog.control<QLabel>(about::picIcon)->pixmap().toImage();
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_FALSE(icon.hasAlphaChannel());
}

TEST(QtAbout, OkEnterAndEscCloseItSystemInfoDoesNot)
{
    About about;
    about.fake->registry[std::string(sysinfo::PathKey)]["PATH"] = {sysinfo::RegSz, "\"/opt/tool\""};
    EXPECT_TRUE(about.Open(
            [&] { QTest::mouseClick(about.dialog.control(about::cmdOK), Qt::LeftButton); }));
    EXPECT_TRUE(about.Open([&] { about.driver.Press(Key::Enter); }));
    EXPECT_TRUE(about.Open([&] {
        about.dialog.control(about::cmdSysInfo)->setFocus();
        about.driver.Press(Key::Escape);
    }));
    EXPECT_TRUE(about.fake->started.empty());
    EXPECT_FALSE(about.Open([&] {
        about.driver.Press(Key::Tab);
        about.driver.Press(Key::Enter);
        about.driver.Alt('s');
    }));
    EXPECT_EQ(about.fake->started, (std::vector<std::string> {"/opt/tool", "/opt/tool"}));
}

TEST(QtAbout, NothingToStartShowsTheMessageBox)
{
    About about;
    QMessageBox *box = nullptr;
    QString title, text;
    EXPECT_FALSE(about.Open([&] {
        test::WhenModal([&](QWidget *modal) {
            box = qobject_cast<QMessageBox *>(modal);
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            text = box->text();
            EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
            EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
            box->accept();
        });
        QTest::mouseClick(about.dialog.control(about::cmdSysInfo), Qt::LeftButton);
    }));
    EXPECT_EQ(title, "Corvanel");
    EXPECT_EQ(text.toStdU16String(), test::Unavailable);
    QString value = "before";
    EXPECT_FALSE(
            about.dialog.GetKeyValue(sysinfo::HkeyLocalMachine, "SOFTWARE\\Other", "PATH", value));
    EXPECT_EQ(value, "");
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
    EXPECT_EQ(test::RunEventLoop(
                      [&] { QCoreApplication::postEvent(&failing, new QEvent(QEvent::User)); }),
              GuardedApplication::FailureExitCode);
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
} // namespace velbrin
