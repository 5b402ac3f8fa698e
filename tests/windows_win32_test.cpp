// The Win32 windows, driven in-process by messages as the system would send them
// (under wine in the cross build), and what only the Win32 front end has.
#include "about/frm_about_win32.h"
#include "app/failure.h"
#include "app/guarded_application_win32.h"
#include "fake_platform.h"
#include "main_window/frm_velbrin_win32.h"
#include "window_driver.h"

#include "velbrin/build_info.h"

#include <commctrl.h>

namespace velbrin::test {

// Runs `action` once from inside whatever message loop runs next (a modal
// dialog's, a message box's).
void FromTheNextLoop(std::function<void()> action)
{
    static std::function<void()> pending;
    pending = std::move(action);
    SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        std::exchange(pending, nullptr)();
    });
}

// The exit status the program was told to end with, or -1.
int TakeQuit()
{
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) ? int(message.wParam) : -1;
}

// A top-level window of this thread of the given class and owner, or null.
HWND ThreadWindow(const wchar_t *className, HWND owner)
{
    std::tuple<const wchar_t *, HWND, HWND> search {className, owner, nullptr};
    EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM data) {
                auto &[name, owner, found] = *reinterpret_cast<decltype(search) *>(data);
                wchar_t seen[64] = {};
                GetClassNameW(window, seen, 64);
                if (!wcscmp(seen, name) && GetWindow(window, GW_OWNER) == owner)
                    found = window;
                return BOOL(!found);
            },
            LPARAM(&search));
    return std::get<2>(search);
}

