#pragma once

#include "app/common/window_win32.h"

#include <commctrl.h>

#include <functional>
#include <map>
#include <string>

// RECT lives in the global namespace, so its comparison must too.
inline bool operator==(const RECT &a, const RECT &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

namespace velbrin::test {

// Runs `action` from inside whatever message loop runs next (a modal dialog's,
// a message box's), once, after the loop has started.
inline void FromTheNextLoop(std::function<void()> action)
{
    static std::function<void()> pending;
    pending = std::move(action);
    SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        auto run = std::move(pending);
        run();
    });
}

// The exit status the program was told to end with, or -1 when it was not.
inline int TakeQuit()
{
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) ? int(message.wParam) : -1;
}

// A top-level window of this thread of the given class (and owner), or null.
inline HWND ThreadWindow(const wchar_t *className, HWND owner = nullptr)
{
    struct Search
    {
        const wchar_t *className;
        HWND owner;
        HWND found;
    } search {className, owner, nullptr};
    EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM data) {
                auto &s = *reinterpret_cast<Search *>(data);
                wchar_t name[64] = {};
                GetClassNameW(window, name, 64);
                if (std::wstring(name) == s.className &&
                    (!s.owner || GetWindow(window, GW_OWNER) == s.owner))
                    s.found = window;
                return s.found ? FALSE : TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A key as the message loop hands it to IsDialogMessage.
inline BOOL Key(HWND dialog, UINT message, WPARAM key)
{
    MSG msg {GetFocus() ? GetFocus() : dialog, message, key,
             message == WM_SYSCHAR ? LPARAM(1) << 29 : 0, 0, {}};
    return IsDialogMessageW(dialog, &msg);
}

inline RECT PlaceIn(HWND parent, HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

inline RECT Expected(const ui::Twips &place, int dpi)
{
    const auto px = [dpi](int twips) { return ui::TwipsToPixels(twips, dpi); };
    return {px(place.left), px(place.top), px(place.left) + px(place.width),
            px(place.top) + px(place.height)};
}

// The tooltips of a window's controls, read back from its tooltip control.
inline std::map<HWND, std::u16string> Tooltips(HWND window)
{
    std::map<HWND, std::u16string> tips;
    const HWND tooltips = ThreadWindow(TOOLTIPS_CLASSW, window);
    TTTOOLINFOW tool {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    for (int i = 0; tooltips && SendMessageW(tooltips, TTM_ENUMTOOLSW, i, LPARAM(&tool)); ++i) {
        wchar_t text[256] = {};
        tool.lpszText = text;
        SendMessageW(tooltips, TTM_GETTEXTW, 256, LPARAM(&tool));
        tips[reinterpret_cast<HWND>(tool.uId)] = reinterpret_cast<const char16_t *>(text);
    }
    return tips;
}

// The colour a control's text is drawn in.
inline COLORREF TextColour(HWND parent, HWND control, UINT message)
{
    const HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    SendMessageW(parent, message, WPARAM(dc), LPARAM(control));
    const COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
}

// Size of one line of `text` in the control's own font.
inline SIZE TextSize(HWND control, const std::wstring &text)
{
    const HDC dc = GetDC(control);
    const HGDIOBJ previous =
            SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size {};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return size;
}

inline int TextWidth(HWND control, const std::wstring &text)
{
    return TextSize(control, text).cx;
}

inline int ClientWidth(HWND control)
{
    RECT client;
    GetClientRect(control, &client);
    return client.right;
}

} // namespace velbrin::test
