// The Win32 windows, driven by the messages the system would post for a user's
// keys and clicks through the program's own message loop (under wine in the
// cross build), read back through the window tree, and what only the Win32 front
// end has.
#include "about/frm_about_win32.h"
#include "app/guarded_application_win32.h"
#include "approval.h"
#include "main_window/frm_velbrin_win32.h"

#include <commctrl.h>
#include <objidl.h> // before GDI+, which needs it

#include <gdiplus.h>

#include <algorithm>
#include <map>

namespace velbrin::test {
namespace {

win32::GuardedApplication program; // the program's own: its failure report and message loop
constexpr int GoesOn = 0x7E57; // the status the test ends the message loop with

void Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

// A top-level window of this thread of the given class (owned by `owner`, if
// given), or null.
HWND ThreadWindow(const wchar_t *className, HWND owner = nullptr)
{
    struct Search
    {
        const wchar_t *name;
        HWND owner, found;
    } search {className, owner, nullptr};
    EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM data) {
                auto &s = *reinterpret_cast<Search *>(data);
                wchar_t seen[64] = {};
                GetClassNameW(window, seen, 64);
                if (!wcscmp(seen, s.name) && (!s.owner || GetWindow(window, GW_OWNER) == s.owner))
                    s.found = window;
                return BOOL(!s.found);
            },
            LPARAM(&search));
    return search.found;
}

std::uint32_t Rgb(COLORREF colour)
{
    return GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

// The client area of `window` as it stands on the screen, read until two reads
// agree: wine paints late.
Image OnScreen(HWND window)
{
    Image image, again;
    for (int read = 0; read < 50 && (read < 2 || image.pixels != again.pixels); ++read) {
        image = std::move(again);
        Pump();
        Sleep(read ? 20 : 0);
        RECT client;
        GetClientRect(window, &client);
        POINT corner {0, 0};
        ClientToScreen(window, &corner);
        const HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
        BITMAPINFOHEADER format {
                sizeof format, client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void *bits = nullptr;
        const HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO *>(&format),
                                                DIB_RGB_COLORS, &bits, nullptr, 0);
        const HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, client.right, client.bottom, screen, corner.x, corner.y, SRCCOPY);
        GdiFlush();
        const auto *first = static_cast<const std::uint32_t *>(bits);
        again = {client.right, client.bottom, {first, first + client.right * client.bottom}};
        for (auto &pixel : again.pixels)
            pixel &= 0xFFFFFF;
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }
    return again;
}

class Win32Main : public frmVelbrin, public Driver
{
public:
    explicit Win32Main(const AppInfo &info = AppInfo::current())
        : frmVelbrin(info)
    {
        Form_Load();
        Show();
        Pump();
    }
    ~Win32Main() override
    {
        MSG quit; // one the program posted when it ended
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }

