// The Win32 main window, driven in-process by messages as the system would send
// them, under wine in the cross build.
#include "entry_cases.h"
#include "gui_support_win32.h"
#include "main_window/frm_velbrin_win32.h"

#include <gtest/gtest.h>

namespace velbrin {
namespace {

using namespace main_window;
using win32::TextOf;

// What a person sees in a box: a hidden counter shows nothing.
std::u16string Shown(const frmVelbrin &window, ControlIndex index)
{
    const HWND control = window.control(index);
    return IsWindowVisible(control) ? TextOf(control) : std::u16string();
}

// Typed as the keyboard sends it: one WM_CHAR for each UTF-16 unit.
void Type(HWND box, std::u16string_view text)
{
    for (const char16_t unit : text)
        SendMessageW(box, WM_CHAR, unit, 1);
}

void Paste(HWND box, std::u16string_view text)
{
    const HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
    auto *units = static_cast<char16_t *>(GlobalLock(data));
    std::copy(text.begin(), text.end(), units);
    units[text.size()] = 0;
    GlobalUnlock(data);
    ASSERT_TRUE(OpenClipboard(box));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, data);
    CloseClipboard();
    SendMessageW(box, WM_PASTE, 0, 0);
}

class MainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.Form_Load();
        window.Show();
    }
    void TearDown() override { test::TakeQuit(); }

    frmVelbrin window;
};

TEST_F(MainWindow, IsBuiltFromItsDescription)
{
    const auto &description = Description();
    const HWND main = window.Handle();
    const int dpi = window.Dpi();
    const LONG style = GetWindowLongW(main, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    RECT client;
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, ui::TwipsToPixels(description.clientWidth, dpi));
    EXPECT_EQ(client.bottom, ui::TwipsToPixels(description.clientHeight, dpi));
    const auto tips = test::Tooltips(main);
    for (int i = 0; i < ControlCount; ++i) {
        const ui::Control &c = description.controls[std::size_t(i)];
        const HWND control = window.control(ControlIndex(i));
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GetDlgCtrlID(control), ui::FirstControlId + i);
        EXPECT_STREQ(static_cast<const char *>(GetPropW(control, L"VelbrinName")), c.name);
        const RECT place = test::PlaceIn(main, control);
        const RECT expected = test::Expected(c.place, dpi);
        EXPECT_TRUE(c.has(ui::AutoSize) ? place.left == expected.left && place.top == expected.top
                                        : place == expected);
        EXPECT_EQ(IsWindowVisible(control) == FALSE, c.has(ui::Hidden));
        EXPECT_TRUE(IsWindowEnabled(control));
        const auto tip = tips.find(control);
        EXPECT_EQ(tip == tips.end() ? u"" : tip->second, c.tooltip);
        const LONG controlStyle = GetWindowLongW(control, GWL_STYLE);
        if (c.kind == ui::Kind::TextBox) {
            EXPECT_EQ((controlStyle & ES_READONLY) != 0, c.has(ui::ReadOnly));
            EXPECT_EQ((controlStyle & (ES_MULTILINE | WS_VSCROLL)) != 0, c.has(ui::MultiLine));
            if (c.maxLength) {
                EXPECT_EQ(SendMessageW(control, EM_GETLIMITTEXT, 0, 0), c.maxLength);
            }
        }
        if (c.kind == ui::Kind::Label) {
            EXPECT_EQ((controlStyle & WS_BORDER) != 0, c.has(ui::Bordered));
        }
        if (c.kind == ui::Kind::Button) {
            EXPECT_EQ(TextOf(control), c.caption);
        }
    }
    EXPECT_EQ(test::TextColour(main, window.control(lblMsnLeft), WM_CTLCOLORSTATIC),
              RGB(255, 0, 0));
    EXPECT_EQ(test::TextColour(main, window.control(txtMsn), WM_CTLCOLOREDIT),
              GetSysColor(COLOR_MENUTEXT));
    EXPECT_EQ(test::TextColour(main, window.control(txtImei), WM_CTLCOLOREDIT),
              GetSysColor(COLOR_WINDOWTEXT));
}

TEST_F(MainWindow, StartsWithCaptionCountersAndEmptyBoxes)
{
    EXPECT_EQ(TextOf(window.Handle()),
              u"Corvanel Version 1.2004.429 Copyright (C) 2026 Velbrin developers");
    frmVelbrin plain({"Corvanel", 1, 0, 0, ""});
    plain.Form_Load();
    EXPECT_EQ(TextOf(plain.Handle()), u"Corvanel Version 1.0.0 ");
    EXPECT_EQ(Shown(window, lblMsnLeft), u"10 character(s) needed");
    EXPECT_EQ(Shown(window, lblImeiLeft), u"15 character(s) needed");
    for (int i = 0; i < ControlCount; ++i)
        if (Description().controls[std::size_t(i)].kind == ui::Kind::TextBox) {
            EXPECT_EQ(TextOf(window.control(ControlIndex(i))), u"") << i;
        }
    EXPECT_EQ(GetFocus(), window.control(txtMsn));
}

