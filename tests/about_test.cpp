#include "about/frm_about.h"
#include "gui_support.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace velbrin {
namespace {

// Records starts and messages instead of touching the system.
class RecordingPlatform : public sysinfo::Platform
{
public:
    explicit RecordingPlatform(std::vector<std::string> &started, bool installed)
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
        const std::string path = "/opt/info/tool";
        std::copy(path.begin(), path.end(), data);
        size = static_cast<std::uint32_t>(path.size());
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
    explicit About(const AppInfo &info = {"Corvanel", 1, 0, 0, ""})
        : dialog(info)
    { }

    void UseSystem(bool installed)
    {
        dialog.setSysInfoPlatform(std::make_unique<RecordingPlatform>(started, installed));
        dialog.setMessageBox([this](std::string_view m) { messages.emplace_back(m); });
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

    frmAbout dialog;
    std::vector<std::string> started;
    std::vector<std::string> messages;
};

TEST_F(About, LoadSetsTheTextsFromAppInfo)
{
    dialog.Form_Load();
    EXPECT_EQ(dialog.windowTitle(), "About Corvanel");
    EXPECT_EQ(dialog.lblTitle->text(), "Corvanel");
    EXPECT_EQ(dialog.lblVersion->text(), "Version 1.0.0");
    EXPECT_EQ(dialog.lblDescription->text(), "Corvanel:  \nVelbrin is part of Quarn project!");
    const QStringList disclaimer = dialog.lblDisclaimer->text().split('\n');
    ASSERT_EQ(disclaimer.size(), 8);
    EXPECT_EQ(disclaimer[0], "");
    EXPECT_EQ(disclaimer[1], "The author will not be held responsible for any damage or loss !");
    EXPECT_EQ(disclaimer[2], "");
    EXPECT_TRUE(disclaimer[3].startsWith("The author can be contacted at <"));
    EXPECT_TRUE(disclaimer[3].endsWith("@example.org>"));
    EXPECT_EQ(disclaimer[5], "Huge thanks to:");
    // Labels that size themselves show every line whole, inside the dialog and
    // clear of the buttons.
    for (auto *label : {dialog.lblDescription, dialog.lblDisclaimer})
        EXPECT_EQ(label->size(), label->sizeHint());

    frmAbout shipped; // this build's copyright text is the longest one shown
    shipped.Form_Load();
    EXPECT_LE(shipped.lblDescription->geometry().right(), shipped.width());
    const QLabel *label = shipped.lblDisclaimer;
    const QFontMetrics metrics = label->fontMetrics();
    const QStringList lines = label->text().split('\n');
    const int top = label->y() + (label->height() - metrics.lineSpacing() * lines.size()) / 2;
    for (int i = 0; i < lines.size(); ++i) {
        const QRect line(label->x(), top + i * metrics.lineSpacing(),
                         metrics.horizontalAdvance(lines[i]), metrics.height());
        EXPECT_LE(line.right(), shipped.width()) << i;
        for (const QWidget *button : {shipped.cmdOK, shipped.cmdSysInfo})
            EXPECT_FALSE(line.intersects(button->geometry()))
                    << i << " " << line.x() << "," << line.y() << " " << line.width() << "x"
                    << line.height() << " vs " << button->y();
    }

    frmAbout untitled({"", 12, 2004, 429, "(c) someone"});
    untitled.Form_Load();
    EXPECT_EQ(untitled.windowTitle(), "About ");
    EXPECT_EQ(untitled.lblTitle->text(), "");
    EXPECT_EQ(untitled.lblVersion->text(), "Version 12.2004.429");
    EXPECT_TRUE(untitled.lblDescription->text().startsWith("Corvanel:  (c) someone\n"));
}

TEST_F(About, LayoutAndPlacement)
{
    dialog.Form_Load();
    EXPECT_EQ(dialog.size(), QSize(423, 237)); // 6345 x 3555 twips
    EXPECT_EQ(dialog.geometry().topLeft(), QPoint(156, 129)); // 2340, 1935 twips
    struct Place
    {
        QWidget *widget;
        QRect twips;
    };
    const Place places[] = {
            {dialog.picIcon, {240, 240, 540, 540}},       {dialog.cmdOK, {5040, 2625, 1260, 345}},
            {dialog.cmdSysInfo, {5040, 3120, 1245, 345}}, {dialog.lblTitle, {1050, 240, 3885, 480}},
            {dialog.lblVersion, {1050, 780, 3885, 225}},
    };
    for (const auto &p : places) {
        const QRect &t = p.twips;
        EXPECT_EQ(p.widget->geometry(),
                  QRect(qRound(t.x() / 15.0), qRound(t.y() / 15.0), qRound(t.width() / 15.0),
                        qRound(t.height() / 15.0)))
                << p.widget->objectName().toStdString();
    }
    EXPECT_EQ(dialog.lblDescription->pos(), QPoint(70, 75));
    EXPECT_EQ(dialog.lblDisclaimer->pos(), QPoint(16, 120));
    // The groove: gray over white, the white one twice as wide.
    EXPECT_EQ(dialog.Line1[0]->geometry(), QRect(8, 112, 408, 2));
    EXPECT_EQ(dialog.Line1[1]->geometry(), QRect(8, 112, 408, 1));
    const QImage image = dialog.grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    EXPECT_EQ(QColor(image.pixel(image.width() / 2, qRound(112 * ratio))), QColor(128, 128, 128));
    EXPECT_EQ(QColor(image.pixel(image.width() / 2, qRound(113 * ratio))), QColor(255, 255, 255));
    EXPECT_TRUE(dialog.cmdOK->isDefault());
    // The icon: 32 x 32, every pixel opaque, also the window's icon.
    const QImage icon = dialog.picIcon->pixmap().toImage();
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_FALSE(icon.hasAlphaChannel());
    EXPECT_FALSE(dialog.windowIcon().isNull());
    EXPECT_EQ(dialog.cmdSysInfo->text(), "&System Info...");
}

TEST_F(About, OkEnterAndEscCloseIt)
{
    UseSystem(true);
    EXPECT_TRUE(Open([&] { QTest::mouseClick(dialog.cmdOK, Qt::LeftButton); }));
    EXPECT_TRUE(Open([&] { QTest::keyClick(dialog.cmdOK, Qt::Key_Return); }));
    EXPECT_TRUE(Open([&] { QTest::keyClick(&dialog, Qt::Key_Escape); }));
    EXPECT_TRUE(Open([&] {
        dialog.cmdSysInfo->setFocus();
        QTest::keyClick(dialog.cmdSysInfo, Qt::Key_Escape);
    }));
    EXPECT_TRUE(started.empty());
}

TEST_F(About, SystemInfoLeavesTheDialogOpen)
{
    UseSystem(true);
    // Enter on System Info presses it instead of closing the dialog.
    EXPECT_FALSE(Open([&] {
        dialog.cmdSysInfo->setFocus();
        QTest::keyClick(dialog.cmdSysInfo, Qt::Key_Return);
    }));
    EXPECT_FALSE(Open([&] {
        QTest::keyClick(&dialog, Qt::Key_S, Qt::AltModifier);
        QTest::qWait(300); // the access key clicks after a short animation
    }));
    EXPECT_EQ(started, (std::vector<std::string> {"/opt/info/tool", "/opt/info/tool"}));
    EXPECT_TRUE(messages.empty());

    UseSystem(false);
    EXPECT_FALSE(Open([&] { QTest::mouseClick(dialog.cmdSysInfo, Qt::LeftButton); }));
    EXPECT_EQ(messages, std::vector<std::string> {"System Information non disponibile"});
}

TEST_F(About, EachOpeningLoadsAfresh)
{
    EXPECT_TRUE(Open([&] {
        EXPECT_EQ(QApplication::focusWidget(), dialog.cmdOK);
        dialog.lblTitle->setText("changed");
        dialog.move(0, 0);
        dialog.cmdSysInfo->setFocus();
        dialog.cmdOK->click();
    }));
    EXPECT_TRUE(Open([&] {
        EXPECT_EQ(dialog.lblTitle->text(), "Corvanel");
        EXPECT_EQ(dialog.geometry().topLeft(), QPoint(156, 129));
        EXPECT_EQ(QApplication::focusWidget(), dialog.cmdOK);
        dialog.cmdOK->click();
    }));
}

TEST_F(About, GetKeyValueConvertsTheSystemText)
{
    UseSystem(true);
    QString value = "before";
    EXPECT_TRUE(dialog.GetKeyValue(sysinfo::HkeyLocalMachine, QString::fromLatin1(sysinfo::PathKey),
                                   "PATH", value));
    EXPECT_EQ(value, "/opt/info/tool");
    EXPECT_FALSE(dialog.GetKeyValue(sysinfo::HkeyLocalMachine, "SOFTWARE\\Other", "PATH", value));
    EXPECT_EQ(value, "");
}

} // namespace
} // namespace velbrin
