// A Win32 window at its screen's DPI: its frame, font, icon and controls' places
// for that DPI, laid out anew when it moves to a screen of another.
#include "ui/window_win32.h"

#include <algorithm>

namespace velbrin::win32 {
namespace {

// Functions of newer Windows versions, looked up so that the program still starts
// where they are missing.
template<typename Function> Function User32(const char *name)
{
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

} // namespace

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

// The font the system's own dialogs use.
HFONT MessageFont(int dpi)
{
    using ParametersFn = BOOL(WINAPI *)(UINT, UINT, void *, UINT, UINT);
    static const auto forDpi = User32<ParametersFn>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics {};
    metrics.cbSize = sizeof metrics;
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, UINT(dpi)))
        return CreateFontIndirectW(&metrics.lfMessageFont);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

} // namespace velbrin::win32

namespace velbrin::ui {

using namespace win32;

namespace {

// How wide `text` is drawn in `font`, and how high: measured on a memory DC,
// which spares the display a device context per control.
SIZE Extent(HFONT font, const std::wstring &text, UINT format)
{
    static const HDC dc = CreateCompatibleDC(nullptr); // for the program's life
    const HGDIOBJ previous = SelectObject(dc, font);
    RECT extent {};
    DrawTextW(dc, text.c_str(), int(text.size()), &extent, DT_CALCRECT | DT_LEFT | format);
    SelectObject(dc, previous);
    return {extent.right, extent.bottom};
}

} // namespace

void Window::Native::FitLabel(int index)
{
    const ui::Control &c = description.controls[std::size_t(index)];
    const HWND label = controls[std::size_t(index)];
    if (c.kind != Kind::Label || !c.has(AutoSize) || GetWindowTextLengthW(label) == 0)
        return;
    const SIZE size = Extent(font, Wide(TextOf(label)), DT_NOPREFIX);
    const int border = c.has(Bordered) ? 2 * GetSystemMetrics(SM_CXBORDER) : 0;
    SetWindowPos(label, nullptr, 0, 0, size.cx + border, size.cy + border,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A button too narrow for its caption grows to the left, as in the other front
// ends: its caption with the margins the system's buttons keep.
void Window::Native::FitButton(int index)
{
    const ui::Control &c = description.controls[std::size_t(index)];
    const HWND button = controls[std::size_t(index)];
    if (c.kind != Kind::Button)
        return;
    const int needed = Extent(font, Wide(TextOf(button)), 0).cx +
            2 * (MulDiv(3, dpi, 96) + GetSystemMetrics(SM_CXEDGE));
    const int left = TwipsToPixels(c.place.left, dpi), width = TwipsToPixels(c.place.width, dpi);
    const int grown = GrownLeft(left, width, needed);
    SetWindowPos(button, nullptr, grown, TwipsToPixels(c.place.top, dpi), left + width - grown,
                 TwipsToPixels(c.place.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

// The font, the icon and the labels' and buttons' sizes for `newDpi`.
void Window::Native::Dress(int newDpi)
{
    dpi = newDpi;
    const HFONT newFont = MessageFont(dpi);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (!controls[i])
            continue;
        SendMessageW(controls[i], WM_SETFONT, WPARAM(newFont), FALSE);
        if (description.controls[i].kind == Kind::TextBox)
            SendMessageW(controls[i], EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                         MAKELPARAM(1, 1));
    }
    if (font)
        DeleteObject(font);
    font = newFont;
    // Pictures show the icon at the size for this DPI, not the 32 pixels of 96 DPI.
    const HICON icon = ApplicationIcon(MulDiv(32, dpi, 96), 0);
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i] && description.controls[i].kind == Kind::Picture)
            SendMessageW(controls[i], STM_SETICON, WPARAM(icon), 0);
    if (pictureIcon)
        DestroyIcon(pictureIcon);
    pictureIcon = icon;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i]) {
            FitLabel(int(i));
            FitButton(int(i));
        }
    }
}

void Window::Native::LayOut(int newDpi, const RECT *suggested)
{
    const auto px = [newDpi](int twips) { return TwipsToPixels(twips, newDpi); };
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Twips &place = description.controls[i].place;
        if (controls[i])
            SetWindowPos(controls[i], nullptr, px(place.left), px(place.top), px(place.width),
                         px(place.height), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Dress(newDpi);
    const RECT frame = FrameFor(px(description.clientWidth), px(description.clientHeight), newDpi);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    int x = 0;
    int y = 0;
    if (suggested) {
        x = suggested->left;
        y = suggested->top;
    } else if (description.placed) {
        x = px(description.screenLeft) + frame.left;
        y = px(description.screenTop) + frame.top;
    } else {
        flags |= SWP_NOMOVE;
    }
    SetWindowPos(handle, nullptr, x, y, frame.right - frame.left, frame.bottom - frame.top, flags);
    FitFrame(suggested);
    // New fonts and places: everything on screen is drawn afresh, the controls too
    // (the window clips its children, so invalidating it alone leaves their old
    // text). A window not yet shown is drawn whole when it is.
    if (IsWindowVisible(handle))
        RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The system may draw another frame than it reckons with for this DPI (wine keeps
// its own); the client area is what must come out at its size and place.
void Window::Native::FitFrame(const RECT *suggested)
{
    const auto px = [this](int twips) { return TwipsToPixels(twips, dpi); };
    RECT outer;
    RECT client;
    POINT corner {0, 0};
    GetWindowRect(handle, &outer);
    GetClientRect(handle, &client);
    ClientToScreen(handle, &corner);
    const bool place = description.placed && !suggested;
    const int dx = place ? px(description.screenLeft) - corner.x : 0;
    const int dy = place ? px(description.screenTop) - corner.y : 0;
    const int dw = px(description.clientWidth) - client.right;
    const int dh = px(description.clientHeight) - client.bottom;
    if (dx || dy || dw || dh)
        SetWindowPos(handle, nullptr, outer.left + dx, outer.top + dy,
                     outer.right - outer.left + dw, outer.bottom - outer.top + dh,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace velbrin::ui
