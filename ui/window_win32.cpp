#include "ui/window_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace velbrin::win32 {
namespace {

constexpr const wchar_t *ClassName = L"VelbrinWindow";
constexpr UINT ShownMessage = WM_APP + 1; // once on screen: what can wait until then

const wchar_t *iconResource = nullptr;
FailureHandler failureHandler = nullptr;

std::wstring Converted(UINT codePage, std::string_view text)
{
    if (text.empty())
        return {};
    const int length = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(std::size_t(std::max(length, 0)), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), wide.data(), length);
    return wide;
}

// The window a message is for, if it is one of the program's: `this` is bound to
// it when it is made, and the dialog manager's own procedure does the rest.
ui::Window::Native *Bound(HWND window)
{
    return reinterpret_cast<ui::Window::Native *>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ui::Window::Native *self = Bound(window);
    if (message == WM_NCCREATE) {
        self = static_cast<ui::Window::Native *>(
                reinterpret_cast<const CREATESTRUCTW *>(lParam)->lpCreateParams);
        self->handle = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self)
        return DefDlgProcW(window, message, wParam, lParam);
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        if (failureHandler)
            failureHandler(std::current_exception());
        else
            PostQuitMessage(1);
    }
    return 0;
}

void RegisterClassOnce()
{
    static const ATOM atom = [] {
        INITCOMMONCONTROLSEX controls {sizeof controls, ICC_BAR_CLASSES}; // tooltips
        InitCommonControlsEx(&controls);
        WNDCLASSEXW windowClass {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = Procedure;
        windowClass.cbWndExtra = DLGWINDOWEXTRA; // the dialog manager's
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
        windowClass.lpszClassName = ClassName;
        windowClass.hIcon = ApplicationIcon(32);
        windowClass.hIconSm = ApplicationIcon(GetSystemMetrics(SM_CXSMICON));
        return RegisterClassExW(&windowClass);
    }();
    if (!atom)
        throw std::runtime_error("the window class cannot be registered");
}

// The dialog keys of the window the message is for. Alt and a letter is decided
// by the rules alone: the dialog manager would move the focus to the button it
// presses, and type nothing but beep for a letter no button owns.
bool DialogMessage(MSG *message)
{
    const HWND root = message->hwnd ? GetAncestor(message->hwnd, GA_ROOT) : nullptr;
    wchar_t name[16] = {};
    if (!root || !GetClassNameW(root, name, 16) || std::wstring_view(name) != ClassName)
        return false;
    ui::Window::Native *window = Bound(root);
    if (window && message->message == WM_SYSCHAR) {
        const ui::Key key {ui::Key::Letter, char32_t(message->wParam), false, true, false};
        const ui::Answer answer = window->rules.Decide(key, *window->view);
        if (answer.press >= 0 && window->events)
            window->events(answer.press, ui::Event::Click);
        if (answer.spent)
            return true;
    }
    return IsDialogMessageW(root, message);
}

} // namespace

std::wstring Wide(std::u16string_view text)
{
    return std::wstring(reinterpret_cast<const wchar_t *>(text.data()), text.size());
}

std::wstring FromUtf8(std::string_view text)
{
    return Converted(CP_UTF8, text);
}

std::wstring FromAnsi(std::string_view text)
{
    return Converted(CP_ACP, text);
}

std::u16string TextOf(HWND window)
{
    std::u16string text(std::size_t(GetWindowTextLengthW(window)) + 1, u'\0');
    const int got =
            GetWindowTextW(window, reinterpret_cast<wchar_t *>(text.data()), int(text.size()));
    text.resize(std::size_t(std::max(got, 0)));
    return text;
}

void SetApplicationIcon(const wchar_t *resource)
{
    iconResource = resource;
}

HICON ApplicationIcon(int size, UINT shared)
{
    if (!iconResource)
        return nullptr;
    return static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), iconResource, IMAGE_ICON, size, size, shared));
}

void SetFailureHandler(FailureHandler handler)
{
    failureHandler = handler;
}

int MessageLoop(const HWND *modal)
{
    MSG message;
    while (!modal || *modal) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got < 0)
            throw std::runtime_error("the message loop failed");
        if (got == 0 && modal) // for the loop this one runs in, once the dialog is gone
            PostQuitMessage(int(message.wParam));
        if (got == 0)
            return int(message.wParam);
        if (!DialogMessage(&message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}

} // namespace velbrin::win32

