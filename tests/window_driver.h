// What the window tests see of a window and what they do to it, as a user would.
// Each front end's test program supplies a Driver; the tests written against it
// (windows_test.cpp) run on both.
#pragma once

#include "app/app_info.h"
#include "ui/window_model.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velbrin::test {

struct Pixels
{
    int left, top, width, height;
    bool operator==(const Pixels &) const = default;
};

// One control as shown.
struct Seen
{
    std::string name;
    Pixels place; // within the client area
    std::u16string text; // nothing when hidden; lines end in CR LF
    bool visible, bordered;
};

struct MessageBoxSeen
{
    std::u16string caption, text; // lines end in CR LF
    bool okOnly, icon;
};

struct AboutRun
{
    bool closedItself;
    std::vector<std::string> started; // what System Info started
};

enum class Key { Tab, BackTab, Enter, Escape, Backspace };

// Controls are named by their place in the window's description.
class Driver
{
public:
    virtual ~Driver() = default;
    virtual int Dpi() const { return 96; }
    virtual Pixels Client() const = 0; // with its place on the screen
    virtual std::u16string Title() const = 0;
    virtual bool FixedFrame() const = 0; // not resizable, no minimize or maximize box
    virtual bool TakesInput() const = 0; // false while a modal dialog holds it
    virtual Seen See(int index) const = 0;
    std::u16string Text(int index) const { return See(index).text; }
    virtual std::u16string Tooltip(int index) = 0; // what pops up under the mouse; "": none
    virtual int Caret(int index) const = 0;
    virtual std::uint32_t TextColour(int index) const = 0; // 0xRRGGBB
    virtual std::uint32_t Pixel(int x, int y) const = 0; // of the client area
    virtual int TextWidth(int index, std::u16string_view line) const = 0; // in its font
    virtual int LineHeight(int index) const = 0;
    virtual int Room(int index) const = 0; // the width a control has for its text
    virtual int Focus() const = 0; // -1: none of these controls

    virtual void Type(int index, std::u16string_view text) = 0;
    virtual void Paste(int index, std::u16string_view text) = 0;
    virtual void Select(int index, int from, int count) = 0;
    virtual void Press(Key key) = 0; // where the focus is
    virtual void Alt(char letter) = 0;
    virtual void Click(int index) = 0;
    virtual void CloseBox() = 0;
    // A failure escaping an event handler of the program, with this text.
    virtual void FailInAHandler(const char *what) = 0;
    // Does `action` in the program's message loop; the status the program then
    // ends with, or -1 when it goes on.
    virtual int Run(const std::function<void()> &action) = 0;
    // Opens About by `open` with a registry whose first lookup gives `sysInfoPath`
    // (none when empty) and does `inside` in its modal loop.
    virtual AboutRun InAbout(const std::function<void()> &open, const std::string &sysInfoPath,
                             const std::function<void(Driver &)> &inside) = 0;
    // Does `action` and reads, then closes, the message box it brings up.
    virtual MessageBoxSeen InMessageBox(const std::function<void()> &action) = 0;
};

// A shown main window, loaded with `info`; made by each front end's test program.
std::unique_ptr<Driver> OpenMain(const AppInfo &info = AppInfo::current());

// Every control where the description puts it at the window's DPI, inside the
// client area, no two boxes or buttons overlapping.
void CheckLayout(const Driver &window, const ui::WindowDescription &description);
// Every caption and fixed-length field fits its box in the window's font.
void CheckFits(const Driver &window, const ui::WindowDescription &description);

} // namespace velbrin::test
