#include "main_window/main_window_model.h"

#include "decoding/decoding.h"

namespace velbrin::main_window {
namespace {

using ui::Colour;
using ui::Kind;
using namespace ui; // flags

// Field boxes show one field each; read-only, never disabled, so the text can be
// selected and copied and the tooltip shows.
constexpr std::uint32_t Field = ReadOnly;
constexpr std::uint32_t Summary = ReadOnly | MultiLine;
constexpr std::uint32_t Caption = AutoSize | Bordered;

// Close has the cancel role (Esc), not the default one: Enter ends an identifier
// typed by a person or a scanner and must not end the program.
// clang-format off
constexpr std::array<ui::Control, ControlCount> Controls {{
    // name, kind, caption, place (twips), tab, max length, settings, colour, heard, tooltip
    {"lblMsn", Kind::Label, u"MSN", {120, 240, 408, 240}, 9, 0, Caption, Colour::Default, u"",
     u"Mechanical Serial Number"},
    // The MSN entry takes the menus' text colour, unlike its IMEI twin: intended.
    {"txtMsn", Kind::TextBox, u"", {840, 240, 1332, 288}, 0, 0, 0, Colour::MenuText, u"MSN",
     u"MSN: Mechanical Serial Number"},
    {"lblMsnLeft", Kind::Label, u"", {2280, 240, 36, 192}, 18, 0, AutoSize, Colour::PureRed},
    {"txtMobileCode", Kind::TextBox, u"", {840, 720, 492, 288}, 4, 3, Field, Colour::Default,
     u"Mobile Code", u"Mobile Code: identifies the model of cellular phone"},
    // "manifacturing" is how the published tooltips read: keep it.
    {"txtOriginCode", Kind::TextBox, u"", {1560, 720, 252, 288}, 5, 1, Field, Colour::Default,
     u"Origin Code", u"Origin Code: country of manifacturing or final assembly"},
    {"txtYearCode", Kind::TextBox, u"", {2040, 720, 252, 288}, 6, 1, Field, Colour::Default,
     u"Year Code", u"Year Code: the year of final assembly"},
    {"txtMonthCode", Kind::TextBox, u"", {2520, 720, 252, 288}, 7, 1, Field, Colour::Default,
     u"Month Code", u"Month Code: the month of final assembly"},
    {"txtSnr", Kind::TextBox, u"", {3000, 720, 612, 288}, 8, 4, Field, Colour::Default,
     u"MSN serial number", u"Serial Number: four digits"},
    {"txtMsnGlobal", Kind::TextBox, u"", {120, 1080, 4932, 732}, 15, 0, Summary, Colour::Default,
     u"MSN summary"},
    {"lblImei", Kind::Label, u"IMEI", {120, 2040, 360, 240}, 10, 0, Caption},
    {"txtImei", Kind::TextBox, u"", {840, 2040, 1932, 288}, 1, 0, Digits, Colour::Default, u"IMEI",
     u"IMEI: International Mobile Equipment Identity"},
    {"lblImeiLeft", Kind::Label, u"", {2880, 2040, 36, 192}, 19, 0, AutoSize, Colour::PureRed},
    {"txtTypeApprovalCode", Kind::TextBox, u"", {840, 2520, 732, 288}, 11, 6, Field, Colour::Default,
     u"Type Approval Code", u"Type Approval Code: identifies the model of cellular phone"},
    {"txtFinalAssemblyCode", Kind::TextBox, u"", {1800, 2520, 372, 288}, 12, 2, Field, Colour::Default,
     u"Final Assembly Code", u"Final Assembly Code: country of manifacturing or final assembly"},
    {"txtImeiSnr", Kind::TextBox, u"", {2400, 2520, 732, 288}, 13, 6, Field, Colour::Default,
     u"IMEI serial number", u"Serial Number: six digits"},
    {"txtSp", Kind::TextBox, u"", {3360, 2520, 252, 288}, 14, 1, Field, Colour::Default,
     u"Supplementary digit", u"Supplementary digit (reserve)"},
    {"txtImeiGlobal", Kind::TextBox, u"", {120, 2880, 4932, 732}, 16, 0, Summary, Colour::Default,
     u"IMEI summary"},
    // Help belongs to the window but is never shown: intended, not unfinished.
    {"cmdHelp", Kind::Button, u"&Help", {5400, 2160, 732, 372}, 17, 0, Hidden},
    {"cmdAbout", Kind::Button, u"A&bout", {5400, 2760, 732, 372}, 2},
    {"cmdExit", Kind::Button, u"&Close", {5400, 3360, 732, 372}, 3, 0, CancelButton},
}};
// clang-format on

constexpr ui::WindowDescription frmVelbrin {"frmVelbrin", 6180, 3780, Controls};

// The decoders in the order the window shows their results: fields first, then
// the lines of the summary in the order they are looked up.
void DecodeImei(std::u16string_view text, EntryUpdate &update)
{
    auto fields = SplitImei(text);
    const auto model = DecodeTypeApprovalCode(fields.TypeApprovalCode);
    const auto country = DecodeFinalAssemblyCode(fields.FinalAssemblyCode);
    update.summary = ComposeImeiSummary(fields, model, country);
    update.fields = {std::move(fields.TypeApprovalCode), std::move(fields.FinalAssemblyCode),
                     std::move(fields.ImeiSnr), std::move(fields.Sp)};
}

void DecodeMsn(std::u16string_view text, EntryUpdate &update)
{
    auto fields = SplitMsn(text);
    const auto country = DecodeOriginCode(fields.OriginCode);
    const auto year = DecodeYearCode(fields.YearCode);
    const auto month = DecodeMonthCode(fields.MonthCode);
    update.summary = ComposeMsnSummary(fields, country, month, year);
    update.fields = {std::move(fields.MobileCode), std::move(fields.OriginCode),
                     std::move(fields.YearCode), std::move(fields.MonthCode),
                     std::move(fields.Snr)};
}

} // namespace

const ui::WindowDescription &Description()
{
    return frmVelbrin;
}

const Side &ImeiSide()
{
    static const Side side {txtImei,
                            lblImeiLeft,
                            {txtTypeApprovalCode, txtFinalAssemblyCode, txtImeiSnr, txtSp},
                            txtImeiGlobal,
                            ImeiLength,
                            DecodeImei};
    return side;
}

const Side &MsnSide()
{
    static const Side side {txtMsn,
                            lblMsnLeft,
                            {txtMobileCode, txtOriginCode, txtYearCode, txtMonthCode, txtSnr},
                            txtMsnGlobal,
                            MsnLength,
                            DecodeMsn};
    return side;
}

EntryUpdate HandleEntry(const Side &side, std::u16string_view text)
{
    EntryUpdate update;
    if (text.size() < side.fullLength) {
        update.counterText = MissingCharactersText(side.fullLength - text.size());
        return update;
    }
    update.entryText = UpperCased(text);
    side.decode(update.entryText, update);
    return update;
}

namespace {

void ShowCounter(ui::View &window, const Side &side, const EntryUpdate &update)
{
    window.SetText(side.counter, update.counterText);
    window.SetVisible(side.counter, !update.complete());
}

} // namespace

void Form_Load(ui::View &window, const AppInfo &info)
{
    window.SetTitle(MainWindowCaption(info));
    window.SetMaxLength(txtMsn, int(MsnSide().fullLength));
    window.SetMaxLength(txtImei, int(ImeiSide().fullLength));
    ShowCounter(window, MsnSide(), HandleEntry(MsnSide(), {}));
    ShowCounter(window, ImeiSide(), HandleEntry(ImeiSide(), {}));
    window.SetFocus(txtMsn);
}

void EntryChanged(ui::View &window, const Side &side)
{
    const std::u16string text = window.Text(side.entry);
    const EntryUpdate update = HandleEntry(side, text);
    // A screen reader hears a summary once: when the identifier is completed, or
    // made another while complete; not again when the same text is told anew.
    const bool news = update.complete() &&
            (!window.Text(side.counter).empty() || window.Text(side.summary) != update.summary);
    ShowCounter(window, side, update);
    if (!update.complete())
        return;
    // The upper-cased text goes back only where it differs, with the caret where
    // it was; the box's change handler does not run again for it.
    if (update.entryText != text) {
        const int caret = window.Caret(side.entry);
        window.SetText(side.entry, update.entryText);
        window.SetCaret(side.entry, caret);
    }
    for (std::size_t i = 0; i < side.fields.size(); ++i)
        window.SetText(side.fields[i], update.fields[i]);
    window.SetText(side.summary, update.summary);
    if (news)
        window.Announce(update.summary);
}

} // namespace velbrin::main_window
