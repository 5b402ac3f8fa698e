// The two windows as a user meets them, run against every front end: what the
// user does and what the program then shows are held in approved files, the
// steps replayed from them.
#include "about/sysinfo_launcher.h"
#include "approval.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

namespace velbrin {
namespace test {
namespace {

std::string registered; // the first lookup of System Info finds this; none when empty
std::vector<std::string> started; // what System Info started

// A registry that knows `registered` alone, and starts that go to `started`.
struct Registered : sysinfo::Platform
{
    long OpenKey(std::uint32_t, const std::string &key, std::uint32_t,
                 sysinfo::KeyHandle &) override
    {
        return registered.empty() || key != sysinfo::PathKey;
    }
    long QueryValue(sysinfo::KeyHandle, const std::string &, std::uint32_t &type,
                    unsigned char *data, std::uint32_t &size) override
    {
        std::memcpy(data, registered.data(), size = std::uint32_t(registered.size()));
        type = sysinfo::RegSz;
        return 0;
    }
    void CloseKey(sysinfo::KeyHandle) override { }
    bool IsOrdinaryFile(const std::string &) override { return false; }
    bool StartProgram(const std::string &path) override
    {
        started.push_back(path);
        return true;
    }
};

} // namespace

Step Parse(const std::u16string &step)
{
    const auto space = std::min(step.find(u' '), step.size());
    Step parsed {Utf8(step.substr(0, space)), "", step.substr(std::min(space + 1, step.size()))};
    std::istringstream(Utf8(parsed.text)) >> parsed.control >> parsed.from >> parsed.count;
    return parsed;
}

std::string Frame(bool closeBox, bool minimizeBox, bool maximizeBox, bool resizable)
{
    const std::string frame = std::string(closeBox ? ", close box" : "") +
            (minimizeBox ? ", minimize box" : "") + (maximizeBox ? ", maximize box" : "") +
            (resizable ? ", resizable" : "");
    return frame.empty() ? "none" : frame.substr(2);
}

namespace {

// What every front end shows alike: the text, and in the focused control where
// the caret is or what is selected.
std::string Shown(const Seen &s)
{
    std::string shown = s.name + (s.visible ? " " : " hidden ") + Quoted(s.text);
    if (s.focused)
        shown += s.selectionStart < 0 ? " focused"
                : s.selectionStart == s.selectionEnd
                ? " focused, caret " + std::to_string(s.selectionEnd)
                : " focused, selected " + std::to_string(s.selectionStart) + "-" +
                        std::to_string(s.selectionEnd);
    return shown + (s.scrolled > 0 ? " scrolled " + std::to_string(s.scrolled) : "");
}

} // namespace

// All of it, as this front end shows it.
std::string Dumped(const std::vector<Seen> &seen)
{
    std::string dump;
    for (const Seen &s : seen) {
        char line[160];
        std::snprintf(line, sizeof line, " %s at %d,%d %dx%d colour #%06x heard ", s.role.c_str(),
                      s.place.left, s.place.top, s.place.width, s.place.height, unsigned(s.colour));
        dump += Shown(s) + line + Quoted(s.heard) +
                (s.description.empty() ? "" : " described " + Quoted(s.description)) +
                (s.tooltip.empty() ? "" : " tooltip " + Quoted(s.tooltip)) +
                (s.frame.empty() ? "" : " frame: " + s.frame) +
                (s.announced.empty() ? "" : " announced " + Quoted(s.announced)) +
                (s.readOnly ? " read-only\n" : "\n");
    }
    return dump;
}

namespace {

// A step as the transcript shows it, on one line, and back.
std::string Echo(const std::u16string &step)
{
    const std::string quoted = Quoted(step);
    return quoted.substr(1, quoted.size() - 2);
}

std::u16string Unquoted(const std::string &echo)
{
    std::string utf8;
    for (std::size_t i = 0; i < echo.size(); ++i) { // a backslash before anything else stays
        const auto e = echo[i] == '\\' && i + 1 < echo.size()
                ? std::string_view("rn\"0").find(echo[i + 1])
                : std::string_view::npos;
        utf8 += e == std::string_view::npos ? echo[i] : "\r\n\"\0"[e];
        i += e != std::string_view::npos;
    }
    return Utf16(utf8);
}

// The steps and what changed on the screen after each: the topmost window's
// controls that changed (in the description's order, for every front end alike),
// a message box, the programs started, and at last how the program ends. A
// recording that starts quietly shows nothing of the window before the first step.
std::string Record(Driver &program, const std::vector<std::u16string> &steps, bool quiet)
{
    std::string text;
    std::size_t played = 0; // steps, and the look before them
    std::map<std::string, std::map<std::string, std::string>> shown; // window -> control -> line
    std::string window;
    const auto note = [&](std::size_t step) {
        if (step < steps.size())
            text += "> " + Echo(steps[step]) + "\n";
        ++played;
        auto seen = program.Dump();
        std::stable_sort(seen.begin(), seen.end(),
                         [](auto &a, auto &b) { return a.index < b.index; });
        if (seen.front().name != window)
            text += "in " + (window = seen.front().name) + "\n";
        for (const Seen &s : seen) {
            if (std::string &before = shown[window][s.name]; Shown(s) != before) {
                before = Shown(s);
                text += quiet && step == steps.size() ? "" : "  " + before + "\n";
            }
        }
        if (const auto box = program.MessageBox())
            text += "  message box " + Quoted(box->caption) + " " + Quoted(box->text) + " [" +
                    box->buttons +
                    (box->icon.empty() ? "] without an icon\n"
                                       : "] with the " + box->icon + " icon\n");
        for (const auto &path : std::exchange(started, {}))
            text += "  started " + path + "\n";
    };
    note(steps.size());
    const int status = program.Play(steps, note);
    if (status >= 0 && played <= steps.size()) // the step that ended it
        text += "> " + Echo(steps[played - 1]) + "\n";
    text += status < 0 ? "goes on\n" : "ends with status " + std::to_string(status) + "\n";
    for (std::size_t k = played; k < steps.size(); ++k) // kept, though never played
        text += "> " + Echo(steps[k]) + "\n";
    return text;
}

// The transcripts folder's files. Each holds its cases: a title ("== "), the
// path System Info's registry holds for it, if any ("registered "), and its steps
// ("> "), which are played again as they stand and written back beside what they
// did. Only the files named here are cases.
struct Transcript
{
    const char *name;
    bool phone = false; // the page's alone
};

void PrintTo(const Transcript &t, std::ostream *out)
{
    *out << t.name;
}

class Transcripts : public ::testing::TestWithParam<Transcript>
{
};

TEST_P(Transcripts, AsApproved)
{
    struct Case
    {
        std::string title, registered;
        std::vector<std::u16string> steps;
    };
    std::vector<Case> cases;
    std::ifstream approved(std::string(VELBRIN_APPROVED_DIR "/transcripts/") + GetParam().name +
                           ".txt");
    for (std::string line; std::getline(approved, line);) {
        if (line.starts_with("== "))
            cases.push_back({line.substr(3), "", {}});
        else if (line.starts_with("registered ") && !cases.empty())
            cases.back().registered = line.substr(11);
        else if (line.starts_with("> ") && !cases.empty())
            cases.back().steps.push_back(Unquoted(line.substr(2)));
    }
    ASSERT_FALSE(cases.empty()) << "no cases in the approved " << GetParam().name << ".txt";
    if (GetParam().phone ? !isThePage : isThePage && !cases[0].registered.empty())
        GTEST_SKIP() << "not for this front end (the page starts no program)";
    std::string text;
    for (const Case &c : cases) { // each on a fresh main window, whose start is shown once
        registered = c.registered;
        text += "== " + c.title + "\n" +
                (registered.empty() ? "" : "registered " + registered + "\n") +
                Record(*OpenMain(), c.steps, &c != &cases[0]);
    }
    ExpectApproved("transcripts/" + std::string(GetParam().name) + ".txt", text, true);
}

INSTANTIATE_TEST_SUITE_P(Windows, Transcripts,
                         ::testing::Values(Transcript {"tab"}, Transcript {"typing"},
                                           Transcript {"closing"}, Transcript {"failure"},
                                           Transcript {"about"}, Transcript {"system_info"},
                                           Transcript {"phone", true}),
                         [](const auto &info) { return info.param.name; });

// Both windows at each scale, dumped and pictured: at start, decoded (a full
// summary of each kind, a caret in a read-only field) and About.
TEST(Windows, LookAsApproved)
{
    EXPECT_TRUE(EnvironmentApproved()) << "no approved files for this environment ("
                                       << Environment() << "): approve again for it with "
                                       << "tests/approve.sh";
    for (const double scale : {1.0, 1.5, 2.0}) {
        auto main = OpenMain();
        if (!main->Rescale(scale))
            continue;
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "@%gx", scale);
        const auto take = [&](const std::string &name) {
            ExpectApproved(name + suffix + ".txt", Dumped(main->Dump()), false);
            ExpectApproved(name + suffix + ".png", main->Shot(), false);
        };
        take("frmVelbrin-start");
        main->Play({u"type a3ztzb1234", u"select txtImei 0 0", u"type 12345619876543z",
                    u"select txtMobileCode 0 0", u"alt b", u"key Escape"},
                   [&](std::size_t step) {
                       if (step == 3)
                           take("frmVelbrin-decoded");
                       if (step == 4 && main->Rescale(scale))
                           take("frmAbout");
                   });
    }
}

} // namespace

} // namespace test

std::unique_ptr<sysinfo::Platform> sysinfo::MakeSystemPlatform()
{
    return std::make_unique<test::Registered>();
}

} // namespace velbrin
