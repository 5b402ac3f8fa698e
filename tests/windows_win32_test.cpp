// The Win32 windows, driven in-process by messages as the system would send
// them, under wine in the cross build.
#include "about/frm_about_win32.h"
#include "about_texts.h"
#include "entry_cases.h"
#include "fake_platform.h"
#include "gui_support_win32.h"
#include "main_window/frm_velbrin_win32.h"

#include "velbrin/build_info.h"

#include <gtest/gtest.h>

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
        window.Show();
    }
    ~Main() { test::TakeQuit(); }
    frmVelbrin window;
    test::Win32Driver driver {window};
};

TEST(Win32MainWindow, IsBuiltFromItsDescriptionAndStartsEmpty)
{
    Main main;
    test::CheckBuiltFrom(main.driver, Description());
    test::CheckMainWindowStart(main.driver);
    frmVelbrin plain({"Corvanel", 1, 0, 0, ""});
    plain.Form_Load();
    EXPECT_EQ(win32::TextOf(plain.Handle()), u"Corvanel Version 1.0.0 ");
    const HWND window = main.window.Handle();
    EXPECT_EQ(test::TextColour(window, main.window.control(lblMsnLeft), WM_CTLCOLORSTATIC),
              RGB(255, 0, 0));
    EXPECT_EQ(test::TextColour(window, main.window.control(txtMsn), WM_CTLCOLOREDIT),
              GetSysColor(COLOR_MENUTEXT));
    EXPECT_EQ(test::TextColour(window, main.window.control(txtImei), WM_CTLCOLOREDIT),
              GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
              0);
}

TEST(Win32MainWindow, TypingAndPasting)
{
    test::CheckEntryCases([] { return std::make_unique<Main>(); });
}

