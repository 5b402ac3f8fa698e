// The Win32 windows, driven by the messages the system would post for a user's
// keys and clicks through the program's own message loop (under wine in the
// cross build), read back through the window tree, and what only the Win32 front
// end has.
#include "about/frm_about.h"
#include "app/guarded_application_win32.h"
#include "approval.h"
#include "main_window/frm_velbrin.h"
#include "main_window/main_window_model.h"
#include "ui/window_win32.h"

#include <commctrl.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <map>

namespace velbrin::test {
namespace {

win32::GuardedApplication program; // the program's own: its failure report and message loop
constexpr int GoesOn = 0x7E57; // the status the test ends the message loop with

void Pump()
{
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageW(&message);
}

// This thread's top-level window of a class (owned by `owner`, if given), or null.
HWND Find(const wchar_t *className, HWND owner = nullptr)
{
    HWND w = nullptr;
    while ((w = FindWindowExW(nullptr, w, className, nullptr)) &&
           (GetWindowThreadProcessId(w, nullptr) != GetCurrentThreadId() ||
            (owner && GetWindow(w, GW_OWNER) != owner))) { }
    return w;
}

std::string Name(HWND control)
{
    const auto *name = static_cast<const char *>(GetPropW(control, L"VelbrinName"));
    return name ? name : "";
}

HWND Find(HWND window, const std::string &name)
{
    HWND c = GetWindow(window, GW_CHILD);
    while (c && Name(c) != name)
        c = GetWindow(c, GW_HWNDNEXT);
    return c;
}

// A tooltip control's tool, its text to go in `text`.
TTTOOLINFOW Tool(wchar_t (&text)[256])
{
    TTTOOLINFOW tool {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.lpszText = text;
    return tool;
}

// The client area of `window` as it stands on the screen, read until two reads
// agree (wine paints late), as PNG.
std::string OnScreen(HWND window)
{
    std::vector<std::uint32_t> pixels, again;
    int width = 0, height = 0;
    for (int read = 0; read < 50 && (read < 2 || pixels != again); ++read) {
        pixels = std::move(again);
        Pump();
        Sleep(read ? 20 : 0);
        RECT client;
        GetClientRect(window, &client);
        POINT corner {0, 0};
        ClientToScreen(window, &corner);
        const HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
        const HBITMAP bitmap =
                CreateCompatibleBitmap(screen, width = client.right, height = client.bottom);
        const HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, corner.x, corner.y, SRCCOPY);
        SelectObject(memory, previous);
        BITMAPINFOHEADER format {sizeof format, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        again.resize(std::size_t(width * height));
        GetDIBits(memory, bitmap, 0, UINT(height), again.data(),
                  reinterpret_cast<BITMAPINFO *>(&format), DIB_RGB_COLORS);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }
    for (auto &pixel : again) // blue, green, red, unused: red, green, blue, opaque
        pixel = 0xFF000000 | (pixel & 0xFF) << 16 | (pixel & 0xFF00) | (pixel >> 16 & 0xFF);
    std::string png;
    stbi_write_png_to_func(
            [](void *out, void *data, int size) {
                static_cast<std::string *>(out)->append(static_cast<const char *>(data),
                                                        std::size_t(size));
            },
            &png, width, height, 4, again.data(), width * 4);
    return png;
}

HWND Handle(ui::Window &window)
{
    return window.native().Made();
}

// A window of the main window's controls whose command handler fails with `what`.
struct Bare : ui::Window
{
    std::string what;
    Bare()
        : Window(main_window::Description(), ui::Frame::Main)
    {
        Connect(
                [this](int, ui::Event) {
                    if (!what.empty())
                        throw std::runtime_error(what);
                },
                [] {});
    }
};

class Win32Main : public Driver
{
public:
    Win32Main()
    {
        m_main.Form_Load();
        m_main.Show();
        Pump();
    }
    HWND Handle() { return test::Handle(m_main.window()); }
    ~Win32Main() override
    {
        MSG quit; // one the program posted when it ended
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }

    std::vector<Seen> Dump() override
    {
        const HWND window = test::Handle(Top());
        RECT client;
        GetClientRect(window, &client);
        POINT corner {0, 0};
        ClientToScreen(window, &corner);
        std::vector<Seen> seen(1);
        seen[0].name = window == Handle() ? "frmVelbrin" : "frmAbout";
        seen[0].role = "Window";
        seen[0].text = win32::TextOf(window);
        seen[0].place = {corner.x, corner.y, client.right, client.bottom};
        const LONG style = GetWindowLongW(window, GWL_STYLE);
        seen[0].frame = Frame(style & WS_SYSMENU, style & WS_MINIMIZEBOX, style & WS_MAXIMIZEBOX,
                              style & WS_THICKFRAME);
        std::map<HWND, std::u16string> tips; // what the window's tooltip control holds
        wchar_t text[256] = {};
        TTTOOLINFOW tool = Tool(text);
        const HWND tooltips = Find(TOOLTIPS_CLASSW, window);
        for (int i = 0; SendMessageW(tooltips, TTM_ENUMTOOLSW, i, LPARAM(&tool)); ++i)
            tips[HWND(tool.uId)] = reinterpret_cast<const char16_t *>(text);
        // In the window tree's order: each label just before the box it names.
        for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            Read(seen, Top(), c, tips[c]);
        return seen;
    }
    std::optional<MessageBoxSeen> MessageBox() override
    {
        const HWND box = Find(L"#32770");
        if (!box)
            return std::nullopt;
        const auto icon = HICON(SendDlgItemMessageW(box, 0x0440, STM_GETICON, 0, 0));
        std::string kind = icon ? "unknown" : ""; // the system's icons, which are shared
        for (const auto &[name, id] : {std::pair("error", IDI_HAND),
                                       {"warning", IDI_EXCLAMATION},
                                       {"information", IDI_ASTERISK},
                                       {"question", IDI_QUESTION}})
            kind = icon && icon == LoadIconA(nullptr, id) ? name : kind;
        return MessageBoxSeen {win32::TextOf(box), win32::TextOf(GetDlgItem(box, 0xFFFF)),
                               GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL) ? "OK" : "other",
                               kind};
    }
    std::string Shot() override
    {
        SetCursorPos(1023, 767); // away from the windows: no tooltip, no pointer in the picture
        HideCaret(nullptr); // it blinks
        return OnScreen(test::Handle(Top()));
    }
    bool Rescale(double scale) override
    {
        RECT suggested; // where it is: the system suggests a place near the old one
        GetWindowRect(test::Handle(Top()), &suggested);
        SendMessageW(test::Handle(Top()), WM_DPICHANGED, MAKEWPARAM(96 * scale, 96 * scale),
                     LPARAM(&suggested));
        return true;
    }
    int Play(const std::vector<std::u16string> &steps,
             const std::function<void(std::size_t)> &after) override
    {
        playing = {this, &steps, &after, 0, 0};
        // A thread timer fires in whatever loop runs (About's, a message box's), and
        // only once the messages before it are handled and the windows painted.
        playing.timer = SetTimer(nullptr, 0, 1, Tick);
        const int status = program.Run();
        KillTimer(nullptr, playing.timer);
        return status == GoesOn ? -1 : status;
    }

private:
    static inline struct
    {
        Win32Main *main;
        const std::vector<std::u16string> *steps;
        const std::function<void(std::size_t)> *after;
        std::size_t next;
        UINT_PTR timer;
    } playing {};

    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        BYTE keys[256] = {}; // Shift, for a Shift+Tab just handled, is up again
        SetKeyboardState(keys);
        if (playing.next > 0)
            (*playing.after)(playing.next - 1);
        if (playing.next == playing.steps->size())
            return PostQuitMessage(GoesOn);
        const Step step = Parse((*playing.steps)[playing.next++]);
        playing.timer = SetTimer(nullptr, 0, 1, Tick);
        playing.main->Take(step, keys);
    }

