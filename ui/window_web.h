// The page's side of a window (window.h): each window a framed block of the page
// (title bar, close box, client area), its controls absolutely placed DOM
// elements named by the controls' names. The DOM work is done by window_web.js,
// which reports keys, clicks and typing; what a key does is decided here, by the
// shared dialog rules.
//
// Layouts are written in twips and the page lays out in CSS pixels, 96 to the
// inch; the browser scales those for the screen itself.
#pragma once

#include "ui/dialog_rules.h"
#include "ui/window.h"

#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct velbrin::ui::Window::Native
{
    Native(Window &window, const WindowDescription &description, Frame frame);
    ~Native();

    Window &window;
    const WindowDescription &description;
    DialogRules rules;
    int id;
    std::function<void(int, Event)> events;
    std::function<void()> closing;
    std::vector<std::u16string> captions; // buttons' captions, "&" and all
    std::vector<bool> visible;
    Window *owner = nullptr; // while shown modally above it
    int ownerFocus = -1; // the owner's focused control then

    const Control &At(int control) const;
    // A key from the page: whether it was spent.
    bool Key(const ui::Key &key);
};

namespace velbrin::web {

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