namespace velbrin::ui {

using namespace win32;

Window::Native::Native(const WindowDescription &description, Frame frame)
    : description(description)
    , frame(frame)
    , rules(description)
{ }

Window::Native::~Native()
{
    // The window object is gone by now: what the window's own teardown still
    // sends (the focused box's EN_KILLFOCUS, WM_DESTROY...) goes to the dialog
    // manager alone, never to the half-destroyed object.
    if (const HWND window = handle) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
        Forget();
    }
}

// The window is gone, and the handles with it.
void Window::Native::Forget()
{
    handle = owner = tooltips = pendingFocus = nullptr;
    controls.clear();
    if (font)
        DeleteObject(font);
    font = nullptr;
    if (pictureIcon)
        DestroyIcon(pictureIcon);
    pictureIcon = nullptr;
}

HWND Window::Native::Made()
{
    if (handle)
        return handle;
    RegisterClassOnce();
    // Made at its size and place for the screen's DPI, its controls at theirs:
    // laid out once, not made and then moved.
    const int at = SystemDpi();
    const auto px = [at](int twips) { return TwipsToPixels(twips, at); };
    const RECT outer = FrameFor(px(description.clientWidth), px(description.clientHeight), at);
    CreateWindowExW(FrameExStyle, ClassName, L"", FrameStyle,
                    description.placed ? px(description.screenLeft) + outer.left : CW_USEDEFAULT,
                    description.placed ? px(description.screenTop) + outer.top : 0,
                    outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                    GetModuleHandleW(nullptr), this);
    if (!handle)
        throw std::runtime_error("the window cannot be created");
    dpi = at;
    MakeControls();
    if (DpiOf(handle) != at) {
        LayOut(DpiOf(handle), nullptr);
    } else {
        Dress(at);
        FitFrame(nullptr);
    }
    return handle;
}

HWND Window::Native::Control(int index)
{
    if (index < 0 || std::size_t(index) >= description.controls.size())
        throw std::out_of_range("no control " + std::to_string(index) + " in " + description.name);
    Made();
    return controls[std::size_t(index)];
}

int Window::Native::IndexOf(HWND control) const
{
    const auto found = std::find(controls.begin(), controls.end(), control);
    return found == controls.end() || !control ? -1 : int(found - controls.begin());
}

bool Window::Native::Is(int control, Kind kind)
{
    return Control(control) && description.controls[std::size_t(control)].kind == kind;
}

