// The two windows as a user meets them, run against the Qt and the Win32 front
// end alike: each is held against its description and against the published texts.
#include "about/about_model.h"
#include "main_window/main_window_model.h"
#include "window_driver.h"

namespace velbrin::test {

void CheckFits(const Driver &window, const ui::Window &description)
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
namespace About = about;

const std::u16string Disclaimer =
        u"\r\n"
        u"The author will not be held responsible for any damage or loss "
        u"!\r\n\r\nThe author can be contacted at <me@example.org>\r\n\r\n"
        u"Huge thanks to:\r\n"
        u"Harbour Phones, 12 Harbour Lane, Exampleton\r\n"
        u"The Handset Corner, 3 Market Row, Sampleford";

// Every control is made as the description says.
void CheckBuiltFrom(const Driver &window, const ui::Window &description)
{
    const int dpi = window.Dpi();
    const auto px = [dpi](int twips) { return ui::TwipsToPixels(twips, dpi); };
    const Pixels client = window.Client();
    EXPECT_EQ(client.width, px(description.clientWidth));
    EXPECT_EQ(client.height, px(description.clientHeight));
    EXPECT_TRUE(window.FixedFrame());
    for (int i = 0; i < int(description.controls.size()); ++i) {
        const ui::Control &c = description.controls[std::size_t(i)];
        if (c.kind == ui::Kind::Line)
            continue;
        const Seen seen = window.See(i);
        const Pixels place {px(c.place.left), px(c.place.top), px(c.place.width),
                            px(c.place.height)};
        SCOPED_TRACE(c.name);
        EXPECT_EQ(seen.name, c.name);
        if (c.kind == ui::Kind::Button) { // may grow to the left to fit its caption
            EXPECT_EQ(seen.place.left + seen.place.width, place.left + place.width);
            EXPECT_EQ(std::pair(seen.place.top, seen.place.height),
                      std::pair(place.top, place.height));
            EXPECT_EQ(seen.text, c.has(ui::Hidden) ? u"" : c.caption);
        } else if (c.has(ui::AutoSize)) {
            EXPECT_EQ(std::pair(seen.place.left, seen.place.top), std::pair(place.left, place.top));
        } else {
            EXPECT_EQ(seen.place, place);
        }
        EXPECT_EQ(seen.tooltip, c.tooltip);
        EXPECT_EQ(seen.visible, !c.has(ui::Hidden));
        if (c.kind == ui::Kind::Label) {
            EXPECT_EQ(seen.bordered, c.has(ui::Bordered));
        }
        if (c.kind == ui::Kind::TextBox) {
            EXPECT_EQ(std::pair(seen.readOnly, seen.multiLine),
                      std::pair(c.has(ui::ReadOnly), c.has(ui::MultiLine)));
            if (c.maxLength) {
                EXPECT_EQ(seen.maxLength, c.maxLength);
            }
        }
    }
}

TEST(MainWindow, IsBuiltFromItsDescriptionAndStartsEmpty)
{
    EXPECT_EQ(OpenMain({"Corvanel", 1, 0, 0, ""})->Title(), u"Corvanel Version 1.0.0 ");
    const auto main = OpenMain();
    CheckBuiltFrom(*main, Description());
    EXPECT_EQ(main->Title(), u"Corvanel Version 1.2004.429 Copyright (C) 2026 Velbrin developers");
    EXPECT_EQ(main->Text(lblMsnLeft), u"10 character(s) needed");
    EXPECT_EQ(main->Text(lblImeiLeft), u"15 character(s) needed");
    for (auto counter : {lblMsnLeft, lblImeiLeft})
        EXPECT_EQ(main->TextColour(counter), 0xFF0000u);
    EXPECT_EQ(main->See(txtImei).tooltip, u"IMEI: International Mobile Equipment Identity");
    EXPECT_EQ(main->See(txtOriginCode).tooltip,
              u"Origin Code: country of manifacturing or final assembly");
    // Every field is as high as the entry boxes; each row of fields is level.
    for (const auto *side : {&MsnSide(), &ImeiSide()}) {
        EXPECT_EQ(main->Text(side->summary), u"");
        for (auto box : side->fields) {
            const Pixels place = main->See(box).place;
            EXPECT_EQ(main->Text(box), u"");
            EXPECT_EQ(std::pair(place.top, place.height),
                      std::pair(main->See(side->fields[0]).place.top,
                                main->See(txtMsn).place.height));
        }
    }
    EXPECT_EQ(main->Focus(), txtMsn);
    std::vector<std::string> order;
    for (const int index : main->TabOrder())
        order.push_back(main->See(index).name);
    EXPECT_EQ(
            order,
            (std::vector<std::string> {"txtMsn", "txtImei", "cmdAbout", "cmdExit", "txtMobileCode",
                                       "txtOriginCode", "txtYearCode", "txtMonthCode", "txtSnr",
                                       "txtTypeApprovalCode", "txtFinalAssemblyCode", "txtImeiSnr",
                                       "txtSp", "txtMsnGlobal", "txtImeiGlobal"}));
    main->Press(Key::Tab);
    EXPECT_EQ(main->Focus(), txtImei);
    main->Press(Key::BackTab);
    EXPECT_EQ(main->Focus(), txtMsn);
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
        {"MSN typed in lower case", txtMsn, {{Type, u"a3ztzb1234"}}, u"A3ZTZB1234", u"",
         {{txtMobileCode, u"A3Z"}, {txtOriginCode, u"T"}, {txtYearCode, u"Z"}, {txtMonthCode, u"B"},
          {txtSnr, u"1234"}, {txtMsnGlobal, MsnSummary}}},
        {"nine characters decode nothing", txtMsn, {{Type, u"a3ztzb123"}}, u"a3ztzb123",
         u"1 character(s) needed", {{txtMobileCode, u""}, {txtMsnGlobal, u""}}},
        {"IMEI typed", txtImei, {{Type, u"445051079876543"}}, u"445051079876543", u"",
         {{txtTypeApprovalCode, u"445051"}, {txtFinalAssemblyCode, u"07"}, {txtImeiSnr, u"987654"},
          {txtSp, u"3"}, {txtImeiGlobal, imei}}},
        {"deleting keeps the last result", txtImei, {{Type, u"445051079876543"}, {Backspace}},
         u"44505107987654", u"1 character(s) needed", {{txtSp, u"3"}, {txtImeiGlobal, imei}}},
        {"deleting everything", txtMsn, {{Type, u"a3ztzb1234"}, {Select, u"", 0, 10}, {Backspace}},
         u"", u"10 character(s) needed", {{txtSnr, u"1234"}, {txtMsnGlobal, MsnSummary}}},
        {"replacing a selection decodes anew", txtImei,
         {{Type, u"445051079876543"}, {Select, u"", 6, 2}, {Type, u"40"}}, u"445051409876543", u"",
         {{txtFinalAssemblyCode, u"40"}, {txtImeiGlobal, u"Model: Motorola 6200 Flare GSM\r\n"
          u"Made in UK\r\nSerial# (six digits): 987654\r\nSupplementary digit (reserve): 3"}}},
        {"a paste is cut at the limit", txtImei, {{Paste, u"350904401234565999"}}, u"350904401234565",
         u"", {{txtTypeApprovalCode, u"350904"}, {txtSp, u"5"}}},
        {"so is an MSN", txtMsn, {{Paste, u"a3ztzb1234xyz"}}, u"A3ZTZB1234", u"", {{txtSnr, u"1234"}}},
        {"a paste keeps only its first line", txtMsn,
         {{Type, u"a3"}, {Paste, u"ztzb\r\n1234"}, {Paste, u"12\n34"}}, u"a3ztzb12",
         u"2 character(s) needed", {{txtMobileCode, u""}}},
        {"letters only are upper-cased, the length kept", txtMsn,
         {{Type, u"\u24D0\u2170\u0345tzb12\U00010428"}}, u"\u24D0\u2170\u0345TZB12\U00010400", u"",
         {{txtMobileCode, u"\u24D0\u2170\u0345"}, {txtOriginCode, u"T"}}},
        {"sharp s has no upper case of one character", txtMsn,
         {{Type, u"\u00e9\u00e9\u00dfrzb123\u00e7"}}, u"\u00c9\u00c9\u00dfRZB123\u00c7", u"",
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
    CheckBuiltFrom(about, About::Description());
    EXPECT_EQ(about.Title(), u"About Corvanel");
    EXPECT_EQ(about.Text(About::lblTitle), u"Corvanel");
    EXPECT_EQ(about.Text(About::lblVersion), u"Version 1.2004.429");
    EXPECT_EQ(about.Text(About::lblDescription),
              u"Corvanel:  Copyright (C) 2026 Velbrin developers\r\nVelbrin is part of Quarn "
              u"project!");
    EXPECT_EQ(about.Text(About::lblDisclaimer), Disclaimer);
    EXPECT_EQ(about.Focus(), About::cmdOK);
    const Pixels client = about.Client(); // 2340 and 1935 twips from the screen's corner
    EXPECT_EQ(std::pair(client.left, client.top),
              std::pair(2340 * about.Dpi() / 1440, 1935 * about.Dpi() / 1440));
    // The groove: gray over white, the white one twice as wide.
    const int y = ui::TwipsToPixels(1676, about.Dpi());
    EXPECT_EQ(about.Pixel(client.width / 2, y), 0x808080u);
    EXPECT_EQ(about.Pixel(client.width / 2, y + 1), 0xFFFFFFu);
}

// Opened again and again from one main window, which waits meanwhile and keeps
// its boxes.
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
    }
    EXPECT_EQ(box.caption, u"Corvanel");
    EXPECT_EQ(box.text, u"System Information non disponibile");
    EXPECT_TRUE(box.okOnly && !box.icon);
    EXPECT_EQ(main->Text(txtMsn), u"A3ZTZB1234");
    EXPECT_EQ(main->Text(txtMsnGlobal), MsnSummary);
}

} // namespace
} // namespace velbrin::test
