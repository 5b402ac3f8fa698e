// Checks that hold for both front ends, written once against a Driver: each
// front end's tests supply one that reads its controls and acts as a user would.
#pragma once

#include "about/about_model.h"
#include "app/common/window_model.h"
#include "main_window/main_window_model.h"

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

// The main window right after start-up, as the published texts have it.
inline void CheckMainWindowStart(Driver &window)
{
    namespace Main = main_window;
    EXPECT_EQ(window.Title(), u"Corvanel Version 1.2004.429 Copyright (C) 2026 Velbrin developers");
    EXPECT_EQ(window.Text(Main::lblMsnLeft), u"10 character(s) needed");
    EXPECT_EQ(window.Text(Main::lblImeiLeft), u"15 character(s) needed");
    for (auto box : {Main::txtMsnGlobal, Main::txtSnr, Main::txtImei, Main::txtSp})
        EXPECT_EQ(window.Text(box), u"");
    EXPECT_EQ(window.Tooltip(Main::txtImei), u"IMEI: International Mobile Equipment Identity");
    EXPECT_EQ(window.Tooltip(Main::txtOriginCode),
              u"Origin Code: country of manifacturing or final assembly");
    EXPECT_EQ(window.Tooltip(Main::lblMsn), u"Mechanical Serial Number");
    // Every one-line box is as high as the entry boxes; each row of fields is level.
    for (auto box : {Main::txtImei, Main::txtMobileCode, Main::txtOriginCode, Main::txtYearCode,
                     Main::txtMonthCode, Main::txtSnr, Main::txtTypeApprovalCode,
                     Main::txtFinalAssemblyCode, Main::txtImeiSnr, Main::txtSp})
        EXPECT_EQ(window.Place(box).height, window.Place(Main::txtMsn).height);
    for (const auto *side : {&Main::MsnSide(), &Main::ImeiSide()})
        for (auto box : side->fields)
            EXPECT_EQ(window.Place(box).top, window.Place(side->fields.front()).top);
    EXPECT_EQ(window.Focus(), Main::txtMsn);
    std::vector<std::string> order;
    for (const int index : window.TabOrder())
        order.push_back(window.Name(index));
    EXPECT_EQ(
            order,
            (std::vector<std::string> {"txtMsn", "txtImei", "cmdAbout", "cmdExit", "txtMobileCode",
                                       "txtOriginCode", "txtYearCode", "txtMonthCode", "txtSnr",
                                       "txtTypeApprovalCode", "txtFinalAssemblyCode", "txtImeiSnr",
                                       "txtSp", "txtMsnGlobal", "txtImeiGlobal"}));
    window.Press(Key::Tab);
    EXPECT_EQ(window.Focus(), Main::txtImei);
    window.Press(Key::BackTab);
    EXPECT_EQ(window.Focus(), Main::txtMsn);
}

// The About dialog as it opens, with this build's texts.
inline void CheckAboutOpened(Driver &dialog, std::u16string_view disclaimer)
{
    namespace About = about;
    EXPECT_EQ(dialog.Title(), u"About Corvanel");
    EXPECT_EQ(dialog.Text(About::lblTitle), u"Corvanel");
    EXPECT_EQ(dialog.Text(About::lblVersion), u"Version 1.2004.429");
    EXPECT_EQ(dialog.Text(About::lblDescription),
              u"Corvanel:  Copyright (C) 2026 Velbrin developers\r\nVelbrin is part of Quarn "
              u"project!");
    EXPECT_EQ(dialog.Text(About::lblDisclaimer), disclaimer);
    EXPECT_EQ(dialog.Focus(), About::cmdOK);
    const Pixels client = dialog.Client(); // 2340 and 1935 twips from the screen's corner
    EXPECT_EQ(client.left, 2340 * dialog.Dpi() / 1440);
    EXPECT_EQ(client.top, 1935 * dialog.Dpi() / 1440);
}

} // namespace velbrin::test