std::uint32_t Rgb(COLORREF colour)
{
    return GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

class Win32Driver : public Driver
{
public:
    explicit Win32Driver(const win32::Window &window)
        : m_window(window)
    { }

    int Dpi() const override { return m_window.Dpi(); }
    Pixels Client() const override
    {
        RECT client;
        GetClientRect(handle(), &client);
        POINT corner {0, 0};
        ClientToScreen(handle(), &corner);
        return {corner.x, corner.y, client.right, client.bottom};
    }
    std::u16string Title() const override { return win32::TextOf(handle()); }
    bool FixedFrame() const override
    {
        return !(GetWindowLongW(handle(), GWL_STYLE) &
                 (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    }
    bool TakesInput() const override { return IsWindowEnabled(handle()); }
    Seen See(int i) const override
    {
        RECT r;
        GetWindowRect(at(i), &r);
        MapWindowPoints(nullptr, handle(), reinterpret_cast<POINT *>(&r), 2);
        const LONG style = GetWindowLongW(at(i), GWL_STYLE);
        return {static_cast<const char *>(GetPropW(at(i), L"VelbrinName")),
                {r.left, r.top, r.right - r.left, r.bottom - r.top},
                style & WS_VISIBLE ? win32::TextOf(at(i)) : u"",
                Tooltip(at(i)),
                bool(style & WS_VISIBLE),
                bool(style & ES_READONLY),
                bool(style & ES_MULTILINE),
                bool(style & WS_BORDER),
                int(SendMessageW(at(i), EM_GETLIMITTEXT, 0, 0))};
    }
    std::uint32_t TextColour(int i) const override
    {
        wchar_t kind[16] = {};
        GetClassNameW(at(i), kind, 16);
        const HDC dc = CreateCompatibleDC(nullptr);
        SendMessageW(handle(), wcscmp(kind, L"Edit") ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                     WPARAM(dc), LPARAM(at(i)));
        const COLORREF colour = GetTextColor(dc);
        DeleteDC(dc);
        return Rgb(colour);
    }
    std::uint32_t Pixel(int x, int y) const override
    {
        const HDC dc = GetDC(handle());
        const COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(handle(), dc);
        return Rgb(colour);
    }
    int TextWidth(int i, std::u16string_view line) const override { return Extent(i, line).cx; }
    int LineHeight(int i) const override { return Extent(i, u"X").cy; }
    int Room(int i) const override
    {
        RECT client;
        GetClientRect(at(i), &client);
        const LRESULT margins = SendMessageW(at(i), EM_GETMARGINS, 0, 0); // none on buttons
        return client.right - (margins ? LOWORD(margins) + HIWORD(margins) : 4);
    }
    int Focus() const override { return IndexOf(GetFocus()); }
    std::vector<int> TabOrder() const override
    {
        std::vector<int> order;
        HWND control = GetFocus();
        do {
            order.push_back(IndexOf(control));
            control = GetNextDlgTabItem(handle(), control, FALSE);
        } while (control != GetFocus() && order.size() < 40);
        return order;
    }

    void Type(int i, std::u16string_view text) override
    {
        SetFocus(at(i));
        for (const char16_t unit : text)
            SendMessageW(at(i), WM_CHAR, unit, 1);
    }
    void Paste(int i, std::u16string_view text) override
    {
        SetFocus(at(i));
        const HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
        *std::copy(text.begin(), text.end(), static_cast<char16_t *>(GlobalLock(data))) = 0;
        GlobalUnlock(data);
        if (OpenClipboard(at(i))) {
            EmptyClipboard();
            SetClipboardData(CF_UNICODETEXT, data);
            CloseClipboard();
        }
        SendMessageW(at(i), WM_PASTE, 0, 0);
    }
    void Select(int i, int from, int count) override
    {
        SetFocus(at(i));
        SendMessageW(at(i), EM_SETSEL, WPARAM(from), LPARAM(from + count));
    }
    void Press(Key key) override
    {
        if (key == Key::Backspace) {
            SendMessageW(GetFocus(), WM_CHAR, VK_BACK, 1);
            return;
        }
        BYTE keys[256] = {}; // Shift, as IsDialogMessage reads it
        GetKeyboardState(keys);
        keys[VK_SHIFT] = key == Key::BackTab ? 0x80 : 0;
        SetKeyboardState(keys);
        const WPARAM vk[] = {VK_TAB, VK_TAB, VK_RETURN, VK_ESCAPE};
        DialogKey(WM_KEYDOWN, vk[int(key)]);
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
    void Alt(char letter) override { DialogKey(WM_SYSCHAR, WPARAM(letter)); }
    void Click(int i) override { SendMessageW(at(i), BM_CLICK, 0, 0); }
    void CloseBox() override { SendMessageW(handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }
    int Run(const std::function<void()> &action) override
    {
        action();
        return TakeQuit();
    }
    AboutRun InAbout(const std::function<void()> &, const std::string &,
                     const std::function<void(Driver &)> &) override
    {
        ADD_FAILURE() << "only the main window opens About";
        return {};
    }
    MessageBoxSeen InMessageBox(const std::function<void()> &action) override
    {
        MessageBoxSeen seen {};
        FromTheNextLoop([&] {
            const HWND box = ThreadWindow(L"#32770", handle());
            seen = {win32::TextOf(box), win32::TextOf(GetDlgItem(box, 0xFFFF)),
                    GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL),
                    SendDlgItemMessageW(box, 0x0440, STM_GETICON, 0, 0) != 0};
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
        action();
        return seen;
    }

private:
    HWND handle() const { return m_window.Handle(); }
    HWND at(int i) const { return m_window.Control(i); }
    int IndexOf(HWND control) const
    {
        const int id = GetDlgCtrlID(control) - ui::FirstControlId;
        return control && GetParent(control) == handle() && id >= 0 ? id : -1;
    }
    SIZE Extent(int i, std::u16string_view line) const
    {
        const HDC dc = GetDC(at(i));
        const HGDIOBJ previous = SelectObject(dc, HGDIOBJ(SendMessageW(at(i), WM_GETFONT, 0, 0)));
        SIZE size {};
        GetTextExtentPoint32W(dc, win32::Wide(line).c_str(), int(line.size()), &size);
        SelectObject(dc, previous);
        ReleaseDC(at(i), dc);
        return size;
    }
    // A key as the message loop hands it to IsDialogMessage.
    void DialogKey(UINT message, WPARAM key) const
    {
        MSG msg {GetFocus() ? GetFocus() : handle(),          message, key,
                 message == WM_SYSCHAR ? LPARAM(1) << 29 : 0, 0,       {}};
        IsDialogMessageW(handle(), &msg);
    }
    // Read back from the window's tooltip control, which is filled once the
    // window is shown and its messages run.
    std::u16string Tooltip(HWND control) const
    {
        MSG message;
        while (PeekMessageW(&message, handle(), 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        const HWND tooltips = ThreadWindow(TOOLTIPS_CLASSW, handle());
        wchar_t text[256] = {};
        TTTOOLINFOW tool {};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = handle();
        tool.uId = UINT_PTR(control);
        tool.lpszText = text;
        SendMessageW(tooltips, TTM_GETTEXTW, 256, LPARAM(&tool));
        return reinterpret_cast<const char16_t *>(text);
    }

    const win32::Window &m_window;
};

struct Win32Main : frmVelbrin, Win32Driver
{
    explicit Win32Main(const AppInfo &info = AppInfo::current())
        : frmVelbrin(info)
        , Win32Driver(static_cast<frmVelbrin &>(*this))
    {
        Form_Load();
        Show();
    }
    ~Win32Main() override { TakeQuit(); }

    AboutRun InAbout(const std::function<void()> &open, const std::string &sysInfoPath,
                     const std::function<void(Driver &)> &inside) override
    {
        AboutRun run {};
        FromTheNextLoop([&] {
            frmAbout &about = *aboutDialog();
            auto *fake = new sysinfo::FakePlatform(sysInfoPath);
            about.setSysInfoPlatform(std::unique_ptr<sysinfo::Platform>(fake));
            Win32Driver driver(about);
            inside(driver);
            run = {!about.IsCreated(), fake->started};
            if (!run.closedItself)
                SendMessageW(about.Handle(), WM_CLOSE, 0, 0);
        });
        open();
        return run;
    }
};

std::unique_ptr<Driver> OpenMain(const AppInfo &info)
{
    return std::make_unique<Win32Main>(info);
}

namespace {

using namespace main_window;

// The client area of `window` as it stands on the screen, once every pending
// paint has run.
std::vector<std::uint32_t> OnScreen(HWND window)
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
    RECT client;
    GetClientRect(window, &client);
    POINT corner {0, 0};
    ClientToScreen(window, &corner);
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    BITMAPINFOHEADER format {
            sizeof format, client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO *>(&format),
                                            DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, screen, corner.x, corner.y, SRCCOPY);
    GdiFlush();
    const auto *first = static_cast<const std::uint32_t *>(bits);
    std::vector<std::uint32_t> pixels(first, first + client.right * client.bottom);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Moved to screens of other DPIs, each window lays itself out anew and shows
// what a full repaint shows: no old letters left behind.
void CheckDpiSteps(Win32Driver &window, HWND handle, const ui::Window &description)
{
    for (const int dpi : {144, 192, 96}) {
        SCOPED_TRACE(dpi);
        RECT suggested {10, 10, 20, 20};
        SendMessageW(handle, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
        const ui::Twips place = description.controls[0].place;
        EXPECT_EQ(window.See(0).place.left, ui::TwipsToPixels(place.left, dpi));
        CheckFits(window, description);
        const auto shown = OnScreen(handle);
        RedrawWindow(handle, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_TRUE(shown == OnScreen(handle)) << "stale drawing left on screen";
    }
}

TEST(Win32Windows, LayOutAndRedrawAnewAtEveryDpiTheyAreMovedTo)
{
    SetCursorPos(1023, 767); // away from the windows: no tooltip, no pointer in the picture
    Win32Main main;
    main.Type(txtMsn, u"A3ZTZB1234");
    SetFocus(main.Control(cmdAbout)); // no blinking caret
    CheckDpiSteps(main, main.Handle(), Description());
    main.InAbout([&] { main.Click(cmdAbout); }, "",
                 [&](Driver &about) {
                     CheckDpiSteps(static_cast<Win32Driver &>(about), main.aboutDialog()->Handle(),
                                   about::Description());
                 });
}

// About is owned by the window it blocks: it stays above it when that window is
// brought forward, and Enter presses its focused button.
TEST(Win32About, StaysAboveTheMainWindowAndTellsTheSystemWhichButtonEnterPresses)
{
    Win32Main main; // IsDialogMessage under wine presses a focused button by itself
    main.InAbout([&] { main.Click(cmdAbout); }, "",
                 [&](Driver &about) {
                     const HWND dialog = main.aboutDialog()->Handle();
                     about.Press(Key::Tab);
                     EXPECT_EQ(LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)),
                               ui::FirstControlId + about::cmdSysInfo);
                     EXPECT_EQ(GetWindow(dialog, GW_OWNER), main.Handle());
                     SetWindowPos(main.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
                     HWND below = dialog;
                     while (below && below != main.Handle())
                         below = GetWindow(below, GW_HWNDNEXT);
                     EXPECT_EQ(below, main.Handle()) << "About is behind the main window";
                 });
}

// Tab into a summary box leaves its text unselected and its first line in view;
// a one-line box is selected whole, as in any dialog.
TEST(Win32MainWindow, TabIntoASummaryShowsItsFirstLine)
{
    Win32Main main;
    main.Type(txtMsn, u"A3ZTZB1234");
    for (const auto &[from, to, selection] :
         {std::tuple(txtSp, txtMsnGlobal, 0), std::tuple(txtMsnGlobal, txtImeiGlobal, 0),
          std::tuple(txtMonthCode, txtSnr, 4)}) {
        main.Select(from, 0, 0);
        main.Press(Key::Tab);
        ASSERT_EQ(main.Focus(), to);
        DWORD start = 0, end = 0;
        SendMessageW(main.Control(to), EM_GETSEL, WPARAM(&start), LPARAM(&end));
        EXPECT_EQ(std::pair(start, end), std::pair(DWORD(0), DWORD(selection))) << to;
        EXPECT_EQ(SendMessageW(main.Control(to), EM_GETFIRSTVISIBLELINE, 0, 0), 0) << to;
    }
}

// A window object that goes out of scope with its window up: the messages its
// teardown brings (the focused box's EN_KILLFOCUS among them) reach no handler
// of the half-destroyed object, and nothing is reported.
TEST(Win32Window, IsTornDownWithItsWindowUp)
{
    win32::GuardedApplication application;
    int commands = 0;
    HWND handle = nullptr;
    static std::vector<DWORD> faults;
    const PVOID watch = AddVectoredExceptionHandler(1, [](EXCEPTION_POINTERS *e) -> LONG {
        faults.push_back(e->ExceptionRecord->ExceptionCode);
        return EXCEPTION_CONTINUE_SEARCH;
    });
    {
        struct Counting : win32::Window
        {
            explicit Counting(int &commands)
                : Window(Description())
                , count(commands)
            {
                Create();
            }
            void OnCommand(int, int) override { ++count; }
            void OnClose() override { }
            int &count;
        } window(commands);
        handle = window.Handle();
        ShowWindow(handle, SW_SHOW);
        SetFocus(window.Control(txtMsn));
        ASSERT_EQ(GetFocus(), window.Control(txtMsn));
        commands = 0;
    }
    RemoveVectoredExceptionHandler(watch);
    EXPECT_EQ(commands, 0);
    EXPECT_EQ(faults, std::vector<DWORD> {});
    EXPECT_FALSE(IsWindow(handle)) << "the window outlived its object";
    EXPECT_EQ(TakeQuit(), -1);
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
    win32::GuardedApplication application;
    std::u16string report;
    FromTheNextLoop([&] {
        const HWND box = ThreadWindow(L"#32770", nullptr);
        report = win32::TextOf(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    SendMessageW(failing.Handle(), WM_COMMAND, ui::FirstControlId + cmdExit, 0);
    EXPECT_NE(report.find(u"the disk is on fire"), std::u16string::npos);
    EXPECT_EQ(TakeQuit(), FailureExitCode);
}

// The version resource, generated from the CMake project, read back with the
// version API and held against the values AppInfo shows.
TEST(Win32Program, VersionResourceMatchesAppInfo)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::vector<char> data(GetFileVersionInfoSizeA(self, nullptr));
    ASSERT_TRUE(GetFileVersionInfoA(self, 0, DWORD(data.size()), data.data()));
    const auto query = [&](const std::string &path) {
        void *value = nullptr;
        UINT size = 0;
        return VerQueryValueA(data.data(), path.c_str(), &value, &size) ? value : nullptr;
    };
    const auto *fixed = static_cast<const VS_FIXEDFILEINFO *>(query("\\"));
    ASSERT_NE(fixed, nullptr);
    const AppInfo &info = AppInfo::current();
    EXPECT_EQ(fixed->dwFileVersionMS, DWORD(info.Major << 16 | info.Minor));
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), info.Revision);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    const std::pair<const char *, std::string> texts[] = {
            {"LegalCopyright", std::string(info.LegalCopyright)},
            {"ProductName", std::string(info.Title)},
            {"FileVersion", VELBRIN_VERSION_TEXT},
            {"ProductVersion", VersionText(info)}};
    for (const auto &[name, text] : texts) {
        const auto *value = static_cast<const char *>(
                query("\\StringFileInfo\\040904B0\\" + std::string(name)));
        EXPECT_EQ(value ? value : "<missing>", text) << name;
    }
}

} // namespace
} // namespace velbrin::test
