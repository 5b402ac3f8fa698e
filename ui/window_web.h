// The browser front end's side of a window description: each window a framed
// block of the page (title bar, close box, client area), its controls absolutely
// placed DOM elements named by the controls' names, and the dialog keys (Tab,
// access keys, Enter and Esc) handled by the page as the desktop handles them.
// The DOM work is done by window_web.js; this side keeps the description, the
// texts' conventions and the boundary that no C++ exception crosses.
//
// Layouts are written in twips and the page lays out in CSS pixels, 96 to the
// inch; the browser scales those for the screen itself.
#pragma once

#include "ui/window_model.h"
#include "ui/window_view.h"

#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velbrin::web {

// How a window stands in the page: the program's own window, at the page's corner,
// whose caption is the page's title; or a modal dialog above it.
enum class Frame { Main, Dialog };

class Window : public ui::View
{
public:
    Window(const ui::WindowDescription &description, Frame frame);
    virtual ~Window();
    Window(const Window &) = delete;
    Window &operator=(const Window &) = delete;

    // Shows the window; a dialog takes all input until it is hidden, and then the
    // control that had the focus before gets it back.
    void Show();
    void Hide();

    // The view the handlers work through.
    std::u16string Text(int control) const override;
    void SetText(int control, std::u16string_view text) override;
    void SetVisible(int control, bool visible) override;
    void SetMaxLength(int control, int length) override;
    int Caret(int control) const override;
    void SetCaret(int control, int position) override;
    void SetFocus(int control) override;
    void SetTitle(std::u16string_view title) override;
    void Announce(std::u16string_view text) override;

    // From the page: an event of a control, the frame's close box, a paste into a
    // box (its clipboard text, whole).
    void Handle(int control, ui::Event event);
    void HandleClose();
    void Paste(int control, std::u16string_view text);

protected:
    virtual void OnEvent(int index, ui::Event event) = 0;
    // The frame's close box.
    virtual void OnClose() = 0;

    const ui::WindowDescription &m_description;

private:
    const ui::Control &At(int control) const;

    int m_id;
    std::vector<std::u16string> m_captions; // buttons' captions, "&" and all
};

enum class MessageIcon { None, Error };

// A modal message box with one OK button; `text` is UTF-8, lines joined by CR LF.
// `closed` runs once it is closed.
void MessageBox(std::u16string_view caption, std::string_view text, MessageIcon icon,
                std::function<void()> closed = {});

// The windows take no more input; a message box shown after still does.
void StopInput();

// Ends the program: the page drops its windows, says so with `SetEndedNote`'s
// text and records `status` as the root element's data-exit-status.
void SetEndedNote(std::u16string_view note);
void EndProgram(int status);

// No exception may unwind into the page's script: one that escapes a handler is
// handed to this. Without one, the program ends with status 1.
using FailureHandler = void (*)(std::exception_ptr failure);
void SetFailureHandler(FailureHandler handler);

} // namespace velbrin::web
