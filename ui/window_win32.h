// The Win32 side of a window (window.h): a window of a private dialog class, so
// that the system's dialog manager (DefDlgProcW, IsDialogMessageW) does Tab,
// Enter, Esc and the focus's return, asking the shared dialog rules where they
// decide; its controls are the system's own EDIT, STATIC and BUTTON windows,
// placed at the window's DPI in the system's message font.
//
// The window's procedure is in window_win32.cpp, the controls and their painting
// in window_controls_win32.cpp, DPI and fonts in window_dpi_win32.cpp.
#pragma once

#include "ui/dialog_rules.h"
#include "ui/window.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <exception>
#include <functional>
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
// The icon at `size` pixels. Shared ones (the standard sizes) stay loaded for the
// program's life; others belong to the caller.
HICON ApplicationIcon(int size, UINT shared = LR_SHARED);

// Runs the thread's messages, with the dialog keys of the program's windows,
// until the program is told to quit, and returns the status it is told; or,
// given a modal window's handle, until that is gone.
int MessageLoop(const HWND *modal = nullptr);

// No exception may unwind through the system's code: one that escapes a
// window's handler is handed to this. Without one, the message loop is told to
// end with status 1.
using FailureHandler = void (*)(std::exception_ptr failure);
void SetFailureHandler(FailureHandler handler);

// The DPI of a screen and of a window, the frame around a client area, the
// system's message font at a DPI.
int SystemDpi();
int DpiOf(HWND window);
RECT FrameFor(int clientWidth, int clientHeight, int dpi);
HFONT MessageFont(int dpi);

inline constexpr DWORD FrameStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
inline constexpr DWORD FrameExStyle = WS_EX_CONTROLPARENT;

} // namespace velbrin::win32

struct velbrin::ui::Window::Native
{
    Native(const WindowDescription &description, Frame frame);
    ~Native();

    const WindowDescription &description;
    const Frame frame;
    DialogRules rules;
    const View *view = nullptr; // what the rules read: the window
    std::function<void(int, Event)> events;
    std::function<void()> closing;

    HWND handle = nullptr; // made when first needed, destroyed when a dialog closes
    HWND owner = nullptr; // while shown modally above it
    HWND tooltips = nullptr;
    HWND pendingFocus = nullptr; // to focus once shown
    HFONT font = nullptr;
    HICON pictureIcon = nullptr; // at the window's DPI
    std::vector<HWND> controls;
    int dpi = 96;
    bool settingText = false; // the change notifications it brings are not handled

    // The window, made hidden if it is not yet.
    HWND Made();
    HWND Control(int index);
    int IndexOf(HWND control) const;
    bool Is(int control, Kind kind);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Forget();

    // window_controls_win32.cpp
    void MakeControls();
    void AddTooltips();
    void NameForScreenReaders();
    LRESULT ControlColour(UINT message, HDC dc, HWND control);
    void Paint();

    // window_dpi_win32.cpp
    void LayOut(int newDpi, const RECT *suggested);
    void Dress(int newDpi);
    void FitFrame(const RECT *suggested);
    void FitLabel(int index);
    void FitButton(int index);
};
