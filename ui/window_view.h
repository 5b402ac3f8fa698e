// What a window's handlers need of the window: a few operations on its controls,
// named by their place in the window's description. The handlers are written
// once over this; each toolkit implements it, and all of them alike:
//
//   operation      takes                              on any other control
//   Text           labels, text boxes, buttons        the empty text
//   SetText        labels, text boxes, buttons        nothing
//   SetVisible     every control but a line           nothing
//   SetMaxLength   single-line text boxes             nothing
//   Caret          text boxes                         0
//   SetCaret       text boxes                         nothing
//   SetFocus       text boxes and buttons             nothing
//   IsShown        every control but a line           false
//
// A control outside the description is a programming error and throws
// std::out_of_range.
#pragma once

#include <string>
#include <string_view>

namespace velbrin::ui {

class View
{
public:
    // Texts break lines with CR LF, whatever the toolkit draws. A button's text
    // is its caption with its "&".
    virtual std::u16string Text(int control) const = 0;
    // A box's text, a label's or a button's caption (a label that sizes itself
    // takes the size of its text). The box's change handler does not run for it.
    virtual void SetText(int control, std::u16string_view text) = 0;
    virtual void SetVisible(int control, bool visible) = 0;
    virtual void SetMaxLength(int control, int length) = 0;
    // The caret's place in a box: the end of its selection, counted in UTF-16 units.
    virtual int Caret(int control) const = 0;
    // Puts the caret there, leaving nothing selected.
    virtual void SetCaret(int control, int position) = 0;
    virtual void SetFocus(int control) = 0;
    // Whether the control is on screen and takes input, as far as its window goes.
    virtual bool IsShown(int control) const = 0;
    // The control that has the focus within the window, or -1.
    virtual int Focus() const = 0;
    virtual void SetTitle(std::u16string_view title) = 0;
    // Tells a screen reader `text` once, politely, leaving the focus where it is.
    // A toolkit that has no way to do so without moving the focus says nothing.
    virtual void Announce(std::u16string_view) { }

protected:
    ~View() = default;
};

} // namespace velbrin::ui
