#include "about/frm_about.h"
#include "app/guarded_application.h"
#include "gui_support.h"
#include "main_window/frm_velbrin.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

namespace velbrin {
namespace {

class MainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.Form_Load();
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    template<typename T = QWidget> T *control(const char *name) const
    {
        return window.findChild<T *>(QString::fromLatin1(name));
    }

    frmVelbrin window;
};

QString Text(QWidget *widget)
{
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return edit->text();
    if (auto *summary = qobject_cast<QPlainTextEdit *>(widget))
        return summary->toPlainText();
    return qobject_cast<QLabel *>(widget)->text();
}

// Every control of the window: geometry in twips, tooltip, character limit (0
// for none), read-only.
struct Control
{
    const char *name;
    int left, top, width, height;
    const char *tooltip;
    int maxLength;
    bool readOnly;
};

const Control Controls[] = {
        {"lblMsn", 120, 240, 0, 0, "Mechanical Serial Number", 0, false},
        {"txtMsn", 840, 240, 1332, 288, "MSN: Mechanical Serial Number", 10, false},
        {"lblMsnLeft", 2280, 240, 0, 0, "", 0, false},
        {"txtMobileCode", 840, 720, 492, 288, "Mobile Code: identifies the model of cellular phone",
         3, true},
        {"txtOriginCode", 1560, 720, 252, 288,
         "Origin Code: country of manifacturing or final assembly", 1, true},
        {"txtYearCode", 2040, 720, 252, 288, "Year Code: the year of final assembly", 1, true},
        {"txtMonthCode", 2520, 720, 252, 288, "Month Code: the month of final assembly", 1, true},
        {"txtSnr", 3000, 720, 612, 288, "Serial Number: four digits", 4, true},
        {"txtMsnGlobal", 120, 1080, 4932, 732, "", 0, true},
        {"lblImei", 120, 2040, 0, 0, "", 0, false},
        {"txtImei", 840, 2040, 1932, 288, "IMEI: International Mobile Equipment Identity", 15,
         false},
        {"lblImeiLeft", 2880, 2040, 0, 0, "", 0, false},
        {"txtTypeApprovalCode", 840, 2520, 732, 288,
         "Type Approval Code: identifies the model of cellular phone", 6, true},
        {"txtFinalAssemblyCode", 1800, 2520, 372, 288,
         "Final Assembly Code: country of manifacturing or final assembly", 2, true},
        {"txtImeiSnr", 2400, 2520, 732, 288, "Serial Number: six digits", 6, true},
        {"txtSp", 3360, 2520, 252, 288, "Supplementary digit (reserve)", 1, true},
        {"txtImeiGlobal", 120, 2880, 4932, 732, "", 0, true},
        {"cmdHelp", 5400, 2160, 732, 372, "", 0, false},
        {"cmdAbout", 5400, 2760, 732, 372, "", 0, false},
        {"cmdExit", 5400, 3360, 732, 372, "", 0, false},
};

TEST_F(MainWindow, StartsWithCaptionCountersAndEmptyBoxes)
{
    EXPECT_EQ(window.windowTitle(),
              QStringLiteral("Corvanel Version 1.2004.429 ") +
                      QString::fromUtf8(AppInfo::current().LegalCopyright));
    EXPECT_EQ(window.size(), QSize(412, 252)); // 6180 x 3780 twips
    frmVelbrin plain({"Corvanel", 1, 0, 0, ""});
    plain.Form_Load();
    EXPECT_EQ(plain.windowTitle(), "Corvanel Version 1.0.0 ");
    for (const char *name : {"lblMsnLeft", "lblImeiLeft"}) {
        EXPECT_TRUE(control(name)->isVisible()) << name;
        EXPECT_EQ(control(name)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }
    EXPECT_EQ(control<QLabel>("lblMsnLeft")->text(), "10 character(s) needed");
    EXPECT_EQ(control<QLabel>("lblImeiLeft")->text(), "15 character(s) needed");
    for (const auto &c : Controls)
        if (c.name[0] == 't') {
            EXPECT_TRUE(Text(control(c.name)).isEmpty()) << c.name;
        }
    EXPECT_EQ(QApplication::focusWidget(), window.txtMsn);
    QStringList visibleButtons;
    for (auto *button : window.findChildren<QPushButton *>())
        if (button->isVisible())
            visibleButtons << button->text();
    EXPECT_EQ(visibleButtons, QStringList({"A&bout", "&Close"}));
    EXPECT_EQ(window.findChildren<QLabel *>().size() + window.findChildren<QLineEdit *>().size() +
                      window.findChildren<QPlainTextEdit *>().size() +
                      window.findChildren<QPushButton *>().size(),
              20);
}

TEST_F(MainWindow, ControlsFollowTheTable)
{
    for (const auto &c : Controls) {
        QWidget *widget = control(c.name);
        ASSERT_NE(widget, nullptr) << c.name;
        EXPECT_EQ(widget->pos(), QPoint(qRound(c.left / 15.0), qRound(c.top / 15.0))) << c.name;
        if (c.width) { // labels size themselves
            EXPECT_EQ(widget->size(), QSize(qRound(c.width / 15.0), qRound(c.height / 15.0)))
                    << c.name;
        }
        EXPECT_EQ(widget->toolTip(), QString::fromUtf8(c.tooltip)) << c.name;
        EXPECT_TRUE(widget->isEnabled()) << c.name;
        if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
            EXPECT_EQ(edit->maxLength(), c.maxLength) << c.name;
            EXPECT_EQ(edit->isReadOnly(), c.readOnly) << c.name;
        }
        if (auto *summary = qobject_cast<QPlainTextEdit *>(widget)) {
            EXPECT_TRUE(summary->isReadOnly()) << c.name;
            EXPECT_EQ(summary->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        }
        if (widget->focusPolicy() != Qt::NoFocus) {
            EXPECT_FALSE(widget->accessibleName().isEmpty()) << c.name;
        }
    }
    for (const char *name : {"lblMsn", "lblImei"})
        EXPECT_EQ(control<QLabel>(name)->frameShape(), QFrame::Box) << name;
}

TEST_F(MainWindow, TabOrderAndAccessKeys)
{
    QStringList order;
    QWidget *widget = window.txtMsn;
    do {
        if (widget->isVisible() && widget->focusPolicy() & Qt::TabFocus)
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != window.txtMsn);
    EXPECT_EQ(order,
              QStringList({"txtMsn", "txtImei", "cmdAbout", "cmdExit", "txtMobileCode",
                           "txtOriginCode", "txtYearCode", "txtMonthCode", "txtSnr",
                           "txtTypeApprovalCode", "txtFinalAssemblyCode", "txtImeiSnr", "txtSp",
                           "txtMsnGlobal", "txtImeiGlobal"}));

    QTest::keyClick(window.txtMsn, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.txtImei);
    QTest::keyClick(window.txtImei, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), window.txtMsn);

    QSet<QChar> keys;
    for (auto *button : window.findChildren<QPushButton *>()) {
        const auto at = button->text().indexOf(QLatin1Char('&'));
        ASSERT_GE(at, 0) << button->objectName().toStdString();
        const QChar key = button->text().at(at + 1).toLower();
        EXPECT_FALSE(keys.contains(key)) << button->objectName().toStdString();
        keys.insert(key);
    }
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
        EXPECT_LE(needed + 8, button->width()) << button->objectName().toStdString();
    }
    // Counters grow to the right, but never into the column of buttons.
    for (auto *counter : {window.lblMsnLeft, window.lblImeiLeft})
        EXPECT_LT(counter->geometry().right(), window.cmdAbout->x());
}

