// How a window built from a description answers the keyboard, decided here once
// for every toolkit: each reports a key and what its window shows, and applies
// the answer. The rules are those of the desktop's dialogs:
//
//   Tab, Shift+Tab   the next (previous) shown tab stop, round the end; a one-line
//                    box reached so is selected whole
//   Enter            presses the focused button, else the default button, if any;
//                    in an entry box it does nothing (scanners end an identifier
//                    with it)
//   Esc              presses the cancel button, if any
//   Alt+letter       presses the shown button that underlines the letter, leaving
//                    the focus where it is; a letter no shown button owns does
//                    nothing, and in no case is the letter typed
//
// and a window that gets the focus back (a modal one above it closed) gives it to
// the control that had it, if that is still shown, else to its first tab stop.
#pragma once

#include "ui/window_model.h"
#include "ui/window_view.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velbrin::ui {

struct Key
{
    enum Name { Tab, Enter, Escape, Letter, Other } name = Other;
    char32_t letter = 0; // for Letter: the character the key types, any case
    bool shift = false, alt = false, control = false; // AltGr is no Alt: it types
};

// What a key does: the control to focus (and whether to select its text whole),
// the button to press, and whether the key is spent, so that the control it went
// to never sees it.
struct Answer
{
    int focus = -1;
    bool selectAll = false;
    int press = -1;
    bool spent = false;
};

class DialogRules
{
public:
    explicit DialogRules(const WindowDescription &description);

    // The text boxes and buttons in the order Tab walks them, shown or not.
    const std::vector<int> &TabStops() const { return m_stops; }
    // The order the controls are made in on a system whose dialog keys walk the
    // controls in that order, and whose screen reader names a box from the label
    // made just before it: the tab order (controls without a tab position first),
    // each label that names a box (its caption is what the box is heard as) moved
    // to just before that box.
    std::vector<int> MakingOrder() const;

    Answer Decide(const Key &key, const View &window) const;
    // Where the focus goes when the window is active again; `had` held it before.
    int FocusOnReturn(int had, const View &window) const;

private:
    std::function<bool(int, int)> TabOrder() const;
    bool Showing(int control, const View &window) const;
    int Stop(int from, bool back, const View &window) const;

    const WindowDescription &m_description;
    std::vector<int> m_stops;
};

// A caption as drawn: "&" marks the next character as the access key (the first
// so marked counts), "&&" is a "&" of its own.
struct Caption
{
    std::u16string text;
    int accessKey = -1; // its place in `text`, or -1
};
Caption Shown(std::u16string_view caption);

// The program's texts break lines with CR LF; toolkits that break at LF alone
// take and give them so.
std::u16string WithLf(std::u16string_view text);
std::string WithLf(std::string_view text);
std::u16string WithCrLf(std::u16string_view text);

// A button too narrow for its caption grows to the left, keeping its right edge:
// its new left edge, given how wide the caption needs it to be.
constexpr int GrownLeft(int left, int width, int needed)
{
    return needed > width ? left + width - needed : left;
}

} // namespace velbrin::ui
