// A window described as data: every control with its kind, caption, place in
// twips, tab position and settings. Each front end walks such a description to
// build its controls, so the composition of a window is written once and the
// toolkits only decide how a setting is drawn.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace velbrin::ui {

enum class Kind { Label, TextBox, Button, Picture, Line };

// What a control tells its window: an entry box's text changed, a button was pressed.
enum class Event { Change, Click };

// Colours a control's text may take; Default and MenuText are the platform's.
enum class Colour { Default, PureRed, MenuText, Black, Gray, White };

// The fixed colours as 0xRRGGBB.
constexpr std::uint32_t Rgb(Colour colour)
{
    switch (colour) {
    case Colour::PureRed:
        return 0xFF0000;
    case Colour::Gray:
        return 0x808080;
    case Colour::White:
        return 0xFFFFFF;
    default:
        return 0x000000;
    }
}

// Settings that are on or off.
enum Flag : std::uint32_t {
    ReadOnly = 1u << 0,
    MultiLine = 1u << 1, // several lines, word wrap, vertical scroll bar
    Bordered = 1u << 2,
    AutoSize = 1u << 3, // a label's size follows its caption
    Hidden = 1u << 4,
    DefaultButton = 1u << 5, // Enter presses it unless another button has the focus
    CancelButton = 1u << 6, // Esc presses it
    Digits = 1u << 7, // an on-screen keyboard offers digits first; any character is taken
};

struct Twips
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

inline constexpr int NoTab = -1;

struct Control
{
    const char *name; // the control's name in both front ends
    Kind kind;
    std::u16string_view caption; // "&" marks a button's access key
    Twips place; // a line runs from (left, top) across width twips; height unused
    int tab = NoTab; // position in the keyboard tab order, 0 first
    int maxLength = 0; // 0: no limit
    std::uint32_t flags = 0;
    Colour colour = Colour::Default;
    // What a screen reader calls a box. Labels are heard by what they show and
    // buttons by their caption; pictures and lines are decoration and unnamed.
    std::u16string_view heard = {};
    std::u16string_view tooltip = {}; // empty: none; a screen reader reads it as the description
    int lineWidth = 0; // pixels, for lines

    constexpr bool has(Flag flag) const { return (flags & flag) != 0; }
};

struct WindowDescription
{
    const char *name;
    int clientWidth; // twips
    int clientHeight;
    std::span<const Control> controls; // in the order of creation, which is also the
                                       // order a screen reader reads them in; of two
                                       // that overlap, the earlier is on top
    bool placed = false; // true: the client area's corner stands at screenLeft/screenTop
    int screenLeft = 0;
    int screenTop = 0;
};

// 1440 twips to the logical inch; `dpi` pixels to the inch. Rounded to the nearest
// pixel, halves away from zero, so a layout is the same in every front end.
constexpr int TwipsToPixels(int twips, int dpi)
{
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + 720) / 1440 : -((-scaled + 720) / 1440));
}

// What a single-line text box keeps of pasted text: all before the first line
// break, as a single-line edit box on Windows does.
constexpr std::u16string_view FirstLine(std::u16string_view text)
{
    return text.substr(0, text.find_first_of(u"\r\n"));
}

// What of `text` a box with room for `room` more 16-bit units takes: as much as
// fits, but never the first half of a character of two units, which alone is no
// text at all.
constexpr std::u16string_view Fitting(std::u16string_view text, std::size_t room)
{
    if (text.size() <= room)
        return text;
    const bool half = room > 0 && text[room - 1] >= 0xD800 && text[room - 1] < 0xDC00;
    return text.substr(0, half ? room - 1 : room);
}

// Win32 control identifiers: the control's place in its window's description.
inline constexpr int FirstControlId = 100;

} // namespace velbrin::ui