TEST_F(MainWindow, TypingCountsDownThenDecodes)
{
    QTest::keyClicks(window.txtMsn, "a3ztzb123");
    EXPECT_EQ(window.lblMsnLeft->text(), "1 character(s) needed");
    EXPECT_TRUE(window.txtMobileCode->text().isEmpty());
    QTest::keyClick(window.txtMsn, Qt::Key_4);
    EXPECT_EQ(window.txtMsn->text(), "A3ZTZB1234");
    EXPECT_FALSE(window.lblMsnLeft->isVisible());
    EXPECT_TRUE(window.lblMsnLeft->text().isEmpty());
    const QStringList fields {"A3Z", "T", "Z", "B", "1234"};
    const QList<QLineEdit *> boxes {window.txtMobileCode, window.txtOriginCode, window.txtYearCode,
                                    window.txtMonthCode, window.txtSnr};
    for (int i = 0; i < boxes.size(); ++i)
        EXPECT_EQ(boxes[i]->text(), fields[i]);
    const QString summary = "Mobile Code: A3Z\nMade in Germany\nin January (2nd half of)\n"
                            "of 1999\nSerial# (four digits): 1234";
    EXPECT_EQ(window.txtMsnGlobal->toPlainText(), summary);

    // Deleting brings back the counter only; typing again decodes anew.
    QTest::keyClick(window.txtMsn, Qt::Key_Backspace);
    EXPECT_EQ(window.lblMsnLeft->text(), "1 character(s) needed");
    EXPECT_TRUE(window.lblMsnLeft->isVisible());
    EXPECT_EQ(window.txtSnr->text(), "1234");
    EXPECT_EQ(window.txtMsnGlobal->toPlainText(), summary);
    QTest::keyClick(window.txtMsn, Qt::Key_9);
    EXPECT_EQ(window.txtSnr->text(), "1239");
    window.txtMsn->clear();
    EXPECT_EQ(window.lblMsnLeft->text(), "10 character(s) needed");
    EXPECT_EQ(window.txtSnr->text(), "1239");

    // Replacing a selected character keeps the length and decodes anew.
    QTest::keyClicks(window.txtImei, "445051079876543");
    EXPECT_TRUE(window.txtImeiGlobal->toPlainText().startsWith("Model: Motorola 6200 Flare GSM\n"));
    window.txtImei->setSelection(6, 2);
    QTest::keyClicks(window.txtImei, "4");
    QTest::keyClicks(window.txtImei, "0");
    EXPECT_EQ(window.txtFinalAssemblyCode->text(), "40");
    EXPECT_EQ(window.txtImeiGlobal->toPlainText(),
              "Model: Motorola 6200 Flare GSM\nMade in UK\nSerial# (six digits): 987654\n"
              "Supplementary digit (reserve): 3");
    // The MSN side was not touched by any of this.
    EXPECT_EQ(window.txtSnr->text(), "1239");
}

