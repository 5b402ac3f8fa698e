#include "approval.h"

#include <codecvt>
#include <cstdlib>
#include <fstream>
#include <locale>
#include <sstream>
#include <vector>

namespace velbrin::test {

namespace fs = std::filesystem;

void SetEnvironment(const std::string &toolkit)
{
    Environment() = toolkit + "-" VELBRIN_FONTS_DIGEST;
}

std::string &Environment()
{
    static std::string environment = "unknown";
    return environment;
}

bool EnvironmentApproved()
{
    return fs::is_directory(fs::path(VELBRIN_APPROVED_DIR) / Environment());
}

// Whether a file that matches is kept too: tests/approve.sh records every one.
bool KeepAll()
{
    return std::getenv("VELBRIN_RECEIVE_ALL") != nullptr;
}

// Each environment's files apart, and what the front ends share apart again: a
// run of each front end keeps its own.
fs::path Receive(const std::string &name, bool shared)
{
    const fs::path path =
            fs::path(VELBRIN_RECEIVED_DIR) / Environment() / (shared ? "shared/" + name : name);
    fs::create_directories(path.parent_path());
    return path;
}

// Text the standard library cannot convert (half of a pair of UTF-16 units, a
// broken UTF-8 sequence) comes out as "?", never quietly cut short.
std::string Utf8(std::u16string_view text)
{
    std::wstring_convert<std::codecvt_utf8_utf16<char16_t>, char16_t> utf("?");
    const std::string out = utf.to_bytes(text.data(), text.data() + text.size());
    return utf.converted() == text.size() ? out : "?";
}

std::u16string Utf16(std::string_view utf8)
{
    return std::wstring_convert<std::codecvt_utf8_utf16<char16_t>, char16_t>("?", u"?").from_bytes(
            utf8.data(), utf8.data() + utf8.size());
}

std::string Quoted(std::u16string_view text)
{
    return Quoted(Utf8(text));
}

std::string Quoted(std::string_view utf8)
{
    std::string quoted = "\"";
    for (const char c : utf8) // line breaks, quotes and zeros escaped as in C
        if (const auto e = std::string_view("\r\n\"", 4).find(c); e != std::string_view::npos)
            quoted += std::string("\\") + "rn\"0"[e];
        else
            quoted += c;
    return quoted + '"';
}

namespace {

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The lines that differ ("-" approved, "+" received) with two lines around each,
// as diff -u shows them: GoogleTest's own, which pairs the lines by the fewest
// edits, so a line that stands elsewhere too is still shown.
std::string Diff(const std::string &approved, const std::string &received)
{
    return ::testing::internal::edit_distance::CreateUnifiedDiff(Lines(approved), Lines(received),
                                                                 2);
}

} // namespace

void ExpectApproved(const std::string &name, const std::string &received, bool shared)
{
    const fs::path file = fs::path(VELBRIN_APPROVED_DIR) / (shared ? "" : Environment()) / name;
    std::stringstream approved;
    approved << std::ifstream(file, std::ios::binary).rdbuf();
    if (approved.str() != received || KeepAll())
        std::ofstream(Receive(name, shared), std::ios::binary) << received;
    if (approved.str() == received || (!shared && !EnvironmentApproved()))
        return;
    const fs::path path = Receive(name, shared);
    // A picture's differing pixels, drawn in red by this command; a text's lines.
    const std::string diff = name.ends_with(".png")
            ? "compare " + file.string() + " " + path.string() + " " + path.string() + ".diff.png"
            : Diff(approved.str(), received);
    ADD_FAILURE() << name << " differs from the approved file (received: " << path.string()
                  << "):\n"
                  << diff;
}

} // namespace velbrin::test
