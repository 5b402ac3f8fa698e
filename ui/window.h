// A window as the program's windows hold it, whatever draws it: built from its
// description, shown, shown modally, closed; it tells its owner of its controls'
// events and of its close box, shows message boxes and ends the program. Each
// toolkit implements it in its own file (window_qt.cpp, window_win32.cpp,
// window_web.cpp), chosen when the program is built, and asks the dialog rules
// (dialog_rules.h) what a key does.
#pragma once

#include "ui/window_model.h"
#include "ui/window_view.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace velbrin::ui {

// The program's own window, or a dialog above it.
enum class Frame { Main, Dialog };

class Window : public View
{
public:
    Window(const WindowDescription &description, Frame frame);
    ~Window();
    Window(const Window &) = delete;
    Window &operator=(const Window &) = delete;

    // A button pressed or an entry box's text changed by the user; and the frame's
    // close box (its system menu's Close, Alt+F4).
    void Connect(std::function<void(int control, Event event)> events,
                 std::function<void()> closing);

    void Show();
    // Shows the window above `owner`, which takes no input until it is closed, and
    // returns then; in a page, which cannot wait, it returns at once.
    void ShowModal(Window &owner);
    // Takes the window off the screen; a modal one gives the input back to its owner.
    void Close();
    // A modal message box with one OK button, above the window; `text` is in the
    // system's 8-bit encoding (UTF-8 in a page), lines joined by CR LF.
    void Tell(std::u16string_view caption, std::string_view text);
    // Ends the program with `status`, the window going with it.
    void EndProgram(int status);

    std::u16string Text(int control) const override;
    void SetText(int control, std::u16string_view text) override;
    void SetVisible(int control, bool visible) override;
    void SetMaxLength(int control, int length) override;
    int Caret(int control) const override;
    void SetCaret(int control, int position) override;
    void SetFocus(int control) override;
    bool IsShown(int control) const override;
    int Focus() const override;
    void SetTitle(std::u16string_view title) override;
    void Announce(std::u16string_view text) override;

    // The toolkit's side, as its own header declares it.
    struct Native;
    Native &native() const { return *m_native; }

private:
    std::unique_ptr<Native> m_native;
};

} // namespace velbrin::ui