TEST_F(MainWindow, PastingIsCutAtTheLimitAndUpperCasedInPlace)
{
    struct Paste
    {
        QLineEdit *entry;
        QString pasted, shown;
        QLineEdit *field;
        QString fieldText;
    };
    const Paste pastes[] = {
            {window.txtImei, "445051079876543999", "445051079876543", window.txtSp, "3"},
            {window.txtImei, "abcdefghijklmno", "ABCDEFGHIJKLMNO", window.txtTypeApprovalCode,
             "ABCDEF"},
            {window.txtMsn, "a3ztzb1234xyz", "A3ZTZB1234", window.txtMonthCode, "B"},
            // ß has no one-character upper case: it stays, and nothing is cut off.
            {window.txtMsn, QString(10, QChar(0xDF)), QString(10, QChar(0xDF)), window.txtSnr,
             QString(4, QChar(0xDF))},
            {window.txtMsn, "\u00e9\u00e9\u00e9rzb123\u00e7", "\u00c9\u00c9\u00c9RZB123\u00c7",
             window.txtMobileCode, "\u00c9\u00c9\u00c9"},
    };
    for (const auto &p : pastes) {
        p.entry->clear();
        QApplication::clipboard()->setText(p.pasted);
        p.entry->paste();
        EXPECT_EQ(p.entry->text(), p.shown);
        EXPECT_EQ(p.field->text(), p.fieldText);
    }
    EXPECT_TRUE(window.txtMsnGlobal->toPlainText().contains("<\u00c9\u00c9\u00c9>") == false);
    EXPECT_TRUE(window.txtMsnGlobal->toPlainText().startsWith("Mobile Code: \u00c9\u00c9\u00c9\n"
                                                              "Made in Germany\n"));
}

