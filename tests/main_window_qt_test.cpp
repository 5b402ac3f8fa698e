#include "app/common/window_qt.h"
#include "app/guarded_application_qt.h"
#include "entry_cases.h"
#include "gui_support_qt.h"
#include "main_window/frm_velbrin_qt.h"

#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace velbrin {
namespace {

using namespace main_window;

// What a person sees in a box: a hidden counter shows nothing.
QString Shown(const frmVelbrin &window, ControlIndex index)
{
    QWidget *widget = window.control(index);
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return edit->text();
    if (auto *summary = qobject_cast<QPlainTextEdit *>(widget))
        return summary->toPlainText();
    return widget->isVisible() ? qobject_cast<QLabel *>(widget)->text() : QString();
}

// Typed as key presses, one code point each, as a keyboard or scanner sends them.
void Type(QWidget *target, const QString &text)
{
    for (int i = 0; i < text.size(); ++i) {
        const int units = text.at(i).isHighSurrogate() ? 2 : 1;
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, text.mid(i, units));
        QApplication::sendEvent(target, &key);
        i += units - 1;
    }
}

class MainWindow : public ::testing::Test
{
protected:
    void SetUp() override { Show(window); }

    static void Show(frmVelbrin &w)
    {
        w.Form_Load();
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    QString Shown(ControlIndex index) const { return velbrin::Shown(window, index); }

    frmVelbrin window;
};

TEST_F(MainWindow, IsBuiltFromItsDescription)
{
    const auto &description = Description();
    EXPECT_EQ(window.objectName(), description.name);
    EXPECT_EQ(window.size(),
              QSize(Twips(description.clientWidth), Twips(description.clientHeight)));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    for (int i = 0; i < ControlCount; ++i) {
        const ui::Control &c = description.controls[std::size_t(i)];
        QWidget *widget = window.control(ControlIndex(i));
        SCOPED_TRACE(c.name);
        EXPECT_EQ(widget->objectName(), c.name);
        EXPECT_EQ(widget->pos(), TwipsRect(c.place).topLeft());
        if (!c.has(ui::AutoSize)) {
            EXPECT_EQ(widget->size(), TwipsRect(c.place).size());
        }
        EXPECT_EQ(widget->toolTip(), ToQt(c.tooltip));
        EXPECT_EQ(widget->isHidden(), c.has(ui::Hidden));
        EXPECT_TRUE(widget->isEnabled());
        if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
            EXPECT_EQ(edit->isReadOnly(), c.has(ui::ReadOnly));
            if (c.maxLength) {
                EXPECT_EQ(edit->maxLength(), c.maxLength);
            }
        } else if (auto *summary = qobject_cast<QPlainTextEdit *>(widget)) {
            EXPECT_TRUE(c.has(ui::MultiLine) && summary->isReadOnly());
            EXPECT_EQ(summary->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        } else if (auto *label = qobject_cast<QLabel *>(widget)) {
            EXPECT_EQ(label->frameShape() == QFrame::Box, c.has(ui::Bordered));
            EXPECT_EQ(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
        } else {
            EXPECT_EQ(qobject_cast<QPushButton *>(widget)->text(), ToQt(c.caption));
        }
    }
    // A few texts held against the published ones, word for word.
    EXPECT_EQ(window.control(txtImei)->toolTip(), "IMEI: International Mobile Equipment Identity");
    EXPECT_EQ(window.control(txtOriginCode)->toolTip(),
              "Origin Code: country of manifacturing or final assembly");
    EXPECT_EQ(window.control(lblMsn)->toolTip(), "Mechanical Serial Number");
}

TEST_F(MainWindow, StartsWithCaptionCountersAndEmptyBoxes)
{
    EXPECT_EQ(window.windowTitle(),
              "Corvanel Version 1.2004.429 " +
                      QString::fromUtf8(AppInfo::current().LegalCopyright));
    frmVelbrin plain({"Corvanel", 1, 0, 0, ""});
    plain.Form_Load();
    EXPECT_EQ(plain.windowTitle(), "Corvanel Version 1.0.0 ");
    EXPECT_EQ(Shown(lblMsnLeft), "10 character(s) needed");
    EXPECT_EQ(Shown(lblImeiLeft), "15 character(s) needed");
    for (auto counter : {lblMsnLeft, lblImeiLeft})
        EXPECT_EQ(window.control(counter)->palette().color(QPalette::WindowText),
                  QColor(255, 0, 0));
    for (int i = 0; i < ControlCount; ++i)
        if (Description().controls[std::size_t(i)].kind == ui::Kind::TextBox) {
            EXPECT_EQ(Shown(ControlIndex(i)), "") << i;
        }
    EXPECT_EQ(QApplication::focusWidget(), window.control(txtMsn));
    EXPECT_TRUE(window.control(cmdAbout)->isVisible() && window.control(cmdExit)->isVisible());
    EXPECT_FALSE(window.control(cmdHelp)->isVisible());
}

TEST_F(MainWindow, TypingAndPasting)
{
    for (const auto &c : test::EntryCases()) {
        SCOPED_TRACE(c.what);
        frmVelbrin fresh;
        Show(fresh);
        auto *entry = fresh.control<QLineEdit>(c.entry);
        for (const auto &step : c.steps) {
            switch (step.action) {
            case test::Step::Type:
                Type(entry, ToQt(step.text));
                break;
            case test::Step::Paste:
                QApplication::clipboard()->setText(ToQt(step.text));
                entry->paste();
                break;
            case test::Step::Backspace:
                QTest::keyClick(entry, Qt::Key_Backspace);
                break;
            case test::Step::Select:
                entry->setSelection(step.from, step.count);
                break;
            }
        }
        EXPECT_EQ(entry->text(), ToQt(c.shown));
        const auto side = c.entry == txtImei ? ImeiSide() : MsnSide();
        EXPECT_EQ(velbrin::Shown(fresh, side.counter), ToQt(c.counter));
        for (const auto &[box, text] : c.boxes)
            EXPECT_EQ(velbrin::Shown(fresh, box), WithQtLineBreaks(ToQt(text)))
                    << Description().controls[std::size_t(box)].name;
    }
}

TEST_F(MainWindow, TabOrderAndAccessKeys)
{
    QStringList order;
    QWidget *widget = window.control(txtMsn);
    do {
        if (widget->isVisible() && widget->focusPolicy() & Qt::TabFocus)
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != window.control(txtMsn));
    EXPECT_EQ(order,
              QStringList({"txtMsn", "txtImei", "cmdAbout", "cmdExit", "txtMobileCode",
                           "txtOriginCode", "txtYearCode", "txtMonthCode", "txtSnr",
                           "txtTypeApprovalCode", "txtFinalAssemblyCode", "txtImeiSnr", "txtSp",
                           "txtMsnGlobal", "txtImeiGlobal"}));
    QTest::keyClick(window.control(txtMsn), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.control(txtImei));
    QTest::keyClick(window.control(txtImei), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), window.control(txtMsn));
    // Alt+H belongs to the hidden Help button and does nothing.
    QTest::keyClick(&window, Qt::Key_H, Qt::AltModifier);
    EXPECT_FALSE(window.hasEnded());
    EXPECT_EQ(window.aboutDialog(), nullptr);
}

// Run at several scale factors by ctest (QT_SCALE_FACTOR): every caption and
// every field fits its box. Digits are the widest text a numeric field holds;
// one-character codes may be any letter, so the widest letter must fit.
TEST_F(MainWindow, CaptionsAndFieldsFitTheirBoxes)
{
    const QFontMetrics metrics = window.fontMetrics();
    for (auto *edit : window.findChildren<QLineEdit *>()) {
        if (!edit->isReadOnly())
            continue;
        const int length = edit->maxLength();
        int needed = metrics.horizontalAdvance(QLatin1Char('W'));
        for (char digit = '0'; length > 1 && digit <= '9'; ++digit)
            needed = std::max(needed,
                              metrics.horizontalAdvance(QString(length, QLatin1Char(digit))));
        // QLineEdit keeps 2 pixels on either side of its text, less its text margins.
        const QMargins margins = edit->textMargins();
        const int room = edit->contentsRect().width() - 4 - margins.left() - margins.right();
        EXPECT_LE(needed, room) << edit->objectName().toStdString();
    }
    for (auto *button : window.findChildren<QPushButton *>()) {
        const int needed = metrics.horizontalAdvance(QString(button->text()).remove('&'));
        EXPECT_LE(needed + 4, button->width()) << button->objectName().toStdString();
    }
    // Counters grow to the right, but never into the column of buttons.
    for (auto counter : {lblMsnLeft, lblImeiLeft}) {
        EXPECT_LT(window.control(counter)->geometry().right(), window.control(cmdAbout)->x());
    }
}

TEST_F(MainWindow, ReadOnlyBoxesShowTheCaretAndAllowCopyingOnly)
{
    Type(window.control(txtImei), "445051079876543");
    auto *field = window.control<QLineEdit>(txtTypeApprovalCode);
    const QImage unfocused = field->grab().toImage();
    field->setFocus();
    EXPECT_NE(field->grab().toImage(), unfocused); // a caret marks the focus
    Type(field, "x");
    QTest::keyClick(field, Qt::Key_Backspace);
    QApplication::clipboard()->setText("zz");
    field->paste();
    EXPECT_EQ(field->text(), "445051");
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "445051");

