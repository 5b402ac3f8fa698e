// What the window tests do to a window, as a user would, and what they read back
// from it, as a user and a screen reader meet it. Each front end's test program
// supplies a Driver; the scenarios written against it (windows_test.cpp) run on
// every front end, and what they see is held against approved files.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velbrin::test {

struct Rect
{
    int left = 0, top = 0, width = 0, height = 0;
};

// A window (its title as text, its client area on the screen) or one of its
// controls (its place within the client area).
struct Seen
{
    int index = -1; // in the window's description; -1: the window
    std::string name, role;
    std::u16string heard, description; // what a screen reader says
    Rect place;
    std::u16string text; // lines end in CR LF; a button's with its "&"
    std::uint32_t colour = 0; // of the text, 0xRRGGBB
    std::u16string tooltip; // as the control registers it
    int selectionStart = -1, selectionEnd = -1; // -1: no text to select
    int scrolled = 0; // lines scrolled out of view at the top
    bool visible = true, focused = false, readOnly = false;
    std::string frame = {}; // a window's: its boxes and whether it can be resized (Frame())
    std::u16string announced = {}; // a window's: what it last told a screen reader unasked
};

// A window frame as a user meets it.
std::string Frame(bool closeBox, bool minimizeBox, bool maximizeBox, bool resizable);

struct MessageBoxSeen
{
    std::u16string caption, text;
    std::string buttons; // "OK"
    std::string icon; // its kind: "error", "warning", "information", "question"; "" for none
};

class Driver
{
public:
    virtual ~Driver() = default;
    // The program's topmost window (About while it is open), then its controls in
    // the order a screen reader reads them.
    virtual std::vector<Seen> Dump() = 0;
    virtual std::optional<MessageBoxSeen> MessageBox() = 0; // the one on top, if any
    virtual std::string Shot() = 0; // the topmost window's client area, as PNG
    // Lays the topmost window out at this many times its normal size; false when
    // the front end takes its scale for a whole run (Qt: QT_SCALE_FACTOR).
    virtual bool Rescale(double scale) = 0;
    // Takes each step as a user would, in the program's own event loop, and calls
    // `after` once the program has handled it; returns the status the program
    // then ends with, or -1 when it goes on. Steps:
    //   type TEXT | paste TEXT | select CONTROL FROM COUNT | click CONTROL |
    //   key Tab|BackTab|Enter|Escape|Backspace | alt LETTER | close | fail TEXT
    // (close: the window's close box; fail: a failure escaping a handler); the
    // page's also: phone WIDTH HEIGHT | tap CONTROL | compose TEXT | commit TEXT
    // (a touch screen of that size; a keyboard composing a word, and ending it).
    virtual int Play(const std::vector<std::u16string> &steps,
                     const std::function<void(std::size_t step)> &after) = 0;
};

// A shown main window; made by each front end's test program.
std::unique_ptr<Driver> OpenMain();
// Whether the front end is the page, which finds no System Information program to
// start, and alone runs on a phone.
extern const bool isThePage;

// A dump as the approved files hold it.
std::string Dumped(const std::vector<Seen> &seen);

// One step, split: its verb, and its control or text.
struct Step
{
    std::string verb, control;
    std::u16string text;
    int from = 0, count = 0;
};
Step Parse(const std::u16string &step);

} // namespace velbrin::test