TEST_F(MainWindow, ReadOnlyBoxesRefuseEditsButAllowCopying)
{
    QTest::keyClicks(window.txtImei, "445051079876543");
    for (auto *field : {window.txtTypeApprovalCode, window.txtSp}) {
        const QString before = field->text();
        field->setFocus();
        QTest::keyClicks(field, "x");
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClick(field, Qt::Key_Delete);
        QApplication::clipboard()->setText("zz");
        field->paste();
        EXPECT_EQ(field->text(), before);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), before);
    }
    auto *summary = window.txtImeiGlobal;
    const QString before = summary->toPlainText();
    summary->setFocus();
    QTest::keyClicks(summary, "x");
    QTest::keyClick(summary, Qt::Key_Delete);
    EXPECT_EQ(summary->toPlainText(), before);
    QTest::keyClick(summary, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(summary, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), before);
    EXPECT_EQ(before.count('\n'), 3);
    EXPECT_FALSE(before.contains('\r'));
}

TEST_F(MainWindow, EveryWayOfClosingEndsTheProgram)
{
    const std::function<void(frmVelbrin &)> ways[] = {
            [](frmVelbrin &w) { QTest::mouseClick(w.cmdExit, Qt::LeftButton); },
            [](frmVelbrin &w) { QTest::keyClick(&w, Qt::Key_C, Qt::AltModifier); },
            [](frmVelbrin &w) { QTest::keyClick(w.txtImei, Qt::Key_Escape); },
            [](frmVelbrin &w) { w.close(); }, // close box, system menu, Alt+F4
    };
    for (const auto &way : ways) {
        frmVelbrin other;
        other.Form_Load();
        other.show();
        QApplication::setActiveWindow(&other);
        EXPECT_EQ(test::RunEventLoop([&] { way(other); }), 0);
        EXPECT_TRUE(other.hasEnded());
        EXPECT_FALSE(other.isVisible());
    }
    // Enter in an entry box ends nothing: it is how scanners finish an identifier.
    QTest::keyClicks(window.txtImei, "445051079876543");
    QTest::keyClick(window.txtImei, Qt::Key_Return);
    EXPECT_FALSE(window.hasEnded());
}

TEST_F(MainWindow, AboutOpensModallyAndLeavesTheBoxesAlone)
{
    QTest::keyClicks(window.txtMsn, "A3ZTZB1234");
    const QString summary = window.txtMsnGlobal->toPlainText();
    for (int opening = 0; opening < 2; ++opening) {
        bool wasModal = false;
        test::WhenModal([&](QWidget *modal) {
            wasModal = modal == window.aboutDialog();
            // The main window takes no input meanwhile: a key through the window
            // system would otherwise reach txtMsn, which has the focus.
            QTest::keyClick(window.windowHandle(), Qt::Key_Backspace);
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        // An access key clicks its button after a short animation; wait for it.
        if (opening == 0)
            QTest::keyClick(&window, Qt::Key_B, Qt::AltModifier);
        else
            QTest::mouseClick(window.cmdAbout, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return wasModal; }, 3000));
        EXPECT_FALSE(window.aboutDialog()->isVisible());
    }
    EXPECT_EQ(window.txtMsn->text(), "A3ZTZB1234");
    EXPECT_EQ(window.txtMsnGlobal->toPlainText(), summary);
    // The same key once the dialog is gone does reach it.
    QApplication::setActiveWindow(&window);
    window.txtMsn->setFocus();
    QTest::keyClick(window.windowHandle(), Qt::Key_Backspace);
    EXPECT_EQ(window.txtMsn->text(), "A3ZTZB123");
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

} // namespace
} // namespace velbrin