    auto *summary = window.control<QPlainTextEdit>(txtImeiGlobal);
    const QString before = summary->toPlainText();
    summary->setFocus();
    Type(summary, "x");
    QTest::keyClick(summary, Qt::Key_Delete);
    QTest::keyClick(summary, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(summary, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(summary->toPlainText(), before);
    EXPECT_EQ(QApplication::clipboard()->text(), before);
}

TEST_F(MainWindow, EveryWayOfClosingEndsTheProgram)
{
    const std::function<void(frmVelbrin &)> ways[] = {
            [](frmVelbrin &w) { QTest::mouseClick(w.control(cmdExit), Qt::LeftButton); },
            [](frmVelbrin &w) { QTest::keyClick(&w, Qt::Key_C, Qt::AltModifier); },
            [](frmVelbrin &w) { QTest::keyClick(w.control(txtImei), Qt::Key_Escape); },
            [](frmVelbrin &w) { w.close(); }, // close box, system menu, Alt+F4
    };
    for (const auto &way : ways) {
        frmVelbrin other;
        Show(other);
        EXPECT_EQ(test::RunEventLoop([&] { way(other); }), 0);
        EXPECT_TRUE(other.hasEnded());
        EXPECT_FALSE(other.isVisible());
    }
    // Enter in an entry box ends nothing: it is how scanners finish an identifier.
    Type(window.control(txtImei), "445051079876543");
    QTest::keyClick(window.control(txtImei), Qt::Key_Return);
    EXPECT_FALSE(window.hasEnded());
}

TEST_F(MainWindow, AboutOpensModallyAndLeavesTheBoxesAlone)
{
    Type(window.control(txtMsn), "A3ZTZB1234");
    for (int opening = 0; opening < 2; ++opening) {
        bool wasModal = false;
        test::WhenModal([&](QWidget *modal) {
            wasModal = modal == reinterpret_cast<QWidget *>(window.aboutDialog());
            // The main window takes no input meanwhile: a key through the window
            // system would otherwise reach txtMsn, which has the focus.
            QTest::keyClick(window.windowHandle(), Qt::Key_Backspace);
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        // An access key clicks its button after a short animation; wait for it.
        if (opening == 0)
            QTest::keyClick(&window, Qt::Key_B, Qt::AltModifier);
        else
            QTest::mouseClick(window.control(cmdAbout), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return wasModal; }, 3000));
    }
    EXPECT_EQ(Shown(txtMsn), "A3ZTZB1234");
    EXPECT_EQ(Shown(txtMsnGlobal), WithQtLineBreaks(ToQt(test::MsnSummary)));
}

TEST(Application, AFailureInAHandlerIsReportedAndEndsTheProgram)
{
    class Failing : public QObject
    {
    protected:
        bool event(QEvent *) override { throw std::runtime_error("the disk is on fire"); }
    } failing;
    auto *application = static_cast<GuardedApplication *>(QApplication::instance());
    QString reported;
    application->setReporter([&](const QString &text) { reported = text; });
    const int status = test::RunEventLoop(
            [&] { QCoreApplication::postEvent(&failing, new QEvent(QEvent::User)); });
    EXPECT_EQ(status, GuardedApplication::FailureExitCode);
    EXPECT_TRUE(reported.contains("the disk is on fire")) << reported.toStdString();
}

// ctest runs this with Qt's own options on the command line (-reverse, -stylesheet):
// the program hands none of them to Qt.
TEST(Application, TakesNoCommandLine)
{
    EXPECT_EQ(QApplication::arguments(), QStringList {"velbrin"});
    EXPECT_EQ(QApplication::layoutDirection(), Qt::LeftToRight);
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
}

} // namespace
} // namespace velbrin
