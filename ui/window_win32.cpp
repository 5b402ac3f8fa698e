#include "ui/window_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <numeric>
#include <stdexcept>

namespace velbrin::win32 {
namespace {

using ui::Kind;

constexpr const wchar_t *ClassName = L"VelbrinWindow";
constexpr const wchar_t *NameProperty = L"VelbrinName";
constexpr const wchar_t *FocusProperty = L"VelbrinFocus"; // the control to focus on return
constexpr DWORD FrameStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD FrameExStyle = WS_EX_CONTROLPARENT;
constexpr UINT AddTooltipsMessage = WM_APP + 1;

// Functions of newer Windows versions, looked up so that the program still starts
// where they are missing.
template<typename Function> Function User32(const char *name)
{
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

int SystemDpi()
{
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int DpiOf(HWND window)
{
    using GetDpiForWindowFn = UINT(WINAPI *)(HWND);
    static const auto getDpi = User32<GetDpiForWindowFn>("GetDpiForWindow");
    const int dpi = getDpi ? int(getDpi(window)) : 0;
    return dpi > 0 ? dpi : SystemDpi();
}

RECT FrameFor(int clientWidth, int clientHeight, int dpi)
{
    using AdjustFn = BOOL(WINAPI *)(RECT *, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = User32<AdjustFn>("AdjustWindowRectExForDpi");
    RECT frame {0, 0, clientWidth, clientHeight};
    if (!adjust || !adjust(&frame, FrameStyle, FALSE, FrameExStyle, UINT(dpi)))
        AdjustWindowRectEx(&frame, FrameStyle, FALSE, FrameExStyle);
    return frame;
}

// The system's message font at `dpi`: the font the system's own dialogs use.
HFONT MessageFont(int dpi)
{
    using ParametersFn = BOOL(WINAPI *)(UINT, UINT, void *, UINT, UINT);
    static const auto forDpi = User32<ParametersFn>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics {};
    metrics.cbSize = sizeof metrics;
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, UINT(dpi))) {
        return CreateFontIndirectW(&metrics.lfMessageFont);
    }
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

COLORREF ColourRef(ui::Colour colour)
{
    if (colour == ui::Colour::Default || colour == ui::Colour::MenuText)
        return GetSysColor(colour == ui::Colour::Default ? COLOR_WINDOWTEXT : COLOR_MENUTEXT);
    const std::uint32_t rgb = ui::Rgb(colour);
    return RGB(rgb >> 16, rgb >> 8 & 0xFF, rgb & 0xFF);
}

const wchar_t *iconResource = nullptr;

// The icon at `size` pixels. Shared ones (the standard sizes) stay loaded for the
// program's life; others belong to the caller.
HICON ApplicationIcon(int size, UINT shared = LR_SHARED)
{
    if (!iconResource)
        return nullptr;
    return static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), iconResource, IMAGE_ICON, size, size, shared));
}

void RegisterClassOnce()
{
    static const ATOM atom = [] {
        INITCOMMONCONTROLSEX controls {sizeof controls, ICC_BAR_CLASSES}; // tooltips
        InitCommonControlsEx(&controls);
        WNDCLASSEXW windowClass {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW; // replaced by each window's own
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

// A single-line entry box keeps only the first line of pasted text, and takes
// no half of a character of two units: typed, such a character comes as two
// WM_CHARs, the first taken only where both fit, the second only after it.
LRESULT CALLBACK SingleLineEntry(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR)
{
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(box, SingleLineEntry, id);
    const bool half = message == WM_CHAR && wParam >= 0xD800 && wParam < 0xE000;
    if ((message != WM_PASTE && !half) || (GetWindowLongW(box, GWL_STYLE) & ES_READONLY))
        return DefSubclassProc(box, message, wParam, lParam);
    DWORD start = 0, end = 0;
    SendMessageW(box, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    const std::size_t room = std::size_t(SendMessageW(box, EM_GETLIMITTEXT, 0, 0)) + end - start -
            std::size_t(GetWindowTextLengthW(box));
    if (half) {
        std::wstring text(std::size_t(GetWindowTextLengthW(box)) + 1, L'\0');
        text.resize(std::size_t(GetWindowTextW(box, text.data(), int(text.size()))));
        const bool taken = wParam < 0xDC00 ? room >= 2
                                           : start > 0 && start <= text.size() &&
                        text[start - 1] >= 0xD800 && text[start - 1] < 0xDC00;
        return taken ? DefSubclassProc(box, message, wParam, lParam) : 0;
    }
    std::wstring pasted;
    bool got = false;
    if (OpenClipboard(box)) {
        if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto *text = static_cast<const char16_t *>(GlobalLock(data))) {
                // Read no further than the memory holds, terminator or not.
                std::u16string_view whole(text, GlobalSize(data) / sizeof(char16_t));
                whole = whole.substr(0, whole.find(u'\0'));
                pasted = Wide(ui::Fitting(ui::FirstLine(whole), room));
                got = true;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    if (got) // an empty first line still replaces the selection
        SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
    return 0;
}

// The dialog keys select a box whole on Tab when it says it takes a selection;
// a summary box does not, so Tab leaves its text unselected and its first line
// in view.
LRESULT CALLBACK NoSelectionOnTab(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR)
{
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(box, NoSelectionOnTab, id);
    const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
    return message == WM_GETDLGCODE ? result & ~LRESULT(DLGC_HASSETSEL) : result;
}

struct ControlClass
{
    const wchar_t *name;
    DWORD style;
    DWORD exStyle;
};

ControlClass ClassFor(const ui::Control &c)
{
    switch (c.kind) {
    case Kind::Label:
        return {WC_STATICW,
                DWORD(SS_LEFT | SS_NOPREFIX | SS_NOTIFY | (c.has(ui::Bordered) ? WS_BORDER : 0)),
                0};
    case Kind::Picture:
        return {WC_STATICW, SS_ICON | SS_CENTERIMAGE, 0};
    case Kind::Button:
        return {WC_BUTTONW,
                DWORD(WS_TABSTOP | (c.has(ui::DefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)),
                0};
    case Kind::TextBox:
        if (c.has(ui::MultiLine))
            return {WC_EDITW,
                    DWORD(WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                          (c.has(ui::ReadOnly) ? ES_READONLY : 0)),
                    WS_EX_CLIENTEDGE};
        if (c.has(ui::ReadOnly)) // the narrow field boxes: a thin border leaves room
            return {WC_EDITW, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | ES_READONLY, 0};
        return {WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::Line:
        break;
    }
    return {nullptr, 0, 0};
}

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

Window::Window(const ui::WindowDescription &description)
    : m_description(description)
{ }

Window::~Window()
{
    // The derived window is gone by now: what the window's own teardown still
    // sends (the focused box's EN_KILLFOCUS, WM_DESTROY...) goes to the default
    // procedure, never to the half-destroyed object.
    if (const HWND window = m_window) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        RemovePropW(window, FocusProperty);
        DestroyWindow(window);
        Forget();
    }
}

// The window is gone, and the handles with it.
void Window::Forget()
{
    m_window = nullptr;
    m_tooltips = nullptr;
    m_controls.clear();
    if (m_font)
        DeleteObject(m_font);
    m_font = nullptr;
    if (m_pictureIcon)
        DestroyIcon(m_pictureIcon);
    m_pictureIcon = nullptr;
}

void Window::Create(HWND owner)
{
    if (m_window)
        return;
    RegisterClassOnce();
    // Made at its size and place for the DPI it is expected at (its owner's, else
    // the screen's), its controls at theirs: laid out once, not made and then moved.
    const int dpi = owner ? DpiOf(owner) : SystemDpi();
    const auto px = [dpi](int twips) { return ui::TwipsToPixels(twips, dpi); };
    const RECT frame = FrameFor(px(m_description.clientWidth), px(m_description.clientHeight), dpi);
    const bool placed = m_description.placed;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    m_window = CreateWindowExW(FrameExStyle, ClassName, L"", FrameStyle,
                               placed ? px(m_description.screenLeft) + frame.left : CW_USEDEFAULT,
                               placed ? px(m_description.screenTop) + frame.top : 0,
                               frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                               instance, nullptr);
    if (!m_window)
        throw std::runtime_error("the window cannot be created");
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure));

    // The dialog keys walk the controls in their z-order, where each new one goes
    // below the others: they are made in tab order.
    const auto &controls = m_description.controls;
    std::vector<std::size_t> order(controls.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return controls[a].tab < controls[b].tab;
    });
    m_controls.assign(controls.size(), nullptr);
    for (const std::size_t i : order) {
        const ui::Control &c = controls[i];
        const ControlClass kind = ClassFor(c);
        if (!kind.name)
            continue; // lines are drawn by the window itself
        const std::wstring caption = Wide(c.caption);
        const HWND control = CreateWindowExW(
                kind.exStyle, kind.name, caption.c_str(),
                WS_CHILD | WS_CLIPSIBLINGS | (c.has(ui::Hidden) ? 0 : WS_VISIBLE) | kind.style,
                px(c.place.left), px(c.place.top), px(c.place.width), px(c.place.height), m_window,
                reinterpret_cast<HMENU>(INT_PTR(ui::FirstControlId + int(i))), instance, nullptr);
        if (!control)
            throw std::runtime_error(std::string("cannot create ") + c.name);
        SetPropW(control, NameProperty, const_cast<char *>(c.name));
        m_controls[i] = control;
        if (c.kind == Kind::TextBox && c.maxLength > 0)
            SendMessageW(control, EM_SETLIMITTEXT, WPARAM(c.maxLength), 0);
        if (c.kind == Kind::TextBox && !c.has(ui::ReadOnly) && !c.has(ui::MultiLine))
            SetWindowSubclass(control, SingleLineEntry, 1, 0);
        if (c.kind == Kind::TextBox && c.has(ui::MultiLine))
            SetWindowSubclass(control, NoSelectionOnTab, 1, 0);
    }
    if (DpiOf(m_window) != dpi) {
        LayOut(DpiOf(m_window), nullptr);
        return;
    }
    Dress(dpi);
    FitFrame(nullptr);
}

// The tooltips are set up once the window is on screen: a tooltip control is a
// window of its own, and the program starts sooner without waiting for it.
void Window::AddTooltips()
{
    if (m_tooltips || !m_window)
        return;
    m_tooltips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_window, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    for (std::size_t i = 0; m_tooltips && i < m_controls.size(); ++i) {
        const ui::Control &c = m_description.controls[i];
        if (c.tooltip.empty() || !m_controls[i])
            continue;
        std::wstring tip = Wide(c.tooltip); // the tooltip keeps a copy
        TTTOOLINFOW tool {};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = m_window;
        tool.uId = reinterpret_cast<UINT_PTR>(m_controls[i]);
        tool.lpszText = tip.data();
        SendMessageW(m_tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void Window::Destroy()
{
    if (m_window)
        DestroyWindow(m_window); // WM_NCDESTROY forgets the handles
}

std::u16string Window::Text(int control) const
{
    return TextOf(Control(control));
}

void Window::SetText(int control, std::u16string_view text)
{
    m_settingText = true;
    SetWindowTextW(Control(control), Wide(text).c_str());
    m_settingText = false;
    FitLabel(control);
}

void Window::SetVisible(int control, bool visible)
{
    ShowWindow(Control(control), visible ? SW_SHOWNA : SW_HIDE);
}

void Window::SetMaxLength(int control, int length)
{
    if (Is(control, Kind::TextBox) &&
        !m_description.controls[std::size_t(control)].has(ui::MultiLine))
        SendMessageW(Control(control), EM_SETLIMITTEXT, WPARAM(length), 0);
}

int Window::Caret(int control) const
{
    DWORD start = 0;
    DWORD end = 0;
    if (Is(control, Kind::TextBox))
        SendMessageW(Control(control), EM_GETSEL, WPARAM(&start), LPARAM(&end));
    return int(end);
}

void Window::SetCaret(int control, int position)
{
    if (Is(control, Kind::TextBox))
        SendMessageW(Control(control), EM_SETSEL, WPARAM(position), LPARAM(position));
}

void Window::SetFocus(int control)
{
    if (Is(control, Kind::TextBox) || Is(control, Kind::Button))
        ::SetFocus(Control(control));
}

bool Window::Is(int control, ui::Kind kind) const
{
    return Control(control) && m_description.controls[std::size_t(control)].kind == kind;
}

void Window::SetTitle(std::u16string_view title)
{
    SetWindowTextW(m_window, Wide(title).c_str());
}

void Window::FitLabel(int index)
{
    const ui::Control &c = m_description.controls[std::size_t(index)];
    const HWND label = Control(index);
    if (c.kind != Kind::Label || !c.has(ui::AutoSize) || GetWindowTextLengthW(label) == 0)
        return;
    const std::wstring text = Wide(TextOf(label));
    const HDC dc = GetDC(label);
    const HGDIOBJ previous = SelectObject(dc, m_font);
    RECT extent {};
    DrawTextW(dc, text.c_str(), int(text.size()), &extent, DT_CALCRECT | DT_NOPREFIX | DT_LEFT);
    SelectObject(dc, previous);
    ReleaseDC(label, dc);
    const int border = c.has(ui::Bordered) ? 2 * GetSystemMetrics(SM_CXBORDER) : 0;
    SetWindowPos(label, nullptr, 0, 0, extent.right + border, extent.bottom + border,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The font, the icon and the labels' sizes for `dpi`.
void Window::Dress(int dpi)
{
    m_dpi = dpi;
    const HFONT font = MessageFont(dpi);
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        if (!m_controls[i])
            continue;
        SendMessageW(m_controls[i], WM_SETFONT, WPARAM(font), FALSE);
        if (m_description.controls[i].kind == Kind::TextBox)
            SendMessageW(m_controls[i], EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                         MAKELPARAM(1, 1));
    }
    if (m_font)
        DeleteObject(m_font);
    m_font = font;
    // Pictures show the icon at the size for this DPI, not the 32 pixels of 96 DPI.
    const HICON icon = ApplicationIcon(MulDiv(32, dpi, 96), 0);
    for (std::size_t i = 0; i < m_controls.size(); ++i)
        if (m_controls[i] && m_description.controls[i].kind == Kind::Picture)
            SendMessageW(m_controls[i], STM_SETICON, WPARAM(icon), 0);
    if (m_pictureIcon)
        DestroyIcon(m_pictureIcon);
    m_pictureIcon = icon;
    for (std::size_t i = 0; i < m_controls.size(); ++i)
        if (m_controls[i])
            FitLabel(int(i));
}

void Window::LayOut(int dpi, const RECT *suggested)
{
    const auto px = [dpi](int twips) { return ui::TwipsToPixels(twips, dpi); };
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        const ui::Twips &place = m_description.controls[i].place;
        if (m_controls[i])
            SetWindowPos(m_controls[i], nullptr, px(place.left), px(place.top), px(place.width),
                         px(place.height), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Dress(dpi);
    const RECT frame = FrameFor(px(m_description.clientWidth), px(m_description.clientHeight), dpi);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    int x = 0;
    int y = 0;
    if (suggested) {
        x = suggested->left;
        y = suggested->top;
    } else if (m_description.placed) {
        x = px(m_description.screenLeft) + frame.left;
        y = px(m_description.screenTop) + frame.top;
    } else {
        flags |= SWP_NOMOVE;
    }
    SetWindowPos(m_window, nullptr, x, y, frame.right - frame.left, frame.bottom - frame.top,
                 flags);
    FitFrame(suggested);
    // New fonts and places: everything on screen is drawn afresh, the controls too
    // (the window clips its children, so invalidating it alone leaves their old
    // text). A window not yet shown is drawn whole when it is.
    if (IsWindowVisible(m_window))
        RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The system may draw another frame than it reckons with for this DPI (wine keeps
// its own); the client area is what must come out at its size and place.
void Window::FitFrame(const RECT *suggested)
{
    const auto px = [this](int twips) { return ui::TwipsToPixels(twips, m_dpi); };
    RECT outer;
    RECT client;
    POINT corner {0, 0};
    GetWindowRect(m_window, &outer);
    GetClientRect(m_window, &client);
    ClientToScreen(m_window, &corner);
    const bool place = m_description.placed && !suggested;
    const int dx = place ? px(m_description.screenLeft) - corner.x : 0;
    const int dy = place ? px(m_description.screenTop) - corner.y : 0;
    const int dw = px(m_description.clientWidth) - client.right;
    const int dh = px(m_description.clientHeight) - client.bottom;
    if (dx || dy || dw || dh)
        SetWindowPos(m_window, nullptr, outer.left + dx, outer.top + dy,
                     outer.right - outer.left + dw, outer.bottom - outer.top + dh,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

int Window::IndexOf(HWND control) const
{
    const auto found = std::find(m_controls.begin(), m_controls.end(), control);
    return found == m_controls.end() || !control ? -1 : int(found - m_controls.begin());
}

int Window::IndexWith(ui::Flag flag) const
{
    for (std::size_t i = 0; i < m_description.controls.size(); ++i)
        if (m_description.controls[i].has(flag))
            return int(i);
    return -1;
}

LRESULT Window::ControlColour(UINT message, HDC dc, HWND control)
{
    const LRESULT brush = DefWindowProcW(m_window, message, WPARAM(dc), LPARAM(control));
    const int index = IndexOf(control);
    if (index >= 0 && m_description.controls[std::size_t(index)].colour != ui::Colour::Default)
        SetTextColor(dc, ColourRef(m_description.controls[std::size_t(index)].colour));
    return brush;
}

void Window::Paint()
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(m_window, &paint);
    const auto px = [this](int twips) { return ui::TwipsToPixels(twips, m_dpi); };
    // Of two lines that overlap, the earlier one lies on top: draw it last.
    const auto &controls = m_description.controls;
    for (auto c = controls.rbegin(); c != controls.rend(); ++c) {
        if (c->kind != Kind::Line)
            continue;
        const int width = std::max(1, MulDiv(c->lineWidth, m_dpi, 96));
        const RECT line {px(c->place.left), px(c->place.top),
                         px(c->place.left) + px(c->place.width), px(c->place.top) + width};
        const HBRUSH brush = CreateSolidBrush(ColourRef(c->colour));
        FillRect(dc, &line, brush);
        DeleteObject(brush);
    }
    EndPaint(m_window, &paint);
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *self = reinterpret_cast<Window *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
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

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        if (m_settingText)
            return 0;
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        // Enter and Esc from the dialog keys: the default and the cancel button.
        const int role = id == IDOK ? IndexWith(ui::DefaultButton)
                : id == IDCANCEL    ? IndexWith(ui::CancelButton)
                                    : -1;
        if (role >= 0) {
            OnEvent(role, ui::Event::Click);
        } else if (id >= ui::FirstControlId && id < ui::FirstControlId + int(m_controls.size()) &&
                   (code == EN_CHANGE || code == BN_CLICKED)) {
            OnEvent(id - ui::FirstControlId,
                    code == EN_CHANGE ? ui::Event::Change : ui::Event::Click);
        }
        return 0;
    }
    case DM_GETDEFID: {
        // Enter presses the button that has the focus, else the default button.
        const int focused = IndexOf(GetFocus());
        const int pressed =
                focused >= 0 && m_description.controls[std::size_t(focused)].kind == Kind::Button
                ? focused
                : IndexWith(ui::DefaultButton);
        return pressed < 0 ? 0 : MAKELRESULT(ui::FirstControlId + pressed, DC_HASDEFID);
    }
    case WM_NEXTDLGCTL: {
        const HWND next = LOWORD(lParam)
                ? reinterpret_cast<HWND>(wParam)
                : GetNextDlgTabItem(m_window, GetFocus(), wParam != 0 ? TRUE : FALSE);
        if (next) {
            ::SetFocus(next);
            if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
                SendMessageW(next, EM_SETSEL, 0, -1);
        }
        return 0;
    }
    case WM_ACTIVATE:
        // Keep the focus on the control that had it when the window comes back.
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(m_window, focus))
                SetPropW(m_window, FocusProperty, focus);
        } else {
            auto focus = static_cast<HWND>(GetPropW(m_window, FocusProperty));
            if (!focus || !IsWindow(focus))
                focus = GetNextDlgTabItem(m_window, nullptr, FALSE);
            if (focus)
                ::SetFocus(focus);
        }
        return 0;
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
            PostMessageW(m_window, AddTooltipsMessage, 0, 0);
        break;
    case AddTooltipsMessage:
        AddTooltips();
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_NCDESTROY: {
        const HWND window = m_window;
        RemovePropW(window, FocusProperty);
        Forget();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

bool Window::RunUntilDestroyed()
{
    MSG message;
    while (m_window) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got < 0)
            throw std::runtime_error("the message loop failed");
        if (got == 0) {
            PostQuitMessage(int(message.wParam)); // for the loop this one runs in
            return false;
        }
        if (!DialogMessage(m_window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

bool DialogMessage(HWND window, MSG *message)
{
    const HWND focus = message->message == WM_SYSCHAR ? GetFocus() : nullptr;
    if (!IsDialogMessageW(window, message))
        return false;
    // The button may have ended the window, or opened and closed a dialog meanwhile.
    if (focus && IsWindow(focus) && IsWindowVisible(focus) && IsWindowEnabled(focus) &&
        GetFocus() != focus && GetForegroundWindow() == GetAncestor(focus, GA_ROOT))
        ::SetFocus(focus);
    return true;
}

void SetApplicationIcon(const wchar_t *resource)
{
    iconResource = resource;
}

void SetFailureHandler(FailureHandler handler)
{
    failureHandler = handler;
}

} // namespace velbrin::win32
