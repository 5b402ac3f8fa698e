// The main window, frmVelbrin, as data: its twenty controls and what typing into
// either entry box does to them, and its handlers, written once over the window's
// view. Both front ends build from this and call the handlers; neither holds a
// table, text rule or position of its own.
#pragma once

#include "app/app_info.h"
#include "ui/window_model.h"
#include "ui/window_view.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velbrin::main_window {

// The controls, by their place in the description.
enum ControlIndex : int {
    lblMsn,
    txtMsn,
    lblMsnLeft,
    txtMobileCode,
    txtOriginCode,
    txtYearCode,
    txtMonthCode,
    txtSnr,
    txtMsnGlobal,
    lblImei,
    txtImei,
    lblImeiLeft,
    txtTypeApprovalCode,
    txtFinalAssemblyCode,
    txtImeiSnr,
    txtSp,
    txtImeiGlobal,
    cmdHelp,
    cmdAbout,
    cmdExit,
    ControlCount
};

const ui::WindowDescription &Description();

struct EntryUpdate;

// One identifier's side of the window.
struct Side
{
    ControlIndex entry;
    ControlIndex counter;
    std::vector<ControlIndex> fields; // in fill order
    ControlIndex summary;
    std::size_t fullLength;
    void (*decode)(std::u16string_view text, EntryUpdate &update);
};

const Side &ImeiSide();
const Side &MsnSide();

// What the window shows after the text of an entry box changed.
struct EntryUpdate
{
    std::u16string counterText; // what is missing; empty (and the counter hidden)
                                // once the identifier is complete, and then:
    std::u16string entryText; // the identifier upper-cased
    std::vector<std::u16string> fields; // in the side's fill order
    std::u16string summary; // lines joined by CR LF

    bool complete() const { return counterText.empty(); }
};

// The entry handling: counts what is missing and, once the identifier is
// complete, upper-cases, cuts and decodes it. `text` is the entry box's text.
EntryUpdate HandleEntry(const Side &side, std::u16string_view text);

// The handlers: the load step (caption, entry limits, both counters at their full
// count, the focus in the MSN box) and the change handler of either entry box.
void Form_Load(ui::View &window, const AppInfo &info);
void EntryChanged(ui::View &window, const Side &side);

// Letters to their upper-case forms, every other character as it is; the length
// never changes. Each front end implements it with its platform's character data.
std::u16string UpperCased(std::u16string_view text);

// The rule both front ends share for that, given the platform's answers for one
// code point: whether it is a letter and its simple upper-case form. A form that
// would take a different number of 16-bit units is not used.
template<typename IsLetter, typename ToUpper>
std::u16string UpperCaseLetters(std::u16string_view text, IsLetter isLetter, ToUpper toUpper);

// ---------------------------------------------------------------------------

template<typename IsLetter, typename ToUpper>
std::u16string UpperCaseLetters(std::u16string_view text, IsLetter isLetter, ToUpper toUpper)
{
    std::u16string out(text);
    for (std::size_t i = 0; i < out.size();) {
        const char16_t unit = out[i];
        const bool pair = unit >= 0xD800 && unit < 0xDC00 && i + 1 < out.size() &&
                out[i + 1] >= 0xDC00 && out[i + 1] < 0xE000;
        const char32_t point = pair
                ? 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(out[i + 1]) - 0xDC00)
                : char32_t(unit);
        const std::size_t width = pair ? 2 : 1;
        if (isLetter(point)) {
            const char32_t upper = toUpper(point);
            if (upper >= 0x10000 && upper < 0x110000 && pair) {
                out[i] = char16_t(0xD800 + ((upper - 0x10000) >> 10));
                out[i + 1] = char16_t(0xDC00 + ((upper - 0x10000) & 0x3FF));
            } else if (upper < 0x10000 && !pair && (upper < 0xD800 || upper >= 0xE000)) {
                out[i] = char16_t(upper);
            }
        }
        i += width;
    }
    return out;
}

} // namespace velbrin::main_window
