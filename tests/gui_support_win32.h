#pragma once

#include "app/common/window_win32.h"
#include "window_checks.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>

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
inline BOOL DialogKey(HWND dialog, UINT message, WPARAM key)
{
    MSG msg {GetFocus() ? GetFocus() : dialog,
             message,
             key,
             message == WM_SYSCHAR ? LPARAM(1) << 29 : 0,
             0,
             {}};
    return IsDialogMessageW(dialog, &msg);
}

inline RECT PlaceIn(HWND parent, HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
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
        GetClientRect(m_window.Handle(), &client);
        POINT corner {0, 0};
        ClientToScreen(m_window.Handle(), &corner);
        return {corner.x, corner.y, client.right, client.bottom};
    }
    std::u16string Title() const override { return win32::TextOf(m_window.Handle()); }
    std::string Name(int i) const override
    {
        return static_cast<const char *>(GetPropW(at(i), L"VelbrinName"));
    }
    Pixels Place(int i) const override
    {
        const RECT r = PlaceIn(m_window.Handle(), at(i));
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    std::u16string Text(int i) const override
    {
        return Visible(i) ? win32::TextOf(at(i)) : std::u16string();
    }
    std::u16string Tooltip(int i) const override
    {
        MSG message; // the tooltips come once the window is shown and its messages run
        while (PeekMessageW(&message, m_window.Handle(), 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        return Tooltips(m_window.Handle())[at(i)];
    }
    bool Visible(int i) const override { return Style(i) & WS_VISIBLE; }
    bool ReadOnly(int i) const override { return Style(i) & ES_READONLY; }
    bool MultiLine(int i) const override { return Style(i) & ES_MULTILINE; }
    bool Bordered(int i) const override { return Style(i) & WS_BORDER; }
    int MaxLength(int i) const override { return int(SendMessageW(at(i), EM_GETLIMITTEXT, 0, 0)); }
    int Focus() const override { return IndexOf(GetFocus()); }
    std::vector<int> TabOrder() const override
    {
        std::vector<int> order;
        const HWND first = GetFocus();
        HWND control = first;
        do {
            order.push_back(IndexOf(control));
            control = GetNextDlgTabItem(m_window.Handle(), control, FALSE);
        } while (control != first && order.size() < 40);
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
        auto *units = static_cast<char16_t *>(GlobalLock(data));
        *std::copy(text.begin(), text.end(), units) = 0;
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
        DialogKey(m_window.Handle(), WM_KEYDOWN, vk[int(key)]);
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
    void Alt(char letter) override { DialogKey(m_window.Handle(), WM_SYSCHAR, WPARAM(letter)); }

private:
    HWND at(int i) const { return m_window.Control(i); }
    LONG Style(int i) const { return GetWindowLongW(at(i), GWL_STYLE); }
    int IndexOf(HWND control) const
    {
        for (int i = 0; control && m_window.IsCreated() && i < 64; ++i)
            if (GetDlgItem(m_window.Handle(), ui::FirstControlId + i) == control)
                return i;
        return -1;
    }

    const win32::Window &m_window;
};

} // namespace velbrin::test
