// What typing and pasting into the entry boxes does, as one table that the tests
// of both front ends run: each front end supplies the few actions a user has.
#pragma once

#include "main_window/main_window_model.h"
#include "window_checks.h"

#include <string>
#include <utility>
#include <vector>

namespace velbrin::test {

using namespace main_window;

struct Step
{
    enum Action { Type, Paste, Backspace, Select } action;
    std::u16string text; // Type, Paste
    int from = 0, count = 0; // Select
};

struct EntryCase
{
    const char *what;
    ControlIndex entry;
    std::vector<Step> steps;
    std::u16string shown; // the entry box afterwards
    std::u16string counter; // empty: hidden
    std::vector<std::pair<ControlIndex, std::u16string>> boxes; // summaries with CR LF
};

inline Step Type(std::u16string text)
{
    return {Step::Type, std::move(text)};
}
inline Step Paste(std::u16string text)
{
    return {Step::Paste, std::move(text)};
}
inline Step Backspace()
{
    return {Step::Backspace, {}};
}
inline Step Select(int from, int count)
{
    return {Step::Select, {}, from, count};
}

inline const std::u16string MsnSummary = u"Mobile Code: A3Z\r\nMade in Germany\r\n"
                                         u"in January (2nd half of)\r\nof 1999\r\n"
                                         u"Serial# (four digits): 1234";

// clang-format off
inline const std::vector<EntryCase> &EntryCases()
{
    const std::u16string imei = u"Model: Motorola 6200 Flare GSM\r\nMade in Germany\r\n"
                                u"Serial# (six digits): 987654\r\nSupplementary digit (reserve): 3";
    static const std::vector<EntryCase> cases {
        {"MSN typed in lower case", txtMsn, {Type(u"a3ztzb1234")}, u"A3ZTZB1234", u"",
         {{txtMobileCode, u"A3Z"}, {txtOriginCode, u"T"}, {txtYearCode, u"Z"}, {txtMonthCode, u"B"},
          {txtSnr, u"1234"}, {txtMsnGlobal, MsnSummary}}},
        {"nine characters decode nothing", txtMsn, {Type(u"a3ztzb123")}, u"a3ztzb123",
         u"1 character(s) needed", {{txtMobileCode, u""}, {txtMsnGlobal, u""}}},
        {"IMEI typed", txtImei, {Type(u"445051079876543")}, u"445051079876543", u"",
         {{txtTypeApprovalCode, u"445051"}, {txtFinalAssemblyCode, u"07"}, {txtImeiSnr, u"987654"},
          {txtSp, u"3"}, {txtImeiGlobal, imei}}},
        {"deleting keeps the last result", txtImei, {Type(u"445051079876543"), Backspace()},
         u"44505107987654", u"1 character(s) needed", {{txtSp, u"3"}, {txtImeiGlobal, imei}}},
        {"deleting everything", txtMsn, {Type(u"a3ztzb1234"), Select(0, 10), Backspace()}, u"",
         u"10 character(s) needed", {{txtSnr, u"1234"}, {txtMsnGlobal, MsnSummary}}},
        {"replacing a selection decodes anew", txtImei,
         {Type(u"445051079876543"), Select(6, 2), Type(u"40")}, u"445051409876543", u"",
         {{txtFinalAssemblyCode, u"40"}, {txtImeiGlobal, u"Model: Motorola 6200 Flare GSM\r\n"
          u"Made in UK\r\nSerial# (six digits): 987654\r\nSupplementary digit (reserve): 3"}}},
        {"a paste is cut at the limit", txtImei, {Paste(u"350904401234565999")}, u"350904401234565",
         u"", {{txtTypeApprovalCode, u"350904"}, {txtSp, u"5"}}},
        {"so is an MSN", txtMsn, {Paste(u"a3ztzb1234xyz")}, u"A3ZTZB1234", u"", {{txtSnr, u"1234"}}},
        {"a paste keeps only its first line", txtMsn,
         {Type(u"a3"), Paste(u"ztzb\r\n1234"), Paste(u"12\n34")}, u"a3ztzb12",
         u"2 character(s) needed", {{txtMobileCode, u""}}},
        {"letters only are upper-cased, the length kept", txtMsn,
         {Type(u"\u24D0\u2170\u0345tzb12\U00010428")}, u"\u24D0\u2170\u0345TZB12\U00010400", u"",
         {{txtMobileCode, u"\u24D0\u2170\u0345"}, {txtOriginCode, u"T"}}},
        {"sharp s has no upper case of one character", txtMsn,
         {Type(u"\u00e9\u00e9\u00dfrzb123\u00e7")}, u"\u00c9\u00c9\u00dfRZB123\u00c7", u"",
         {{txtMobileCode, u"\u00c9\u00c9\u00df"}, {txtSnr, u"123\u00c7"}}},
    };
    return cases;
}
// clang-format on

// Runs every case in a fresh main window from `open`, which gives an owner of the
// window with its `driver`.
template<typename Open> void CheckEntryCases(Open open)
{
    for (const auto &c : EntryCases()) {
        SCOPED_TRACE(c.what);
        const auto opened = open();
        Driver *window = &opened->driver;
        for (const auto &step : c.steps) {
            switch (step.action) {
            case Step::Type:
                window->Type(c.entry, step.text);
                break;
            case Step::Paste:
                window->Paste(c.entry, step.text);
                break;
            case Step::Backspace:
                window->Press(Key::Backspace);
                break;
            case Step::Select:
                window->Select(c.entry, step.from, step.count);
                break;
            }
        }
        EXPECT_EQ(window->Text(c.entry), c.shown);
        const auto counter = (c.entry == txtImei ? ImeiSide() : MsnSide()).counter;
        EXPECT_EQ(window->Text(counter), c.counter);
        EXPECT_EQ(window->Visible(counter), !c.counter.empty());
        for (const auto &[box, text] : c.boxes)
            EXPECT_EQ(window->Text(box), text) << window->Name(box);
    }
}

} // namespace velbrin::test
