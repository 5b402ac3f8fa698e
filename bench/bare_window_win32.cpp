// The floor for the start-up benchmark: a bare window with the main window's
// frame and client size, shown, and its message loop.
#include "main_window/main_window_model.h"
#include "ui/window_model.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSW windowClass {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    windowClass.lpszClassName = L"BareWindow";
    RegisterClassW(&windowClass);
    const auto &description = velbrin::main_window::Description();
    RECT frame {0, 0, velbrin::ui::TwipsToPixels(description.clientWidth, 96),
                velbrin::ui::TwipsToPixels(description.clientHeight, 96)};
    AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU, FALSE, 0);
    const HWND window =
            CreateWindowExW(0, L"BareWindow", L"Bare", WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, 0,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                            instance, nullptr);
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
