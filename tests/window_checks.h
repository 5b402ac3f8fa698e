// Checks that hold for both front ends, written once against a Driver: each
// front end's tests supply one that reads its controls and acts as a user would.
#pragma once

#include "app/common/window_model.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace velbrin::test {

struct Pixels
{
    int left, top, width, height;
    bool operator==(const Pixels &) const = default;
};

enum class Key { Tab, BackTab, Enter, Escape, Backspace };

class Driver
{
public:
    virtual ~Driver() = default;
    virtual int Dpi() const { return 96; }
    virtual Pixels Client() const = 0; // the window's client area, with its place on screen
    virtual std::u16string Title() const = 0;
    // A control, by its place in the window's description.
    virtual std::string Name(int index) const = 0;
    virtual Pixels Place(int index) const = 0; // within the client area
    virtual std::u16string Text(int index) const = 0; // what shows; nothing when hidden
    virtual std::u16string Tooltip(int index) const = 0;
    virtual bool Visible(int index) const = 0;
    virtual bool ReadOnly(int index) const = 0;
    virtual bool MultiLine(int index) const = 0;
    virtual bool Bordered(int index) const = 0;
    virtual int MaxLength(int index) const = 0;
    virtual int Focus() const = 0; // index of the control with the focus, or -1
    virtual std::vector<int> TabOrder() const = 0; // from the first control with the focus
    // What a user does.
    virtual void Type(int index, std::u16string_view text) = 0;
    virtual void Paste(int index, std::u16string_view text) = 0;
    virtual void Select(int index, int from, int count) = 0;
    virtual void Press(Key key) = 0; // where the focus is
    virtual void Alt(char letter) = 0;
};

inline Pixels Scaled(const ui::Twips &place, int dpi)
{
    const auto px = [dpi](int twips) { return ui::TwipsToPixels(twips, dpi); };
    return {px(place.left), px(place.top), px(place.width), px(place.height)};
}

// Every control is made as the description says.
inline void CheckBuiltFrom(const Driver &window, const ui::Window &description)
{
    const int dpi = window.Dpi();
    const Pixels client = window.Client();
    EXPECT_EQ(client.width, ui::TwipsToPixels(description.clientWidth, dpi));
    EXPECT_EQ(client.height, ui::TwipsToPixels(description.clientHeight, dpi));
    if (description.placed) {
        EXPECT_EQ(client.left, ui::TwipsToPixels(description.screenLeft, dpi));
        EXPECT_EQ(client.top, ui::TwipsToPixels(description.screenTop, dpi));
    }
    for (std::size_t i = 0; i < description.controls.size(); ++i) {
        const ui::Control &c = description.controls[i];
        const int index = int(i);
        SCOPED_TRACE(c.name);
        if (c.kind == ui::Kind::Line)
            continue;
        EXPECT_EQ(window.Name(index), c.name);
        const Pixels place = window.Place(index), expected = Scaled(c.place, dpi);
        EXPECT_EQ(place.top, expected.top);
        if (c.kind == ui::Kind::Button) { // may grow to the left to fit its caption
            EXPECT_EQ(place.left + place.width, expected.left + expected.width);
            EXPECT_EQ(place.height, expected.height);
            EXPECT_EQ(window.Text(index), c.has(ui::Hidden) ? u"" : c.caption);
        } else if (c.has(ui::AutoSize)) {
            EXPECT_EQ(place.left, expected.left);
        } else {
            EXPECT_EQ(place, expected);
        }
        EXPECT_EQ(window.Tooltip(index), c.tooltip);
        EXPECT_EQ(window.Visible(index), !c.has(ui::Hidden));
        if (c.kind == ui::Kind::TextBox) {
            EXPECT_EQ(window.ReadOnly(index), c.has(ui::ReadOnly));
            EXPECT_EQ(window.MultiLine(index), c.has(ui::MultiLine));
            if (c.maxLength) {
                EXPECT_EQ(window.MaxLength(index), c.maxLength);
            }
        }
        if (c.kind == ui::Kind::Label) {
            EXPECT_EQ(window.Bordered(index), c.has(ui::Bordered));
        }
    }
}

inline std::vector<std::string> TabOrderNames(const Driver &window)
{
    std::vector<std::string> names;
    for (const int index : window.TabOrder())
        names.push_back(window.Name(index));
    return names;
}

} // namespace velbrin::test
