#include "about/about_model.h"

#include <array>

namespace velbrin::about {
namespace {

using ui::Colour;
using ui::Kind;
using namespace ui; // flags

// The separator is an etched groove: a gray line over a white one twice as wide,
// so a white line shows just below the gray.
// clang-format off
constexpr std::array<ui::Control, ControlCount> Controls {{
    // name, kind, caption, place (twips), tab, max length, settings, colour, heard,
    // tooltip, line width (pixels)
    {"picIcon", Kind::Picture, u"", {240, 240, 540, 540}, 1},
    {"cmdOK", Kind::Button, u"OK", {5040, 2625, 1260, 345}, 0, 0, DefaultButton | CancelButton},
    {"cmdSysInfo", Kind::Button, u"&System Info...", {5040, 3120, 1245, 345}, 2},
    {"Line1", Kind::Line, u"", {120, 1676, 6117, 0}, NoTab, 0, 0, Colour::Gray, u"", u"", 1},
    {"lblDescription", Kind::Label, u"", {1056, 1128, 36, 192}, 3, 0, AutoSize, Colour::Black},
    {"lblTitle", Kind::Label, u"Application Title", {1050, 240, 3885, 480}, 5, 0, 0, Colour::Black},
    {"Line1", Kind::Line, u"", {120, 1676, 6117, 0}, NoTab, 0, 0, Colour::White, u"", u"", 2},
    {"lblVersion", Kind::Label, u"Version", {1050, 780, 3885, 225}, 6},
    {"lblDisclaimer", Kind::Label, u"Warning: ...", {240, 1800, 780, 192}, 4, 0, AutoSize,
     Colour::Black},
}};
// clang-format on

// The client area's corner stands at a fixed place on the screen; not centred.
constexpr ui::WindowDescription frmAbout {"frmAbout", 6345, 3555, Controls, true, 2340, 1935};

} // namespace

const ui::WindowDescription &Description()
{
    return frmAbout;
}

} // namespace velbrin::about