    std::vector<Seen> Dump() override
    {
        win32::Window &window = Top();
        const bool about = &window != this;
        RECT client;
        GetClientRect(window.Handle(), &client);
        POINT corner {0, 0};
        ClientToScreen(window.Handle(), &corner);
        Seen top;
        top.name = about ? "frmAbout" : "frmVelbrin";
        top.role = "Window";
        top.heard = top.text = win32::TextOf(window.Handle());
        top.place = {corner.x, corner.y, client.right, client.bottom};
        std::vector<Seen> seen {top};
        std::map<HWND, std::u16string> tips; // what the window's tooltip control holds
        const HWND tooltips = ThreadWindow(TOOLTIPS_CLASSW, window.Handle());
        for (int i = 0; tooltips; ++i) {
            wchar_t text[256] = {};
            TTTOOLINFOW tool {};
            tool.cbSize = TTTOOLINFOW_V2_SIZE;
            tool.lpszText = text;
            if (!SendMessageW(tooltips, TTM_ENUMTOOLSW, WPARAM(i), LPARAM(&tool)))
                break;
            tips[HWND(tool.uId)] = reinterpret_cast<const char16_t *>(text);
        }
        // In the order of the window tree, which is the tab order.
        for (HWND c = GetWindow(window.Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (const int i = GetDlgCtrlID(c) - ui::FirstControlId; i >= 0)
                seen.push_back(Read(window, i, tips[c]));
        return seen;
    }
    std::optional<MessageBoxSeen> MessageBox() override
    {
        const HWND box = ThreadWindow(L"#32770");
        if (!box)
            return std::nullopt;
        return MessageBoxSeen {win32::TextOf(box), win32::TextOf(GetDlgItem(box, 0xFFFF)),
                               GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL) ? "OK" : "other",
                               SendDlgItemMessageW(box, 0x0440, STM_GETICON, 0, 0) != 0};
    }
    Image Shot() override
    {
        SetCursorPos(1023, 767); // away from the windows: no tooltip, no pointer in the picture
        HideCaret(nullptr); // it blinks
        return OnScreen(Top().Handle());
    }
    bool Rescale(double scale) override
    {
        const int dpi = int(96 * scale);
        RECT suggested; // where it is: the system suggests a place near the old one
        GetWindowRect(Top().Handle(), &suggested);
        SendMessageW(Top().Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
        return true;
    }
    // The mouse rests on the control until its tooltip pops up.
    std::u16string Hover(const std::string &name) override
    {
        Pump(); // the tooltips are set up once the window is shown
        const HWND tips = ThreadWindow(TOOLTIPS_CLASSW, Handle()), control = Find(*this, name);
        SendMessageW(tips, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
        RECT r;
        GetWindowRect(control, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(control, WM_MOUSEMOVE, 0,
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
    int Play(const std::vector<std::u16string> &steps,
             const std::function<void(std::size_t)> &after) override
    {
        playing = {this, &steps, &after, 0, 0};
        // A thread timer fires in whatever loop runs (About's, a message box's), and
        // only once the messages before it are handled and the windows painted.
        playing.timer = SetTimer(nullptr, 0, 1, Tick);
        const int status = program.Run(*this);
        KillTimer(nullptr, playing.timer);
        return status == GoesOn ? -1 : status;
    }
    std::u16string Clipboard() override
    {
        std::u16string text;
        if (OpenClipboard(Handle())) {
            if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                text = static_cast<const char16_t *>(GlobalLock(data));
                GlobalUnlock(data);
            }
            CloseClipboard();
        }
        return text;
    }

private:
    struct Playing
    {
        Win32Main *main;
        const std::vector<std::u16string> *steps;
        const std::function<void(std::size_t)> *after;
        std::size_t next;
        UINT_PTR timer;
    };
    static inline Playing playing {};

    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        BYTE keys[256] = {}; // Shift, for the Shift+Tab just handled, is up again
        SetKeyboardState(keys);
        Playing &p = playing;
        if (p.next > 0)
            (*p.after)(p.next - 1);
        if (p.next == p.steps->size())
            return PostQuitMessage(GoesOn);
        const Step step = Parse((*p.steps)[p.next++]);
        p.timer = SetTimer(nullptr, 0, 1, Tick);
        p.main->Take(step);
    }

    win32::Window &Top()
    {
        frmAbout *about = aboutDialog();
        if (about && about->IsCreated() && IsWindowVisible(about->Handle()))
            return *about;
        return *this;
    }
    static HWND Find(win32::Window &window, const std::string &name)
    {
        for (HWND c = GetWindow(window.Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (const auto *named = static_cast<const char *>(GetPropW(c, L"VelbrinName"));
                named && name == named)
                return c;
        return nullptr;
    }

    static Seen Read(win32::Window &window, int i, const std::u16string &tip)
    {
        const HWND c = window.Control(i);
        wchar_t kind[16] = {};
        GetClassNameW(c, kind, 16);
        const LONG style = GetWindowLongW(c, GWL_STYLE);
        const bool edit = !wcscmp(kind, L"Edit"), button = !wcscmp(kind, L"Button");
        const bool picture = !edit && !button && (style & SS_TYPEMASK) == SS_ICON;
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT *>(&r), 2);
        const HDC dc = CreateCompatibleDC(nullptr); // the colour the control is handed
        SendMessageW(window.Handle(), edit ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC, WPARAM(dc),
                     LPARAM(c));
        std::u16string text = window.Text(i), heard = edit || picture ? u"" : text;
        std::erase(heard, u'&');
        Seen s {i,
                static_cast<const char *>(GetPropW(c, L"VelbrinName")),
                edit              ? "EditableText"
                        : button  ? "PushButton"
                        : picture ? "Graphic"
                                  : "StaticText",
                heard,
                u"",
                {r.left, r.top, r.right - r.left, r.bottom - r.top},
                text,
                Rgb(GetTextColor(dc)),
                tip};
        DeleteDC(dc);
        s.visible = style & WS_VISIBLE;
        s.focused = GetFocus() == c;
        s.readOnly = edit && (style & ES_READONLY);
        if (edit) {
            DWORD start = 0, end = 0;
            SendMessageW(c, EM_GETSEL, WPARAM(&start), LPARAM(&end));
            s.selectionStart = int(start);
            s.selectionEnd = int(end);
            s.scrolled = int(SendMessageW(c, EM_GETFIRSTVISIBLELINE, 0, 0));
        }
        // Whether the text runs out of the room the control has for it.
        RECT room;
        GetClientRect(c, &room);
        const LRESULT margins = edit ? SendMessageW(c, EM_GETMARGINS, 0, 0) : button ? 0x40004 : 0;
        room.right -= LOWORD(margins) + HIWORD(margins);
        const std::wstring shown = win32::Wide(text);
        const HDC screen = GetDC(c);
        const HGDIOBJ previous = SelectObject(screen, HGDIOBJ(SendMessageW(c, WM_GETFONT, 0, 0)));
        RECT needed {};
        DrawTextW(screen, shown.c_str(), int(shown.size()), &needed,
                  DT_CALCRECT | (button ? 0 : DT_NOPREFIX));
        SelectObject(screen, previous);
        ReleaseDC(c, screen);
        s.cut = !picture && !(style & ES_MULTILINE) &&
                (needed.right > room.right || (!edit && !button && needed.bottom > room.bottom));
        return s;
    }

    void Take(const Step &step)
    {
        const HWND top = Top().Handle(), focus = GetFocus() ? GetFocus() : top;
        const auto post = [&](UINT message, WPARAM w, LPARAM l) {
            PostMessageW(focus, message, w, l);
        };
        if (step.verb == "type") {
            for (const char16_t unit : step.text)
                post(WM_CHAR, unit, 1);
        } else if (step.verb == "paste") {
            const HGLOBAL data =
                    GlobalAlloc(GMEM_MOVEABLE, (step.text.size() + 1) * sizeof(char16_t));
            *std::copy(step.text.begin(), step.text.end(),
                       static_cast<char16_t *>(GlobalLock(data))) = 0;
            GlobalUnlock(data);
            if (OpenClipboard(top)) {
                EmptyClipboard();
                SetClipboardData(CF_UNICODETEXT, data);
                CloseClipboard();
            }
            post(WM_CHAR, 0x16, 1); // Ctrl+V
        } else if (step.verb == "select") {
            const HWND control = Find(Top(), step.control);
            ::SetFocus(control);
            SendMessageW(control, EM_SETSEL, WPARAM(step.from), LPARAM(step.from + step.count));
        } else if (step.verb == "click") {
            PostMessageW(Find(Top(), step.control), BM_CLICK, 0, 0);
        } else if (step.verb == "key" && step.control == "Backspace") {
            post(WM_CHAR, VK_BACK, 1);
        } else if (step.verb == "key") {
            BYTE keys[256] = {};
            keys[VK_SHIFT] = step.control == "BackTab" ? 0x80 : 0;
            SetKeyboardState(keys);
            static const std::map<std::string, WPARAM> codes {{"Tab", VK_TAB},
                                                              {"BackTab", VK_TAB},
                                                              {"Enter", VK_RETURN},
                                                              {"Escape", VK_ESCAPE}};
            post(WM_KEYDOWN, codes.at(step.control), 0);
        } else if (step.verb == "alt") {
            post(WM_SYSCHAR, step.text[0], LPARAM(1) << 29);
        } else if (step.verb == "close") {
            PostMessageW(top, WM_SYSCOMMAND, SC_CLOSE, 0);
        } else if (step.verb == "copy") {
            BYTE keys[256] = {};
            keys[VK_CONTROL] = 0x80;
            SetKeyboardState(keys);
            post(WM_KEYDOWN, 'A', 0); // Ctrl+A
            post(WM_CHAR, 3, 1); // Ctrl+C, as translated
        } else if (step.verb == "fail") {
            static struct Failing : win32::Window
            {
                std::string what;
                Failing()
                    : Window(main_window::Description())
                {
                    Create();
                }
                void OnCommand(int, int) override { throw std::runtime_error(what); }
                void OnClose() override { }
            } failing;
            failing.what = Utf8(step.text);
            PostMessageW(failing.Handle(), WM_COMMAND, ui::FirstControlId, 0);
        } else {
            ADD_FAILURE() << "no such step: " << step.verb;
        }
    }
};

// Moved to screens of other DPIs, each window shows what a full repaint shows:
// no old letters left.
TEST(Win32Windows, ShowWhatAFullRepaintShowsAfterADpiChange)
{
    Win32Main main;
    main.Play({u"type a3ztzb1234", u"click cmdAbout", u"click cmdOK"}, [&](std::size_t) {
        for (const double scale : {1.5, 2.0, 1.0}) {
            main.Rescale(scale);
            const HWND top = GetForegroundWindow();
            ::SetFocus(nullptr); // no blinking caret
            const Image shown = main.Shot();
            RedrawWindow(top, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            EXPECT_TRUE(shown.pixels == main.Shot().pixels) << "stale drawing at " << scale;
        }
    });
}

// About is owned by the window it blocks: it stays above it when that window is
// brought forward, and Enter presses its focused button (IsDialogMessage under
// wine presses a focused button by itself, so the window is asked directly).
TEST(Win32About, StaysAboveTheMainWindowAndTellsTheSystemWhichButtonEnterPresses)
{
    Win32Main main;
    main.Play({u"click cmdAbout", u"key Tab", u"key Escape"}, [&](std::size_t step) {
        const HWND dialog = GetForegroundWindow();
        if (step != 1)
            return;
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
                : Window(main_window::Description())
            {
                Create();
            }
            void OnCommand(int, int) override { }
            void OnClose() override { }
        } window;
        handle = window.Handle();
        ShowWindow(handle, SW_SHOW);
        ::SetFocus(window.Control(main_window::txtMsn));
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
    wchar_t *copyright = nullptr;
    UINT length = 0;
    VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\LegalCopyright",
                   reinterpret_cast<void **>(&copyright), &length);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t *>(copyright)),
              u"Copyright \u00A9 2026 Velbrin developers");
}

// PNG through GDI+, which wine has.
struct Gdiplus
{
    ULONG_PTR token = 0;
    Gdiplus()
    {
        const ::Gdiplus::GdiplusStartupInput input;
        ::Gdiplus::GdiplusStartup(&token, &input, nullptr);
    }
};

} // namespace

std::unique_ptr<Driver> OpenMain(const AppInfo &info)
{
    return std::make_unique<Win32Main>(info);
}

bool ReadPng(const std::string &path, Image &image)
{
    static const Gdiplus gdiplus;
    ::Gdiplus::Bitmap read(win32::FromUtf8(path).c_str());
    ::Gdiplus::BitmapData data {};
    ::Gdiplus::Rect all(0, 0, int(read.GetWidth()), int(read.GetHeight()));
    if (read.LockBits(&all, ::Gdiplus::ImageLockModeRead, PixelFormat32bppRGB, &data) !=
        ::Gdiplus::Ok)
        return false;
    image = {int(data.Width), int(data.Height), {}};
    for (UINT y = 0; y < data.Height; ++y) {
        const auto *row = reinterpret_cast<const std::uint32_t *>(
                static_cast<const char *>(data.Scan0) + y * data.Stride);
        for (UINT x = 0; x < data.Width; ++x)
            image.pixels.push_back(row[x] & 0xFFFFFF);
    }
    read.UnlockBits(&data);
    return true;
}

void WritePng(const std::string &path, const Image &image)
{
    static const Gdiplus gdiplus;
    std::vector<std::uint32_t> pixels = image.pixels;
    ::Gdiplus::Bitmap written(image.width, image.height, image.width * 4, PixelFormat32bppRGB,
                              reinterpret_cast<BYTE *>(pixels.data()));
    const CLSID png {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    written.Save(win32::FromUtf8(path).c_str(), &png, nullptr);
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
