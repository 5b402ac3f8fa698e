// What a window's handlers need of the window: a few operations on its controls,
// named by their place in the window's description. The handlers are written
// once over this; each toolkit implements it.
#pragma once

#include <string>
#include <string_view>

namespace velbrin::ui {

class View
{
public:
    // Texts break lines with CR LF, whatever the toolkit draws.
    virtual std::u16string Text(int control) const = 0;
    // A box's text or a label's caption (a label that sizes itself takes the
    // size of its text). The box's change handler does not run for it.
    virtual void SetText(int control, std::u16string_view text) = 0;
    virtual void SetVisible(int control, bool visible) = 0;
    virtual void SetMaxLength(int control, int length) = 0;
    virtual int Caret(int control) const = 0;
    virtual void SetCaret(int control, int position) = 0;
    virtual void SetFocus(int control) = 0;
    virtual void SetTitle(std::u16string_view title) = 0;

protected:
    ~View() = default;
};

} // namespace velbrin::ui
