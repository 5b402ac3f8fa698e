// The floor for the start-up benchmark: the main window's twenty controls made
// the way a plain hand-written program makes them, in one pass over the
// description with the system's own classes and font, and nothing more (no
// sizing to captions, tab order, tooltips or accessible names).
#include "main_window/main_window_model.h"
#include "ui/window_model.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <commctrl.h>

#include <string>

namespace {

using velbrin::ui::Control;
using velbrin::ui::Kind;

constexpr DWORD FrameStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD FrameExStyle = WS_EX_CONTROLPARENT;

struct ControlClass
{
    const wchar_t *name; // nullptr: nothing to make
    DWORD style;
    DWORD exStyle;
};

ControlClass ClassFor(const Control &c)
{
    switch (c.kind) {
    case Kind::Label:
        return {L"STATIC",
                DWORD(SS_LEFT | SS_NOPREFIX | (c.has(velbrin::ui::Bordered) ? WS_BORDER : 0)), 0};
    case Kind::Picture:
        return {L"STATIC", SS_ICON, 0};
    case Kind::Button:
        return {L"BUTTON",
                DWORD(WS_TABSTOP |
                      (c.has(velbrin::ui::DefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)),
                0};
    case Kind::TextBox:
        if (c.has(velbrin::ui::MultiLine))
            return {L"EDIT", WS_TABSTOP | ES_MULTILINE | WS_VSCROLL | ES_READONLY,
                    WS_EX_CLIENTEDGE};
        if (c.has(velbrin::ui::ReadOnly))
            return {L"EDIT", WS_TABSTOP | WS_BORDER | ES_READONLY, 0};
        return {L"EDIT", WS_TABSTOP, WS_EX_CLIENTEDGE};
    case Kind::Line:
        break;
    }
    return {nullptr, 0, 0};
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX commonControls {sizeof commonControls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&commonControls);
    WNDCLASSW windowClass {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    windowClass.lpszClassName = L"FloorWindow";
    RegisterClassW(&windowClass);

    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const auto pixels = [dpi](int twips) { return velbrin::ui::TwipsToPixels(twips, dpi); };
    NONCLIENTMETRICSW metrics {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);

    const auto &description = velbrin::main_window::Description();
    RECT frame {0, 0, pixels(description.clientWidth), pixels(description.clientHeight)};
    AdjustWindowRectEx(&frame, FrameStyle, FALSE, FrameExStyle);
    const HWND window =
            CreateWindowExW(FrameExStyle, L"FloorWindow", L"Floor", FrameStyle, CW_USEDEFAULT, 0,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                            instance, nullptr);
    int id = velbrin::ui::FirstControlId;
    for (const Control &c : description.controls) {
        const ControlClass kind = ClassFor(c);
        const int controlId = id++;
        if (!kind.name)
            continue;
        const std::wstring caption(c.caption.begin(), c.caption.end());
        const DWORD style = WS_CHILD | kind.style | (c.has(velbrin::ui::Hidden) ? 0 : WS_VISIBLE);
        const HWND control = CreateWindowExW(
                kind.exStyle, kind.name, caption.c_str(), style, pixels(c.place.left),
                pixels(c.place.top), pixels(c.place.width), pixels(c.place.height), window,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (c.maxLength > 0)
            SendMessageW(control, EM_SETLIMITTEXT, WPARAM(c.maxLength), 0);
    }
    ShowWindow(window, SW_SHOW);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DeleteObject(font);
    return 0;
}
