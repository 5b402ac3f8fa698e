// The two windows as a user meets them, run against the Qt and the Win32 front
// end alike, and held against the published texts.
#include "about/about_model.h"
#include "app/failure.h"
#include "main_window/main_window_model.h"
#include "window_driver.h"

#include <algorithm>

namespace velbrin::test {

void CheckLayout(const Driver &window, const ui::WindowDescription &description)
{
    const auto px = [dpi = window.Dpi()](int twips) { return ui::TwipsToPixels(twips, dpi); };
    const Pixels client = window.Client();
    EXPECT_EQ(std::pair(client.width, client.height),
              std::pair(px(description.clientWidth), px(description.clientHeight)));
    EXPECT_TRUE(window.FixedFrame());
    std::vector<Pixels> boxes; // text boxes and buttons
    for (int i = 0; i < int(description.controls.size()); ++i) {
        const ui::Control &c = description.controls[std::size_t(i)];
        if (c.kind == ui::Kind::Line)
            continue;
        const Seen seen = window.See(i);
        const Pixels at = seen.place;
        const Pixels place {px(c.place.left), px(c.place.top), px(c.place.width),
                            px(c.place.height)};
        SCOPED_TRACE(c.name);
        EXPECT_EQ(seen.name, c.name);
        if (c.kind == ui::Kind::Button) // may grow to the left to fit its caption
            EXPECT_EQ(std::tuple(at.left + at.width, at.top, at.height),
                      std::tuple(place.left + place.width, place.top, place.height));
        else if (c.has(ui::AutoSize))
            EXPECT_EQ(std::pair(at.left, at.top), std::pair(place.left, place.top));
        else
            EXPECT_EQ(at, place);
        if (!seen.visible)
            continue;
        EXPECT_TRUE(at.left >= 0 && at.top >= 0 && at.left + at.width <= client.width &&
                    at.top + at.height <= client.height);
        if (c.kind != ui::Kind::TextBox && c.kind != ui::Kind::Button)
            continue;
        for (const Pixels &b : boxes)
            EXPECT_TRUE(at.left >= b.left + b.width || b.left >= at.left + at.width ||
                        at.top >= b.top + b.height || b.top >= at.top + at.height);
        boxes.push_back(at);
    }
}

void CheckFits(const Driver &window, const ui::WindowDescription &description)
{
    for (int i = 0; i < int(description.controls.size()); ++i) {
        const ui::Control &c = description.controls[std::size_t(i)];
        std::u16string widest(c.caption); // one-character codes may be any letter
        if (c.kind == ui::Kind::Button)
            std::erase(widest, u'&');
        else if (c.kind == ui::Kind::TextBox && c.has(ui::ReadOnly) && !c.has(ui::MultiLine))
            widest = c.maxLength == 1 ? u"W" : std::u16string(std::size_t(c.maxLength), u'0');
        else
            continue;
        EXPECT_LE(window.TextWidth(i, widest), window.Room(i)) << c.name;
    }
}

namespace {

using namespace main_window;
using namespace std::string_literals;
namespace About = about;

const std::u16string Disclaimer =
        u"\r\n"
        u"The author will not be held responsible for any damage or loss "
        u"!\r\n\r\nThe author can be contacted at <me@example.org>\r\n\r\n"
        u"Huge thanks to:\r\n"
        u"Harbour Phones, 12 Harbour Lane, Exampleton\r\n"
        u"The Handset Corner, 3 Market Row, Sampleford";

TEST(MainWindow, StartsAsPublished)
{
    EXPECT_EQ(OpenMain({u"Corvanel", 1, 0, 0, u""})->Title(), u"Corvanel Version 1.0.0 ");
    const auto main = OpenMain();
    CheckLayout(*main, Description());
    EXPECT_EQ(main->Title(), u"Corvanel Version 1.2004.429 Copyright (C) 2026 Velbrin developers");
    EXPECT_EQ(main->Text(lblMsnLeft), u"10 character(s) needed");
    EXPECT_EQ(main->Text(lblImeiLeft), u"15 character(s) needed");
    for (auto counter : {lblMsnLeft, lblImeiLeft})
        EXPECT_EQ(main->TextColour(counter), 0xFF0000u);
    EXPECT_EQ(std::pair(main->Text(cmdAbout), main->Text(cmdExit)),
              std::pair(u"A&bout"s, u"&Close"s));
    const std::u16string tooltips[ControlCount] = {
            u"Mechanical Serial Number",
            u"MSN: Mechanical Serial Number",
            u"",
            u"Mobile Code: identifies the model of cellular phone",
            u"Origin Code: country of manifacturing or final assembly",
            u"Year Code: the year of final assembly",
            u"Month Code: the month of final assembly",
            u"Serial Number: four digits",
            u"",
            u"",
            u"IMEI: International Mobile Equipment Identity",
            u"",
            u"Type Approval Code: identifies the model of cellular phone",
            u"Final Assembly Code: country of manifacturing or final assembly",
            u"Serial Number: six digits",
            u"Supplementary digit (reserve)",
            u""};
    for (int i = 0; i < ControlCount; ++i) {
        const Seen seen = main->See(i);
        if (seen.visible) {
            EXPECT_EQ(main->Tooltip(i), tooltips[i]) << seen.name;
        }
        EXPECT_EQ(seen.visible, i != cmdHelp) << seen.name;
        EXPECT_EQ(seen.bordered, i == lblMsn || i == lblImei) << seen.name;
    }
    // Every box starts empty and refuses typing but for the two entry boxes; every
    // field is as high as the entry boxes, and each row of fields is level.
    for (const auto *side : {&MsnSide(), &ImeiSide()}) {
        for (auto box : side->fields) {
            EXPECT_EQ(std::pair(main->See(box).place.top, main->See(box).place.height),
                      std::pair(main->See(side->fields[0]).place.top,
                                main->See(txtMsn).place.height));
        }
        for (auto box : side->fields)
            main->Type(box, u"x");
        main->Type(side->summary, u"x");
        for (auto box : side->fields)
            EXPECT_EQ(main->Text(box), u"") << main->See(box).name;
        EXPECT_EQ(main->Text(side->summary), u"");
        EXPECT_EQ(main->Text(side->entry), u"");
    }
}

TEST(MainWindow, TabWalksTheControlsInTheirOrder)
{
    const auto main = OpenMain();
    EXPECT_EQ(main->Focus(), txtMsn);
    std::vector<int> order; // every control that takes the focus, by tab position
    for (int i = 0; i < ControlCount; ++i)
        if (const auto &c = Description().controls[std::size_t(i)];
            c.kind == ui::Kind::TextBox || (c.kind == ui::Kind::Button && !c.has(ui::Hidden)))
            order.push_back(i);
    std::ranges::sort(order, {}, [](int i) { return Description().controls[std::size_t(i)].tab; });
    EXPECT_EQ(std::vector(order.begin(), order.begin() + 4),
              (std::vector<int> {txtMsn, txtImei, cmdAbout, cmdExit}));
    for (std::size_t k = 1; k <= order.size(); ++k) {
        main->Press(Key::Tab);
        EXPECT_EQ(main->Focus(), order[k % order.size()]) << k;
    }
    main->Press(Key::BackTab);
    EXPECT_EQ(main->Focus(), order.back());
}

struct Step
{
    enum Action { Type, Paste, Select, Backspace } action;
    std::u16string text = {}; // Type, Paste
    int from = 0, count = 0; // Select
};

struct EntryCase
{
    const char *what;
    ControlIndex entry;
    std::vector<Step> steps;
    std::u16string shown; // the entry box afterwards
    int caret;
    std::u16string counter; // empty: hidden
    std::vector<std::pair<ControlIndex, std::u16string>> boxes; // summaries with CR LF
};

const std::u16string MsnSummary =
        u"Mobile Code: A3Z\r\nMade in Germany\r\n"
        u"in January (2nd half of)\r\nof 1999\r\nSerial# (four digits): 1234";

TEST(MainWindow, TypingAndPasting)
{
    using enum Step::Action;
    const std::u16string imei = u"Model: Motorola 6200 Flare GSM\r\nMade in Germany\r\n"
                                u"Serial# (six digits): 987654\r\nSupplementary digit (reserve): 3";
    // clang-format off
    const EntryCase cases[] {
        {"MSN typed in lower case", txtMsn, {{Type, u"a3ztzb1234"}}, u"A3ZTZB1234", 10, u"",
         {{txtMobileCode, u"A3Z"}, {txtOriginCode, u"T"}, {txtYearCode, u"Z"}, {txtMonthCode, u"B"},
          {txtSnr, u"1234"}, {txtMsnGlobal, MsnSummary}}},
        {"nine characters decode nothing", txtMsn, {{Type, u"a3ztzb123"}}, u"a3ztzb123", 9,
         u"1 character(s) needed", {{txtMobileCode, u""}, {txtMsnGlobal, u""}}},
        {"IMEI typed", txtImei, {{Type, u"445051079876543"}}, u"445051079876543", 15, u"",
         {{txtTypeApprovalCode, u"445051"}, {txtFinalAssemblyCode, u"07"}, {txtImeiSnr, u"987654"},
          {txtSp, u"3"}, {txtImeiGlobal, imei}}},
        {"deleting keeps the last result", txtImei, {{Type, u"445051079876543"}, {Backspace}},
         u"44505107987654", 14, u"1 character(s) needed", {{txtSp, u"3"}, {txtImeiGlobal, imei}}},
        {"deleting everything", txtMsn, {{Type, u"a3ztzb1234"}, {Select, u"", 0, 10}, {Backspace}},
         u"", 0, u"10 character(s) needed", {{txtSnr, u"1234"}, {txtMsnGlobal, MsnSummary}}},
        {"replacing a selection decodes anew", txtImei,
         {{Type, u"445051079876543"}, {Select, u"", 6, 2}, {Type, u"40"}}, u"445051409876543", 8, u"",
         {{txtFinalAssemblyCode, u"40"}, {txtImeiGlobal, u"Model: Motorola 6200 Flare GSM\r\n"
          u"Made in UK\r\nSerial# (six digits): 987654\r\nSupplementary digit (reserve): 3"}}},
        {"the caret stays where typing completed it", txtMsn,
         {{Type, u"a3ztzb123"}, {Select, u"", 3, 0}, {Type, u"x"}}, u"A3ZXTZB123", 4, u"",
         {{txtOriginCode, u"X"}}},
        {"a paste is cut at the limit", txtImei, {{Paste, u"350904401234565999"}}, u"350904401234565",
         15, u"", {{txtTypeApprovalCode, u"350904"}, {txtSp, u"5"}}},
        {"so is an MSN", txtMsn, {{Paste, u"a3ztzb1234xyz"}}, u"A3ZTZB1234", 10, u"", {{txtSnr, u"1234"}}},
        {"a paste keeps its first line and what follows the caret", txtMsn,
         {{Type, u"a3ztzb12"}, {Select, u"", 3, 0}, {Paste, u"q\r\nzz"}, {Paste, u"\n9"}},
         u"a3zqtzb12", 4, u"1 character(s) needed", {{txtMobileCode, u""}}},
        {"an empty first line replaces the selection", txtMsn,
         {{Type, u"a3ztzb1234"}, {Select, u"", 3, 2}, {Paste, u"\r\nxx"}}, u"A3ZB1234", 3,
         u"2 character(s) needed", {{txtOriginCode, u"T"}}},
        {"letters only are upper-cased, the length kept", txtMsn,
         {{Type, u"\u24D0\u2170\u0345tzb12\U00010428"}}, u"\u24D0\u2170\u0345TZB12\U00010400", 10, u"",
         {{txtMobileCode, u"\u24D0\u2170\u0345"}, {txtOriginCode, u"T"}}},
        {"sharp s has no upper case of one character", txtMsn,
         {{Type, u"\u00e9\u00e9\u00dfrzb123\u00e7"}}, u"\u00c9\u00c9\u00dfRZB123\u00c7", 10, u"",
         {{txtMobileCode, u"\u00c9\u00c9\u00df"}, {txtSnr, u"123\u00c7"}}},
    };
    // clang-format on
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const auto main = OpenMain();
        for (const auto &step : c.steps) {
            if (step.action == Type)
                main->Type(c.entry, step.text);
            else if (step.action == Paste)
                main->Paste(c.entry, step.text);
            else if (step.action == Select)
                main->Select(c.entry, step.from, step.count);
            else
                main->Press(Key::Backspace);
        }
        EXPECT_EQ(main->Text(c.entry), c.shown);
        EXPECT_EQ(main->Caret(c.entry), c.caret);
        const auto counter = (c.entry == txtImei ? ImeiSide() : MsnSide()).counter;
        EXPECT_EQ(main->See(counter).visible, !c.counter.empty());
        EXPECT_EQ(main->Text(counter), c.counter);
        for (const auto &[box, text] : c.boxes)
            EXPECT_EQ(main->Text(box), text) << main->See(box).name;
    }
}

TEST(MainWindow, EveryWayOfClosingEndsTheProgramButEnter)
{
    const std::function<void(Driver &)> ways[] = {
            [](Driver &m) { m.Click(cmdExit); }, [](Driver &m) { m.Alt('c'); },
            [](Driver &m) { m.Press(Key::Escape); }, [](Driver &m) { m.CloseBox(); }};
    for (const auto &way : ways) {
        const auto main = OpenMain();
        EXPECT_EQ(main->Run([&] { way(*main); }), 0);
    }
    // Enter in an entry box ends nothing: it is how scanners finish an identifier.
    // Nor does the hidden Help button's key.
    const auto main = OpenMain();
    main->Type(txtImei, u"445051079876543");
    EXPECT_EQ(main->Run([&] {
        main->Press(Key::Enter);
        main->Alt('h');
    }),
              -1);
}

TEST(Program, AFailureInAHandlerIsShownAndEndsTheProgram)
{
    const auto main = OpenMain();
    int status = -1;
    const MessageBoxSeen box = main->InMessageBox(
            [&] { status = main->Run([&] { main->FailInAHandler("the disk is on fire"); }); });
    EXPECT_EQ(box.caption, u"Corvanel");
    EXPECT_EQ(box.text,
              u"The program has to close because of an error:\r\n\r\nthe disk is on fire");
    EXPECT_EQ(status, FailureExitCode);
}

// Also run at 1.5 and 2 times by ctest in the Qt build, and at those DPIs in the
// Win32 tests.
TEST(MainWindow, CaptionsAndFieldsFitTheirBoxes)
{
    const auto main = OpenMain();
    CheckFits(*main, Description());
    main->InAbout([&] { main->Click(cmdAbout); }, "",
                  [](Driver &about) {
                      CheckFits(about, About::Description());
                      // This build's disclaimer, the longest text shown, stays clear of the
                      // buttons.
                      const Pixels text = about.See(About::lblDisclaimer).place;
                      const int height = about.LineHeight(About::lblDisclaimer);
                      for (std::size_t at = 0, end = 0, line = 0; at < Disclaimer.size();
                           at = end + 2, ++line) {
                          end = std::min(Disclaimer.find(u"\r\n", at), Disclaimer.size());
                          const int width = about.TextWidth(About::lblDisclaimer,
                                                            Disclaimer.substr(at, end - at));
                          const int top = text.top + int(line) * height;
                          for (const Pixels b :
                               {about.See(About::cmdOK).place, about.See(About::cmdSysInfo).place})
                              EXPECT_TRUE(!width || text.left + width <= b.left ||
                                          top + height <= b.top || b.top + b.height <= top)
                                      << line;
                      }
                  });
}

void CheckAboutOpened(Driver &about)
{
    CheckLayout(about, About::Description());
    EXPECT_EQ(about.Title(), u"About Corvanel");
    EXPECT_EQ(about.Text(About::lblTitle), u"Corvanel");
    EXPECT_EQ(about.Text(About::lblVersion), u"Version 1.2004.429");
    EXPECT_EQ(about.Text(About::lblDescription),
              u"Corvanel:  Copyright (C) 2026 Velbrin developers\r\nVelbrin is part of Quarn "
              u"project!");
    EXPECT_EQ(about.Text(About::lblDisclaimer), Disclaimer);
    EXPECT_EQ(about.Text(About::cmdSysInfo), u"&System Info...");
    EXPECT_EQ(about.Focus(), About::cmdOK);
    const Pixels client = about.Client(); // 2340 and 1935 twips from the screen's corner
    EXPECT_EQ(
            std::pair(client.left, client.top),
            std::pair(ui::TwipsToPixels(2340, about.Dpi()), ui::TwipsToPixels(1935, about.Dpi())));
    // The groove: gray over white, the white one twice as wide.
    const int y = ui::TwipsToPixels(1676, about.Dpi());
    EXPECT_EQ(about.Pixel(client.width / 2, y), 0x808080u);
    EXPECT_EQ(about.Pixel(client.width / 2, y + 1), 0xFFFFFFu);
}

// Opened again and again from one main window, which waits meanwhile, keeps its
// boxes and has the focus where it was when About closes.
TEST(About, ClosesByOkEnterAndEscAndStartsSystemInfoOrSaysItCannot)
{
    const auto main = OpenMain();
    main->Type(txtMsn, u"A3ZTZB1234");
    const std::string tool = "C:\\Tools\\info.exe";
    MessageBoxSeen box {};
    const struct
    {
        std::function<void(Driver &)> inside;
        std::string path; // registered
        bool closes;
        std::size_t starts;
    } runs[] = {
            {[&](Driver &about) {
                 CheckAboutOpened(about);
                 EXPECT_FALSE(main->TakesInput());
                 about.Press(Key::Escape);
             },
             "", true, 0},
            {[](Driver &about) { about.Click(About::cmdOK); }, tool, true, 0},
            {[](Driver &about) { about.Press(Key::Enter); }, tool, true, 0},
            {[](Driver &about) {
                 about.Press(Key::Tab);
                 EXPECT_EQ(about.Focus(), About::cmdSysInfo);
                 about.Press(Key::Escape);
             },
             tool, true, 0},
            {[](Driver &about) {
                 about.Press(Key::Tab);
                 about.Press(Key::Enter);
                 about.Alt('s');
             },
             '"' + tool + '"', false, 2},
            {[&](Driver &about) {
                 box = about.InMessageBox([&] { about.Click(About::cmdSysInfo); });
             },
             "", false, 0},
    };
    for (const auto &r : runs) {
        const auto open = [&] { &r == runs ? main->Alt('b') : main->Click(cmdAbout); };
        const AboutRun run = main->InAbout(open, r.path, r.inside);
        EXPECT_EQ(run.closedItself, r.closes);
        EXPECT_EQ(run.started, std::vector<std::string>(r.starts, tool));
        EXPECT_TRUE(main->TakesInput());
        if (&r != runs) { // back where it was, on the button clicked
            EXPECT_EQ(main->Focus(), cmdAbout);
        }
    }
    EXPECT_EQ(box.caption, u"Corvanel");
    EXPECT_EQ(box.text, u"System Information non disponibile");
    EXPECT_TRUE(box.okOnly && !box.icon);
    EXPECT_EQ(main->Text(txtMsn), u"A3ZTZB1234");
    EXPECT_EQ(main->Text(txtMsnGlobal), MsnSummary);
}

} // namespace
} // namespace velbrin::test
