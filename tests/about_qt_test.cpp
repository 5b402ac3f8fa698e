#include "about/frm_about_qt.h"
#include "about_texts.h"
#include "app/common/window_qt.h"
#include "gui_support_qt.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace velbrin {
namespace {

using namespace about;

// Answers the first lookup with a program, or nothing at all; records starts.
class RecordingPlatform : public sysinfo::Platform
{
public:
    RecordingPlatform(std::vector<std::string> &started, bool installed)
        : m_started(started)
        , m_installed(installed)
    { }
    long OpenKey(std::uint32_t, const std::string &path, std::uint32_t,
                 sysinfo::KeyHandle &) override
    {
        return m_installed && path == sysinfo::PathKey ? 0 : 2;
    }
    long QueryValue(sysinfo::KeyHandle, const std::string &, std::uint32_t &type,
                    unsigned char *data, std::uint32_t &size) override
    {
        const std::string path = "\"/opt/info/tool\"";
        std::copy(path.begin(), path.end(), data);
        size = std::uint32_t(path.size());
        type = sysinfo::RegSz;
        return 0;
    }
    void CloseKey(sysinfo::KeyHandle) override { }
    bool IsOrdinaryFile(const std::string &) override { return false; }
    bool StartProgram(const std::string &path) override
    {
        m_started.push_back(path);
        return true;
    }

private:
    std::vector<std::string> &m_started;
    bool m_installed;
};

class About : public ::testing::Test
{
protected:
    void UseSystem(bool installed)
    {
        dialog.setSysInfoPlatform(std::make_unique<RecordingPlatform>(started, installed));
    }

    // Opens the dialog modally, runs `inside` in its loop, and returns whether
    // the dialog closed by itself afterwards.
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

    QString Text(ControlIndex index) const { return dialog.control<QLabel>(index)->text(); }