TEST(Win32MainWindow, EveryWayOfClosingEndsTheProgramButEnter)
{
    const std::function<void(Main &)> ways[] = {
            [](Main &m) { m.driver.Press(Key::Escape); },
            [](Main &m) { m.driver.Alt('c'); },
            [](Main &m) { SendMessageW(m.window.control(cmdExit), BM_CLICK, 0, 0); },
            [](Main &m) { SendMessageW(m.window.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (const auto &way : ways) {
        Main main;
        way(main);
        EXPECT_TRUE(main.window.hasEnded());
        EXPECT_FALSE(main.window.IsCreated());
        EXPECT_EQ(test::TakeQuit(), 0);
    }
    // Enter in an entry box ends nothing: it is how scanners finish an identifier.
    Main main;
    main.driver.Type(txtImei, u"445051079876543");
    main.driver.Press(Key::Enter);
    main.driver.Alt('h'); // the hidden Help button's key
    EXPECT_FALSE(main.window.hasEnded());
    EXPECT_EQ(main.window.aboutDialog(), nullptr);
}

// Every caption and field fits its box in the system's font, at every DPI the
// window is moved to.
TEST(Win32MainWindow, CaptionsAndFieldsFitTheirBoxesAtEveryDpi)
{
    Main main;
    for (const int dpi : {96, 144, 192}) {
        SCOPED_TRACE(dpi);
        RECT suggested {10, 10, 20, 20};
        SendMessageW(main.window.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
        EXPECT_EQ(main.driver.Place(txtImei),
                  test::Scaled(Description().controls[txtImei].place, dpi));
        for (int i = 0; i < ControlCount; ++i) {
            const ui::Control &c = Description().controls[std::size_t(i)];
            const HWND control = main.window.control(ControlIndex(i));
            std::wstring widest;
            if (c.kind == ui::Kind::Button)
                widest = win32::Wide(c.caption).erase(win32::Wide(c.caption).find(L'&'), 1);
            else if (c.has(ui::ReadOnly) && !c.has(ui::MultiLine))
                widest = c.maxLength == 1 ? L"W" : std::wstring(std::size_t(c.maxLength), L'0');
            if (widest.empty())
                continue;
            const DWORD margins = DWORD(SendMessageW(control, EM_GETMARGINS, 0, 0));
            const int room = test::ClientWidth(control) -
                    (c.kind == ui::Kind::Button ? 4 : LOWORD(margins) + HIWORD(margins));
            EXPECT_LE(test::TextWidth(control, widest), room) << c.name;
        }
    }
}

TEST(Win32Failures, AreReportedAndEndTheProgram)
{
    struct Failing : win32::Window
    {
        Failing()
            : Window(Description())
        {
            Create();
        }
        void OnCommand(int, int) override { throw std::runtime_error("the disk is on fire"); }
        void OnClose() override { }
    } failing;
    std::u16string report;
    test::FromTheNextLoop([&] {
        const HWND box = test::ThreadWindow(L"#32770");
        report = win32::TextOf(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    SendMessageW(failing.Handle(), WM_COMMAND, ui::FirstControlId + cmdExit, 0);
    EXPECT_NE(report.find(u"the disk is on fire"), std::u16string::npos);
    EXPECT_EQ(test::TakeQuit(), win32::FailureExitCode);
}

// The About dialog, opened from the main window's button.
struct About : Main
{
    // Runs `inside` in the dialog's modal loop; true when the dialog closed by itself.
    bool Open(const std::function<void(frmAbout &, test::Driver &)> &inside)
    {
        bool closed = false;
        test::FromTheNextLoop([&] {
            frmAbout &about = *window.aboutDialog();
            about.setSysInfoPlatform(
                    std::unique_ptr<sysinfo::Platform>(fake = new sysinfo::FakePlatform));
            fake->registry[std::string(sysinfo::PathKey)]["PATH"] = {sysinfo::RegSz, path};
            EXPECT_FALSE(IsWindowEnabled(window.Handle())); // modal: the main window waits
            test::Win32Driver driver(about);
            inside(about, driver);
            closed = !about.IsCreated();
            if (!closed)
                SendMessageW(about.Handle(), WM_CLOSE, 0, 0);
        });
        SendMessageW(window.control(cmdAbout), BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindowEnabled(window.Handle()));
        return closed;
    }
    sysinfo::FakePlatform *fake = nullptr;
    std::string path = "\"C:\\Tools\\info.exe\"";
};

TEST(Win32About, IsBuiltFromItsDescriptionWithItsTexts)
{
    About main;
    EXPECT_TRUE(main.Open([](frmAbout &about, test::Driver &driver) {
        test::CheckBuiltFrom(driver, about::Description());
        test::CheckAboutOpened(driver, test::DisclaimerText());
        const HWND window = about.Handle();
        EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) &
                          (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
                  0);
        for (auto button : {about::cmdOK, about::cmdSysInfo}) {
            std::wstring caption = win32::Wide(driver.Text(button));
            caption.erase(std::remove(caption.begin(), caption.end(), L'&'), caption.end());
            EXPECT_LE(test::TextWidth(about.control(button), caption) + 4,
                      test::ClientWidth(about.control(button)));
        }
        // The disclaimer's lines stay clear of the buttons.
        const HWND label = about.control(about::lblDisclaimer);
        const test::Pixels text = driver.Place(about::lblDisclaimer);
        const int lineHeight = test::TextSize(label, L"X").cy;
        const std::wstring lines = win32::Wide(test::DisclaimerText());
        for (std::size_t at = 0, line = 0; at < lines.size(); ++line) {
            const std::size_t end = std::min(lines.find(L"\r\n", at), lines.size());
            const int width = test::TextWidth(label, lines.substr(at, end - at));
            const RECT drawn {text.left, text.top + int(line) * lineHeight, text.left + width,
                              text.top + int(line + 1) * lineHeight};
            for (auto button : {about::cmdOK, about::cmdSysInfo}) {
                const test::Pixels p = driver.Place(button);
                const RECT place {p.left, p.top, p.left + p.width, p.top + p.height};
                RECT overlap;
                EXPECT_FALSE(width && IntersectRect(&overlap, &drawn, &place)) << line;
            }
            at = end + 2;
        }
        // The groove: gray over white, the white one twice as wide.
        const HDC dc = GetDC(window);
        const int y = ui::TwipsToPixels(1676, about.Dpi());
        EXPECT_EQ(GetPixel(dc, 200, y), RGB(128, 128, 128));
        EXPECT_EQ(GetPixel(dc, 200, y + 1), RGB(255, 255, 255));
        ReleaseDC(window, dc);
        driver.Press(Key::Escape);
    }));
}

TEST(Win32About, OkEnterAndEscCloseItSystemInfoDoesNot)
{
    About main;
    EXPECT_TRUE(main.Open([](frmAbout &about, test::Driver &) {
        SendMessageW(about.control(about::cmdOK), BM_CLICK, 0, 0);
    }));
    EXPECT_TRUE(main.Open([](frmAbout &, test::Driver &driver) { driver.Press(Key::Enter); }));
    EXPECT_TRUE(main.Open([](frmAbout &about, test::Driver &driver) {
        SetFocus(about.control(about::cmdSysInfo));
        driver.Press(Key::Escape);
    }));
    std::vector<std::string> started;
    // Enter on System Info, and Alt+S, press it and leave the dialog open.
    EXPECT_FALSE(main.Open([&](frmAbout &about, test::Driver &driver) {
        driver.Press(Key::Tab);
        EXPECT_EQ(driver.Focus(), about::cmdSysInfo);
        // The dialog tells the system that Enter presses the button with the focus.
        EXPECT_EQ(LOWORD(SendMessageW(about.Handle(), DM_GETDEFID, 0, 0)),
                  ui::FirstControlId + about::cmdSysInfo);
        driver.Press(Key::Enter);
        driver.Alt('s');
        started = main.fake->started;
    }));
    EXPECT_EQ(started, (std::vector<std::string> {"C:\\Tools\\info.exe", "C:\\Tools\\info.exe"}));
}

TEST(Win32About, NothingToStartShowsTheSystemMessageBox)
{
    About main;
    main.path = "";
    std::u16string caption, text;
    bool cancel = true, icon = true;
    EXPECT_FALSE(main.Open([&](frmAbout &about, test::Driver &) {
        test::FromTheNextLoop([&] {
            const HWND box = test::ThreadWindow(L"#32770", about.Handle());
            caption = win32::TextOf(box);
            text = win32::TextOf(GetDlgItem(box, 0xFFFF));
            cancel = GetDlgItem(box, IDCANCEL) != nullptr;
            icon = SendDlgItemMessageW(box, 0x0440, STM_GETICON, 0, 0) != 0;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
        SendMessageW(about.control(about::cmdSysInfo), BM_CLICK, 0, 0);
    }));
    EXPECT_EQ(caption, u"Corvanel");
    EXPECT_EQ(text, test::Unavailable);
    EXPECT_FALSE(cancel);
    EXPECT_FALSE(icon);
}

// The version resource, generated from the CMake project, read back with the
// version API and held against the values AppInfo shows.
TEST(Win32Program, VersionResourceMatchesAppInfo)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const DWORD size = GetFileVersionInfoSizeA(self, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(self, 0, size, data.data()));

    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
    const AppInfo &info = AppInfo::current();
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), info.Major);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), info.Minor);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), info.Revision);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);

    const auto text = [&](const char *name) {
        char *value = nullptr;
        UINT chars = 0;
        const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
        if (!VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void **>(&value), &chars))
            return std::string("<missing>");
        return std::string(value);
    };
    EXPECT_EQ(text("LegalCopyright"), info.LegalCopyright);
    EXPECT_EQ(text("ProductName"), info.Title);
    EXPECT_EQ(text("FileVersion"), VersionText(info));
    EXPECT_EQ(text("ProductVersion"), VersionText(info));
    EXPECT_EQ(VersionText(info), VELBRIN_VERSION_TEXT);
}

} // namespace
} // namespace velbrin
