// The Win32 front end's side of a window description: one top-level window with
// a fixed dialog frame, its controls made of the system's own EDIT, STATIC and
// BUTTON classes, placed at the window's DPI in the system's message font, with
// tooltips, text colours, line shapes and the dialog keys (Tab, access keys,
// Enter and Esc) through IsDialogMessage.
#pragma once

#include "ui/window_model.h"
#include "ui/window_view.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace velbrin::win32 {

std::wstring Wide(std::u16string_view text);
std::wstring FromUtf8(std::string_view text);
std::wstring FromAnsi(std::string_view text);
std::u16string TextOf(HWND window);

// The application icon: the name under which the program stores it in its
// resources, handed over before a window is made.
void SetApplicationIcon(const wchar_t *resource);

class Window : public ui::View
{
public:
    explicit Window(const ui::WindowDescription &description);
    virtual ~Window();
    Window(const Window &) = delete;
    Window &operator=(const Window &) = delete;

    // Creates the window and its controls, hidden; an owned window stays above
    // its owner and comes forward with it.
    void Create(HWND owner = nullptr);
    // Destroys the window; Create() makes it anew.
    void Destroy();
    bool IsCreated() const { return m_window != nullptr; }

    HWND Handle() const { return m_window; }
    HWND Control(int index) const { return m_controls.at(std::size_t(index)); }
    int Dpi() const { return m_dpi; }

    // The view the handlers work through.
    std::u16string Text(int control) const override;
    void SetText(int control, std::u16string_view text) override;
    void SetVisible(int control, bool visible) override;
    void SetMaxLength(int control, int length) override;
    int Caret(int control) const override;
    void SetCaret(int control, int position) override;
    void SetFocus(int control) override;
    void SetTitle(std::u16string_view title) override;

    // The controls' tooltips; done by itself once the window is first shown.
    void AddTooltips();

    // Runs the messages of the thread until the window is destroyed or the
    // program is told to quit. Returns false when the program is to quit.
    bool RunUntilDestroyed();

protected:
    // A button pressed, an edit box's text changed.
    virtual void OnEvent(int index, ui::Event event) = 0;
    // The window's close box, its system menu's Close or Alt+F4.
    virtual void OnClose() = 0;

    const ui::WindowDescription &m_description;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT ControlColour(UINT message, HDC dc, HWND control);
    void Paint();
    void LayOut(int dpi, const RECT *suggested);
    void Dress(int dpi);
    void FitFrame(const RECT *suggested);
    void FitLabel(int index);
    void Forget();
    int IndexOf(HWND control) const;
    bool Is(int control, ui::Kind kind) const;
    int IndexWith(ui::Flag flag) const;

    HWND m_window = nullptr;
    HWND m_tooltips = nullptr;
    HFONT m_font = nullptr;
    HICON m_pictureIcon = nullptr; // at the window's DPI
    std::vector<HWND> m_controls;
    int m_dpi = 96;
    bool m_settingText = false; // the change notifications it brings are not handled
};

// IsDialogMessage for the program's message loops, except that an access key
// presses its button without moving the focus there, as in the Qt program:
// typing goes on where it was, and the next letter is no access key of a button
// left focused. A button the user focused by Tab or click keeps it.
bool DialogMessage(HWND window, MSG *message);

// No exception may unwind through the system's code: one that escapes a
// window's handler is handed to this. Without one, the message loop is told to
// end with status 1.
using FailureHandler = void (*)(std::exception_ptr failure);
void SetFailureHandler(FailureHandler handler);

} // namespace velbrin::win32