LRESULT Window::Native::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        if (settingText || !events)
            return 0;
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        // Enter and Esc from the dialog manager, where it found no button to press
        // (it presses a focused button and the default one itself).
        if (id == IDOK || id == IDCANCEL) {
            const Key key {id == IDOK ? Key::Enter : Key::Escape};
            if (const int press = rules.Decide(key, *view).press; press >= 0)
                events(press, Event::Click);
        } else if (id >= FirstControlId && id < FirstControlId + int(controls.size()) &&
                   (code == EN_CHANGE || code == BN_CLICKED)) {
            events(id - FirstControlId, code == EN_CHANGE ? Event::Change : Event::Click);
        }
        return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        return ControlColour(message, reinterpret_cast<HDC>(wParam),
                             reinterpret_cast<HWND>(lParam));
    case WM_PAINT:
        Paint();
        return 0;
    case WM_DPICHANGED:
        LayOut(HIWORD(wParam), reinterpret_cast<const RECT *>(lParam));
        return 0;
    case WM_SHOWWINDOW:
        if (wParam)
            PostMessageW(handle, ShownMessage, 0, 0);
        break;
    case ShownMessage:
        AddTooltips();
        NameForScreenReaders();
        return 0;
    case WM_CLOSE:
        if (closing)
            closing();
        return 0;
    case WM_NCDESTROY: {
        const HWND window = handle;
        Forget();
        return DefDlgProcW(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefDlgProcW(handle, message, wParam, lParam);
}

Window::Window(const WindowDescription &description, Frame frame)
    : m_native(std::make_unique<Native>(description, frame))
{
    m_native->view = this;
    if (frame == Frame::Main)
        m_native->Made();
}

Window::~Window() = default;

void Window::Connect(std::function<void(int, Event)> events, std::function<void()> closing)
{
    m_native->events = std::move(events);
    m_native->closing = std::move(closing);
}

void Window::Show()
{
    ShowWindow(m_native->Made(), SW_SHOW);
    SetForegroundWindow(m_native->handle);
    if (const HWND focus = std::exchange(m_native->pendingFocus, nullptr))
        ::SetFocus(focus);
}

void Window::ShowModal(Window &owner)
{
    Native &w = *m_native;
    // Owned by the window it blocks, it stays above that window and comes forward
    // with it, as a modal dialog does; made at that window's DPI.
    w.owner = owner.m_native->Made();
    SetWindowLongPtrW(w.Made(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(w.owner));
    if (DpiOf(w.owner) != w.dpi)
        w.LayOut(DpiOf(w.owner), nullptr);
    EnableWindow(w.owner, FALSE);
    Show();
    MessageLoop(&w.handle);
    Close();
}

void Window::Close()
{
    Native &w = *m_native;
    // Enabled again before the dialog goes, so that the system hands the
    // activation back to the blocked window rather than to another program.
    if (const HWND blocked = std::exchange(w.owner, nullptr))
        EnableWindow(blocked, TRUE);
    if (w.handle && w.frame == Frame::Dialog)
        DestroyWindow(w.handle); // made anew when shown again
    else if (w.handle)
        ShowWindow(w.handle, SW_HIDE);
}

void Window::Tell(std::u16string_view caption, std::string_view text)
{
    MessageBoxW(m_native->Made(), FromAnsi(text).c_str(), Wide(caption).c_str(), MB_OK);
}

void Window::EndProgram(int status)
{
    PostQuitMessage(status);
    if (m_native->handle)
        DestroyWindow(m_native->handle);
}

std::u16string Window::Text(int control) const
{
    return TextOf(m_native->Control(control));
}

void Window::SetText(int control, std::u16string_view text)
{
    const HWND c = m_native->Control(control);
    m_native->settingText = true;
    SetWindowTextW(c, Wide(text).c_str());
    m_native->settingText = false;
    m_native->FitLabel(control);
}

void Window::SetVisible(int control, bool visible)
{
    ShowWindow(m_native->Control(control), visible ? SW_SHOWNA : SW_HIDE);
}

void Window::SetMaxLength(int control, int length)
{
    if (m_native->Is(control, Kind::TextBox) &&
        !m_native->description.controls[std::size_t(control)].has(MultiLine))
        SendMessageW(m_native->Control(control), EM_SETLIMITTEXT, WPARAM(length), 0);
}

int Window::Caret(int control) const
{
    DWORD start = 0;
    DWORD end = 0;
    if (m_native->Is(control, Kind::TextBox))
        SendMessageW(m_native->Control(control), EM_GETSEL, WPARAM(&start), LPARAM(&end));
    return int(end);
}

void Window::SetCaret(int control, int position)
{
    if (m_native->Is(control, Kind::TextBox))
        SendMessageW(m_native->Control(control), EM_SETSEL, WPARAM(position), LPARAM(position));
}

// A window not yet shown takes the focus when it is: focusing it now would
// activate it unseen, which costs the system a round of activation messages.
void Window::SetFocus(int control)
{
    if (!m_native->Is(control, Kind::TextBox) && !m_native->Is(control, Kind::Button))
        return;
    if (IsWindowVisible(m_native->handle))
        ::SetFocus(m_native->Control(control));
    else
        m_native->pendingFocus = m_native->Control(control);
}

bool Window::IsShown(int control) const
{
    const HWND c = m_native->Control(control);
    return c && (GetWindowLongW(c, GWL_STYLE) & WS_VISIBLE) && IsWindowEnabled(c);
}

int Window::Focus() const
{
    return m_native->IndexOf(GetFocus());
}

void Window::SetTitle(std::u16string_view title)
{
    SetWindowTextW(m_native->Made(), Wide(title).c_str());
}

// A change of a box's text is told to a screen reader by the system itself.
void Window::Announce(std::u16string_view) { }

} // namespace velbrin::ui