    // The program's topmost window: About while it is up.
    ui::Window &Top()
    {
        frmAbout *about = m_main.aboutDialog();
        if (about && about->window().native().handle &&
            IsWindowVisible(about->window().native().handle))
            return about->window();
        return m_main.window();
    }

    static void Read(std::vector<Seen> &seen, ui::Window &window, HWND c, const std::u16string &tip)
    {
        wchar_t kind[8] = {};
        GetClassNameW(c, kind, 8);
        const LONG style = GetWindowLongW(c, GWL_STYLE);
        const bool edit = kind == std::wstring_view(L"Edit"), button = kind[0] == L'B';
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, test::Handle(window), reinterpret_cast<POINT *>(&r), 2);
        const HDC dc = CreateCompatibleDC(nullptr); // the text colour the control is handed
        SendMessageW(test::Handle(window), edit ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC, WPARAM(dc),
                     LPARAM(c));
        const COLORREF colour = GetTextColor(dc);
        DeleteDC(dc);
        DWORD start = DWORD(-1), end = DWORD(-1);
        if (edit)
            SendMessageW(c, EM_GETSEL, WPARAM(&start), LPARAM(&end));
        const int i = GetDlgCtrlID(c) - ui::FirstControlId;
        const char *role = edit ? "EditableText" : button ? "PushButton" : "StaticText";
        const Rect place {r.left, r.top, r.right - r.left, r.bottom - r.top};
        const int scrolled = int(SendMessageW(c, EM_GETFIRSTVISIBLELINE, 0, 0));
        const bool readOnly = edit && (style & ES_READONLY);
        const auto rgb =
                std::uint32_t(GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour));
        const bool picture = (style & SS_TYPEMASK) == SS_ICON && !edit && !button;
        seen.push_back({i, Name(c), picture ? "Graphic" : role, u"", u"", place, window.Text(i),
                        rgb, tip, int(start), int(end), scrolled, bool(style & WS_VISIBLE),
                        GetFocus() == c, readOnly});
    }

    void Take(const Step &step, BYTE (&keys)[256])
    {
        const HWND top = test::Handle(Top()), focus = GetFocus() ? GetFocus() : top;
        const auto post = [&](UINT message, WPARAM w, LPARAM l) {
            PostMessageW(focus, message, w, l);
        };
        if (step.verb == "type") {
            for (const char16_t unit : step.text)
                post(WM_CHAR, unit, 1);
        } else if (step.verb == "paste") {
            const HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (step.text.size() + 1) * 2);
            std::copy_n(step.text.c_str(), step.text.size() + 1,
                        static_cast<char16_t *>(GlobalLock(data)));
            GlobalUnlock(data);
            OpenClipboard(top);
            EmptyClipboard();
            SetClipboardData(CF_UNICODETEXT, data);
            CloseClipboard();
            post(WM_CHAR, 0x16, 1); // Ctrl+V
        } else if (step.verb == "select") {
            ::SetFocus(Find(top, step.control));
            SendMessageW(GetFocus(), EM_SETSEL, WPARAM(step.from), LPARAM(step.from + step.count));
        } else if (step.verb == "click") { // on whatever lies on top where the pointer is
            RECT r;
            GetWindowRect(Find(top, step.control), &r);
            POINT at {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            ScreenToClient(top, &at);
            const HWND hit = ChildWindowFromPointEx(top, at, CWP_SKIPINVISIBLE);
            MapWindowPoints(top, hit, &at, 1);
            PostMessageW(hit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
            PostMessageW(hit, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        } else if (step.verb == "key" && step.control == "Backspace") {
            post(WM_CHAR, VK_BACK, 1);
        } else if (step.verb == "key") {
            keys[VK_SHIFT] = step.control == "BackTab" ? 0x80 : 0; // as IsDialogMessage reads it
            SetKeyboardState(keys);
            post(WM_KEYDOWN,
                 step.control == "Enter"            ? VK_RETURN
                         : step.control == "Escape" ? VK_ESCAPE
                                                    : VK_TAB,
                 0);
        } else if (step.verb == "alt") {
            post(WM_SYSCHAR, step.text[0], LPARAM(1) << 29);
        } else if (step.verb == "close") {
            PostMessageW(top, WM_SYSCOMMAND, SC_CLOSE, 0);
        } else if (step.verb == "fail") {
            static Bare failing;
            failing.what = Utf8(step.text);
            PostMessageW(test::Handle(failing), WM_COMMAND, ui::FirstControlId, 0);
        } else {
            ADD_FAILURE() << "no such step: " << step.verb;
        }
    }

    frmVelbrin m_main;
};

// Moved to screens of other DPIs, each window shows what a full repaint shows:
// no old letters left.
TEST(Win32Windows, ShowWhatAFullRepaintShowsAfterADpiChange)
{
    Win32Main main;
    main.Play({u"type a3ztzb1234", u"click cmdAbout", u"click cmdOK"}, [&](std::size_t) {
        for (const double scale : {1.5, 2.0, 1.0}) {
            main.Rescale(scale);
            ::SetFocus(nullptr); // no blinking caret
            const std::string shown = main.Shot();
            RedrawWindow(GetForegroundWindow(), nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            EXPECT_TRUE(shown == main.Shot()) << "stale drawing at " << scale;
        }
    });
}

// About is owned by the window it blocks, which takes no input while it is up:
// it stays above it when that window is brought forward.
TEST(Win32About, BlocksAndStaysAboveTheMainWindow)
{
    Win32Main main;
    main.Play({u"click cmdAbout", u"click cmdOK"}, [&](std::size_t step) {
        HWND below = GetForegroundWindow();
        EXPECT_EQ(IsWindowEnabled(main.Handle()) != FALSE, step == 1) << "after step " << step;
        if (step)
            return;
        EXPECT_EQ(GetWindow(below, GW_OWNER), main.Handle());
        SetWindowPos(main.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        while (below && below != main.Handle())
            below = GetWindow(below, GW_HWNDNEXT);
        EXPECT_EQ(below, main.Handle()) << "About is behind the main window";
    });
}

// The mouse rests on a box until its tooltip pops up.
TEST(Win32Tooltips, PopUpUnderTheMouse)
{
    Win32Main main;
    Pump(); // the tooltips are set up once the window is shown
    const HWND tips = Find(TOOLTIPS_CLASSW, main.Handle()), box = Find(main.Handle(), "txtMsn");
    SendMessageW(tips, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
    RECT r;
    GetWindowRect(box, &r);
    SetCursorPos(r.left + 4, r.top + 4);
    SendMessageW(box, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    for (int wait = 0; wait < 20 && !IsWindowVisible(tips); ++wait, Sleep(10))
        Pump();
    wchar_t text[256] = {};
    TTTOOLINFOW tool = Tool(text);
    EXPECT_TRUE(IsWindowVisible(tips) && SendMessageW(tips, TTM_GETCURRENTTOOLW, 0, LPARAM(&tool)));
    EXPECT_EQ(std::wstring(text), L"MSN: Mechanical Serial Number");
    SetCursorPos(1023, 767);
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
        Bare window;
        ShowWindow(handle = test::Handle(window), SW_SHOW);
        ::SetFocus(window.native().Control(main_window::txtMsn));
    }
    RemoveVectoredExceptionHandler(watch);
    EXPECT_EQ(faults, std::vector<DWORD> {});
    EXPECT_FALSE(IsWindow(handle)) << "the window outlived its object";
}

// The version resource reads right whatever its copyright holds (this test
// program's own says "©").
TEST(Win32Resources, KeepTheCopyrightsCharacters)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::vector<char> block(GetFileVersionInfoSizeW(self, nullptr));
    ASSERT_TRUE(GetFileVersionInfoW(self, 0, DWORD(block.size()), block.data()));
    char16_t *copyright = nullptr;
    UINT length = 0;
    VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\LegalCopyright",
                   reinterpret_cast<void **>(&copyright), &length);
    EXPECT_EQ(std::u16string(copyright), u"Copyright \u00A9 2026 Velbrin developers");
}

} // namespace

const bool isThePage = false;

std::unique_ptr<Driver> OpenMain()
{
    return std::make_unique<Win32Main>();
}

} // namespace velbrin::test

int main(int argc, char **argv)
{
    using Version = const char *(*)();
    const auto wine = reinterpret_cast<Version>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")));
    velbrin::test::SetEnvironment(wine ? std::string("wine-") + wine() : "windows");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
