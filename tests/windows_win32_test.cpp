// The Win32 windows, driven in-process by messages as the system would send them
// (under wine in the cross build), and what only the Win32 front end has.
#include "about/frm_about_win32.h"
#include "app/failure.h"
#include "app/guarded_application_win32.h"
#include "fake_platform.h"
#include "main_window/frm_velbrin_win32.h"
#include "window_driver.h"

#include <commctrl.h>

#include <algorithm>

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

// A top-level window of this thread of the given class, or null.
HWND ThreadWindow(const wchar_t *className)
{
    std::pair<const wchar_t *, HWND> search {className, nullptr};
    EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM data) {
                auto &[name, found] = *reinterpret_cast<decltype(search) *>(data);
                wchar_t seen[64] = {};
                GetClassNameW(window, seen, 64);
                found = wcscmp(seen, name) ? nullptr : window;
                return BOOL(!found);
            },
            LPARAM(&search));
    return search.second;
}

void Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

std::uint32_t Rgb(COLORREF colour)
{
    return GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

class Win32Driver : public Driver
{
public:
    explicit Win32Driver(win32::Window &window)
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
        wchar_t kind[16] = {};
        GetClassNameW(at(i), kind, 16);
        return {static_cast<const char *>(GetPropW(at(i), L"VelbrinName")),
                {r.left, r.top, r.right - r.left, r.bottom - r.top},
                style & WS_VISIBLE ? m_window.Text(i) : u"",
                bool(style & WS_VISIBLE),
                !wcscmp(kind, L"Static") && (style & WS_BORDER)};
    }
    // The mouse rests on the control until its tooltip pops up, if it has one.
    std::u16string Tooltip(int i) override
    {
        Pump(); // the tooltips are set up once the window is shown
        const HWND tips = ThreadWindow(TOOLTIPS_CLASSW);
        SendMessageW(tips, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
        RECT r;
        GetWindowRect(at(i), &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(at(i), WM_MOUSEMOVE, 0,
                     MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2));
        for (int wait = 0; wait < 20 && !IsWindowVisible(tips); ++wait) {
            Sleep(10);
            Pump();
        }
        wchar_t text[256] = {};
        TTTOOLINFOW tool {};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.lpszText = text;
        if (IsWindowVisible(tips))
            SendMessageW(tips, TTM_GETCURRENTTOOLW, 0, LPARAM(&tool));
        SendMessageW(tips, TTM_POP, 0, 0);
        return reinterpret_cast<const char16_t *>(text);
    }
    int Caret(int i) const override { return m_window.Caret(i); }
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
    int Focus() const override
    {
        const int id = GetDlgCtrlID(GetFocus()) - ui::FirstControlId;
        return GetFocus() && GetParent(GetFocus()) == handle() && id >= 0 ? id : -1;
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
    void FailInAHandler(const char *what) override
    {
        struct Failing : win32::Window
        {
            const char *what;
            explicit Failing(const char *failure)
                : Window(main_window::Description())
                , what(failure)
            {
                Create();
            }
            void OnCommand(int, int) override { throw std::runtime_error(what); }
            void OnClose() override { }
        } failing(what);
        SendMessageW(failing.Handle(), WM_COMMAND, ui::FirstControlId, 0);
    }
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
            const HWND box = ThreadWindow(L"#32770");
            seen = {win32::TextOf(box), win32::TextOf(GetDlgItem(box, 0xFFFF)),
                    GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL),
                    SendDlgItemMessageW(box, 0x0440, STM_GETICON, 0, 0) != 0};
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
        action();
        return seen;
    }

protected:
    HWND handle() const { return m_window.Handle(); }
    HWND at(int i) const { return m_window.Control(i); }
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

    win32::Window &m_window;
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

const win32::GuardedApplication guard; // the program's own

namespace {

using namespace main_window;

// The client area of `window` as it stands on the screen, once every pending
// paint has run.
std::vector<std::uint32_t> OnScreen(HWND window)
{
    Pump();
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

// Moved to screens of other DPIs, each window lays itself out anew, in a font
// of the new size, and shows what a full repaint shows: no old letters left.
void CheckDpiSteps(Win32Driver &window, HWND handle, const ui::WindowDescription &description)
{
    const auto &controls = description.controls;
    const int label = int(std::ranges::find(controls, ui::Kind::Label, &ui::Control::kind) -
                          controls.begin());
    const int line = window.LineHeight(label);
    for (const int dpi : {144, 192, 96}) {
        SCOPED_TRACE(dpi);
        RECT suggested {10, 10, 20, 20};
        SendMessageW(handle, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
        CheckLayout(window, description);
        CheckFits(window, description);
        EXPECT_NEAR(window.LineHeight(label), line * dpi / 96, 2); // the font grows too
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
// of the half-destroyed object, so nothing faults, and the window goes with it.
TEST(Win32Window, IsTornDownWithItsWindowUp)
{
    static std::vector<DWORD> faults;
    const PVOID watch = AddVectoredExceptionHandler(1, [](EXCEPTION_POINTERS *e) -> LONG {
        faults.push_back(e->ExceptionRecord->ExceptionCode);
        return EXCEPTION_CONTINUE_SEARCH;
    });
    HWND handle = nullptr;
    {
        struct Quiet : win32::Window
        {
            Quiet()
                : Window(Description())
            {
                Create();
            }
            void OnCommand(int, int) override { }
            void OnClose() override { }
        } window;
        handle = window.Handle();
        ShowWindow(handle, SW_SHOW);
        SetFocus(window.Control(txtMsn));
    }
    RemoveVectoredExceptionHandler(watch);
    EXPECT_EQ(faults, std::vector<DWORD> {});
    EXPECT_FALSE(IsWindow(handle)) << "the window outlived its object";
}

} // namespace
} // namespace velbrin::test
