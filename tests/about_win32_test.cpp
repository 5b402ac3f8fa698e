// The Win32 About dialog: its texts, its place, its modality over the main window
// and the launcher's message box, driven by messages under wine.
#include "about/frm_about_win32.h"
#include "about_texts.h"
#include "gui_support_win32.h"
#include "main_window/frm_velbrin_win32.h"

#include <gtest/gtest.h>

namespace velbrin {
namespace {

using namespace about;
using win32::TextOf;

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
        const std::string path = "C:\\Tools\\info.exe";
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
    void SetUp() override
    {
        main.Form_Load();
        main.Show();
    }
    void TearDown() override { test::TakeQuit(); }

    // Opens the About dialog from the main window's button, runs `inside` in its
    // modal loop, and returns whether the dialog closed by itself afterwards.
    bool Open(const std::function<void(frmAbout &)> &inside, bool installed = true)
    {
        bool closed = false;
        test::FromTheNextLoop([&] {
            frmAbout &about = *main.aboutDialog();
            about.setSysInfoPlatform(std::make_unique<RecordingPlatform>(started, installed));
            EXPECT_FALSE(IsWindowEnabled(main.Handle())); // modal: the main window waits
            inside(about);
            closed = !about.IsCreated();
            if (!closed)
                SendMessageW(about.Handle(), WM_CLOSE, 0, 0);
        });
        SendMessageW(main.control(main_window::cmdAbout), BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindowEnabled(main.Handle()));
        return closed;
    }

    frmVelbrin main;
    std::vector<std::string> started;
};

TEST_F(About, ShowsItsTextsAtItsPlace)
{
    EXPECT_TRUE(Open([](frmAbout &about) {
        EXPECT_EQ(TextOf(about.Handle()), u"About Corvanel");
        EXPECT_EQ(TextOf(about.control(lblTitle)), u"Corvanel");
        EXPECT_EQ(TextOf(about.control(lblVersion)), u"Version 1.2004.429");
        EXPECT_EQ(TextOf(about.control(lblDescription)),
                  u"Corvanel:  Copyright (C) 2026 Velbrin developers\r\n"
                  u"Velbrin is part of Quarn project!");
        std::u16string disclaimer;
        for (const char *line : test::Disclaimer)
            disclaimer += (disclaimer.empty() && line == test::Disclaimer[0] ? u"" : u"\r\n") +
                    std::u16string(line, line + std::char_traits<char>::length(line));
        EXPECT_EQ(TextOf(about.control(lblDisclaimer)), disclaimer);

        const int dpi = about.Dpi();
        POINT corner {0, 0};
        ClientToScreen(about.Handle(), &corner);
        EXPECT_EQ(corner.x, ui::TwipsToPixels(Description().screenLeft, dpi));
        EXPECT_EQ(corner.y, ui::TwipsToPixels(Description().screenTop, dpi));
        const LONG style = GetWindowLongW(about.Handle(), GWL_STYLE);
        EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
        for (auto button : {cmdOK, cmdSysInfo}) {
            const HWND control = about.control(button);
            std::wstring caption = win32::Wide(TextOf(control));
            if (const auto amp = caption.find(L'&'); amp != std::wstring::npos)
                caption.erase(amp, 1);
            EXPECT_LE(test::TextWidth(control, caption) + 4, test::ClientWidth(control));
            EXPECT_EQ(test::PlaceIn(about.Handle(), control),
                      test::Expected(Description().controls[button].place, dpi));
        }
        // The disclaimer's lines stay clear of the buttons.
        const HWND label = about.control(lblDisclaimer);
        const RECT text = test::PlaceIn(about.Handle(), label);
        const int lineHeight = test::TextSize(label, L"X").cy;
        for (int line = 0; line < 8; ++line) {
            const int width = test::TextWidth(label, win32::FromUtf8(test::Disclaimer[line]));
            const RECT drawn {text.left, text.top + line * lineHeight, text.left + width,
                              text.top + (line + 1) * lineHeight};
            for (auto button : {cmdOK, cmdSysInfo}) {
                RECT overlap;
                const RECT place = test::PlaceIn(about.Handle(), about.control(button));
                EXPECT_FALSE(width && IntersectRect(&overlap, &drawn, &place)) << line;
            }
        }
        EXPECT_EQ(GetFocus(), about.control(cmdOK));
        // The groove: gray over white, the white one twice as wide.
        const HDC dc = GetDC(about.Handle());
        const int y = ui::TwipsToPixels(1676, dpi);
        EXPECT_EQ(GetPixel(dc, 200, y), RGB(128, 128, 128));
        EXPECT_EQ(GetPixel(dc, 200, y + 1), RGB(255, 255, 255));
        ReleaseDC(about.Handle(), dc);
        test::Key(about.Handle(), WM_KEYDOWN, VK_ESCAPE);
    }));
}

TEST_F(About, OkEnterAndEscCloseItSystemInfoDoesNot)
{
    EXPECT_TRUE(Open([](frmAbout &about) {
        SendMessageW(about.control(cmdOK), BM_CLICK, 0, 0);
    }));
    EXPECT_TRUE(Open([](frmAbout &about) { test::Key(about.Handle(), WM_KEYDOWN, VK_RETURN); }));
    EXPECT_TRUE(Open([](frmAbout &about) {
        SetFocus(about.control(cmdSysInfo));
        test::Key(about.Handle(), WM_KEYDOWN, VK_ESCAPE);
    }));
    EXPECT_TRUE(started.empty());
    // Enter on System Info, and Alt+S, press it and leave the dialog open.
    EXPECT_FALSE(Open([](frmAbout &about) {
        test::Key(about.Handle(), WM_KEYDOWN, VK_TAB);
        EXPECT_EQ(GetFocus(), about.control(cmdSysInfo));
        test::Key(about.Handle(), WM_KEYDOWN, VK_RETURN);
        test::Key(about.Handle(), WM_SYSCHAR, 's');
    }));
    EXPECT_EQ(started, (std::vector<std::string> {"C:\\Tools\\info.exe", "C:\\Tools\\info.exe"}));
}

TEST_F(About, NothingToStartShowsTheSystemMessageBox)
{
    std::u16string caption, text;
    bool cancel = true, icon = true;
    EXPECT_FALSE(Open(
            [&](frmAbout &about) {
                test::FromTheNextLoop([&] {
                    const HWND box = test::ThreadWindow(L"#32770", about.Handle());
                    caption = TextOf(box);
                    text = TextOf(GetDlgItem(box, 0xFFFF));
                    cancel = GetDlgItem(box, IDCANCEL) != nullptr;
                    const HWND picture = GetDlgItem(box, 0x0440);
                    icon = picture && SendMessageW(picture, STM_GETICON, 0, 0) != 0;
                    PostMessageW(box, WM_COMMAND, IDOK, 0);
                });
                SendMessageW(about.control(cmdSysInfo), BM_CLICK, 0, 0);
            },
            false));
    EXPECT_EQ(caption, u"Corvanel");
    EXPECT_EQ(text, u"System Information non disponibile");
    EXPECT_FALSE(cancel);
    EXPECT_FALSE(icon);
}

} // namespace
} // namespace velbrin