TEST_F(MainWindow, TypingAndPasting)
{
    for (const auto &c : test::EntryCases()) {
        SCOPED_TRACE(c.what);
        frmVelbrin fresh;
        fresh.Form_Load();
        fresh.Show();
        const HWND entry = fresh.control(c.entry);
        for (const auto &step : c.steps) {
            switch (step.action) {
            case test::Step::Type:
                Type(entry, step.text);
                break;
            case test::Step::Paste:
                Paste(entry, step.text);
                break;
            case test::Step::Backspace:
                SendMessageW(entry, WM_CHAR, VK_BACK, 1);
                break;
            case test::Step::Select:
                SendMessageW(entry, EM_SETSEL, step.from, step.from + step.count);
                break;
            }
        }
        EXPECT_EQ(TextOf(entry), c.shown);
        const auto side = c.entry == txtImei ? ImeiSide() : MsnSide();
        EXPECT_EQ(Shown(fresh, side.counter), c.counter);
        for (const auto &[box, text] : c.boxes)
            EXPECT_EQ(TextOf(fresh.control(box)), text)
                    << Description().controls[std::size_t(box)].name;
    }
}

TEST_F(MainWindow, DialogKeys)
{
    const HWND main = window.Handle();
    std::vector<std::string> order;
    HWND control = window.control(txtMsn);
    do {
        order.push_back(static_cast<const char *>(GetPropW(control, L"VelbrinName")));
        control = GetNextDlgTabItem(main, control, FALSE);
    } while (control != window.control(txtMsn) && order.size() < 30);
    EXPECT_EQ(order, (std::vector<std::string> {
                             "txtMsn", "txtImei", "cmdAbout", "cmdExit", "txtMobileCode",
                             "txtOriginCode", "txtYearCode", "txtMonthCode", "txtSnr",
                             "txtTypeApprovalCode", "txtFinalAssemblyCode", "txtImeiSnr", "txtSp",
                             "txtMsnGlobal", "txtImeiGlobal"}));
    test::Key(main, WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(GetFocus(), window.control(txtImei));
    // Enter in an entry box ends nothing: it is how scanners finish an identifier.
    Type(window.control(txtImei), u"445051079876543");
    test::Key(main, WM_KEYDOWN, VK_RETURN);
    test::Key(main, WM_SYSCHAR, 'h'); // the hidden Help button's key
    EXPECT_FALSE(window.hasEnded());
    EXPECT_EQ(window.aboutDialog(), nullptr);

    const std::function<void(frmVelbrin &)> ways[] = {
            [](frmVelbrin &w) { test::Key(w.Handle(), WM_KEYDOWN, VK_ESCAPE); },
            [](frmVelbrin &w) { test::Key(w.Handle(), WM_SYSCHAR, 'c'); },
            [](frmVelbrin &w) { SendMessageW(w.control(cmdExit), BM_CLICK, 0, 0); },
            [](frmVelbrin &w) { SendMessageW(w.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (const auto &way : ways) {
        frmVelbrin other;
        other.Form_Load();
        other.Show();
        way(other);
        EXPECT_TRUE(other.hasEnded());
        EXPECT_FALSE(other.IsCreated());
        EXPECT_EQ(test::TakeQuit(), 0);
    }
}

TEST_F(MainWindow, CaptionsAndFieldsFitTheirBoxesAtEveryDpi)
{
    for (const int dpi : {96, 144, 192}) {
        SCOPED_TRACE(dpi);
        RECT suggested {10, 10, 20, 20};
        SendMessageW(window.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
        EXPECT_EQ(test::PlaceIn(window.Handle(), window.control(txtImei)),
                  test::Expected(Description().controls[txtImei].place, dpi));
        for (int i = 0; i < ControlCount; ++i) {
            const ui::Control &c = Description().controls[std::size_t(i)];
            const HWND control = window.control(ControlIndex(i));
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

TEST(Failures, AreReportedAndEndTheProgram)
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
        report = TextOf(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    SendMessageW(failing.Handle(), WM_COMMAND, ui::FirstControlId + cmdExit, 0);
    EXPECT_NE(report.find(u"the disk is on fire"), std::u16string::npos);
    EXPECT_EQ(test::TakeQuit(), win32::FailureExitCode);
}

} // namespace
} // namespace velbrin