    frmAbout dialog {{"Corvanel", 1, 0, 0, ""}};
    std::vector<std::string> started;
};

TEST_F(About, LoadSetsTheTextsWordForWord)
{
    dialog.Form_Load();
    EXPECT_EQ(dialog.windowTitle(), "About Corvanel");
    EXPECT_EQ(Text(lblTitle), "Corvanel");
    EXPECT_EQ(Text(lblVersion), "Version 1.0.0");
    EXPECT_EQ(Text(lblDescription), "Corvanel:  \nVelbrin is part of Quarn project!");
    EXPECT_EQ(Text(lblDisclaimer).split('\n'), [] {
        QStringList lines;
        for (const char *line : test::Disclaimer)
            lines << line;
        return lines;
    }());

    frmAbout untitled({"", 12, 2004, 429, "(c) someone"});
    untitled.Form_Load();
    EXPECT_EQ(untitled.windowTitle(), "About ");
    EXPECT_EQ(untitled.control<QLabel>(lblTitle)->text(), "");
    EXPECT_EQ(untitled.control<QLabel>(lblVersion)->text(), "Version 12.2004.429");
    EXPECT_EQ(untitled.control<QLabel>(lblDescription)->text(),
              "Corvanel:  (c) someone\nVelbrin is part of Quarn project!");
}

// Also run at 1.5 and 2 times by ctest: this build's texts, the longest shown,
// stay inside the dialog and clear of the buttons, and the captions fit.
TEST_F(About, IsBuiltFromItsDescriptionAndEverythingFits)
{
    frmAbout shipped;
    shipped.Form_Load();
    const auto &description = Description();
    EXPECT_EQ(shipped.size(),
              QSize(Twips(description.clientWidth), Twips(description.clientHeight)));
    EXPECT_EQ(shipped.minimumSize(), shipped.maximumSize());
    EXPECT_FALSE(shipped.windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(shipped.geometry().topLeft(),
              QPoint(Twips(description.screenLeft), Twips(description.screenTop)));
    for (int i = 0; i < ControlCount; ++i) {
        const ui::Control &c = description.controls[std::size_t(i)];
        QWidget *widget = shipped.control(ControlIndex(i));
        SCOPED_TRACE(c.name);
        EXPECT_EQ(widget->objectName(), c.name);
        // A button may have grown to the left to fit its caption.
        EXPECT_EQ(c.kind == ui::Kind::Button ? widget->geometry().topRight() : widget->pos(),
                  c.kind == ui::Kind::Button ? TwipsRect(c.place).topRight()
                                             : TwipsRect(c.place).topLeft());
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            EXPECT_EQ(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
            if (c.has(ui::AutoSize)) {
                EXPECT_EQ(label->size(), label->sizeHint());
            }
        }
        if (auto *button = qobject_cast<QPushButton *>(widget)) {
            const QFontMetrics metrics = button->fontMetrics();
            EXPECT_LE(metrics.horizontalAdvance(button->text().remove('&')) + 4, button->width());
            EXPECT_LE(button->geometry().right(), shipped.width());
        }
    }
    const QLabel *label = shipped.control<QLabel>(lblDisclaimer);
    const QFontMetrics metrics = label->fontMetrics();
    const QStringList lines = label->text().split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QRect line(label->x(), label->y() + i * metrics.lineSpacing(),
                         metrics.horizontalAdvance(lines[i]), metrics.height());
        EXPECT_LE(line.right(), shipped.width()) << i;
        for (auto button : {cmdOK, cmdSysInfo}) {
            EXPECT_FALSE(line.intersects(shipped.control(button)->geometry())) << i;
        }
    }
    // The groove: gray over white, the white one twice as wide.
    const QImage image = shipped.grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const int y = Twips(1676);
    EXPECT_EQ(QColor(image.pixel(image.width() / 2, qRound(y * ratio))), QColor(128, 128, 128));
    EXPECT_EQ(QColor(image.pixel(image.width() / 2, qRound((y + 1) * ratio))),
              QColor(255, 255, 255));
    const QImage icon = shipped.control<QLabel>(picIcon)->pixmap().toImage();
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_FALSE(icon.hasAlphaChannel());
    EXPECT_TRUE(shipped.control<QPushButton>(cmdOK)->isDefault());
}

TEST_F(About, OkEnterAndEscCloseIt)
{
    UseSystem(true);
    EXPECT_TRUE(Open([&] { QTest::mouseClick(dialog.control(cmdOK), Qt::LeftButton); }));
    EXPECT_TRUE(Open([&] { QTest::keyClick(dialog.control(cmdOK), Qt::Key_Return); }));
    EXPECT_TRUE(Open([&] {
        dialog.control(cmdSysInfo)->setFocus();
        QTest::keyClick(dialog.control(cmdSysInfo), Qt::Key_Escape);
    }));
    EXPECT_TRUE(started.empty());
}

TEST_F(About, SystemInfoLeavesTheDialogOpen)
{
    UseSystem(true);
    // Enter on System Info presses it instead of closing the dialog.
    EXPECT_FALSE(Open([&] {
        dialog.control(cmdSysInfo)->setFocus();
        QTest::keyClick(dialog.control(cmdSysInfo), Qt::Key_Return);
    }));
    EXPECT_FALSE(Open([&] {
        QTest::keyClick(&dialog, Qt::Key_S, Qt::AltModifier);
        QTest::qWait(300); // the access key clicks after a short animation
    }));
    // The quotes around the registered path are not part of the file's name.
    EXPECT_EQ(started, (std::vector<std::string> {"/opt/info/tool", "/opt/info/tool"}));

    // Nothing registered: the system's own message box, OK only, no icon.
    UseSystem(false);
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QMessageBox::StandardButtons buttons;
    EXPECT_FALSE(Open([&] {
        test::WhenModal([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            box->accept();
        });
        QTest::mouseClick(dialog.control(cmdSysInfo), Qt::LeftButton);
    }));
    EXPECT_EQ(title, "Corvanel");
    EXPECT_EQ(text, test::Unavailable);
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(buttons, QMessageBox::Ok);
}

TEST_F(About, EachOpeningLoadsAfresh)
{
    EXPECT_TRUE(Open([&] {
        EXPECT_EQ(QApplication::focusWidget(), dialog.control(cmdOK));
        dialog.control<QLabel>(lblTitle)->setText("changed");
        dialog.move(0, 0);
        dialog.control(cmdSysInfo)->setFocus();
        dialog.control<QPushButton>(cmdOK)->click();
    }));
    EXPECT_TRUE(Open([&] {
        EXPECT_EQ(Text(lblTitle), "Corvanel");
        EXPECT_EQ(dialog.geometry().topLeft(), QPoint(156, 129));
        EXPECT_EQ(QApplication::focusWidget(), dialog.control(cmdOK));
        dialog.control<QPushButton>(cmdOK)->click();
    }));
}

TEST_F(About, GetKeyValueConvertsTheSystemText)
{
    UseSystem(true);
    QString value = "before";
    EXPECT_TRUE(dialog.GetKeyValue(sysinfo::HkeyLocalMachine, QString::fromLatin1(sysinfo::PathKey),
                                   "PATH", value));
    EXPECT_EQ(value, "\"/opt/info/tool\"");
    EXPECT_FALSE(dialog.GetKeyValue(sysinfo::HkeyLocalMachine, "SOFTWARE\\Other", "PATH", value));
    EXPECT_EQ(value, "");
}

} // namespace
} // namespace velbrin
