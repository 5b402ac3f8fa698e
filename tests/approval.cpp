#include "approval.h"

#include <cstdlib>
#include <fstream>
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

std::string Utf8(std::u16string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) // a pair, as one code point
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        const int extra = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        out += char((extra ? 0xFF00 >> (extra + 1) & 0xFF : 0) | c >> 6 * extra);
        for (int k = extra - 1; k >= 0; --k)
            out += char(0x80 | (c >> 6 * k & 0x3F));
    }
    return out;
}

std::u16string Utf16(std::string_view utf8)
{
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i++]);
        const int extra = lead < 0xC0 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        char32_t c = lead & (0x7F >> extra);
        for (int k = 0; k < extra && i < utf8.size(); ++k)
            c = c << 6 | (utf8[i++] & 0x3F);
        if (c >= 0x10000) // a pair
            out += {char16_t(0xD7C0 + (c >> 10)), char16_t(0xDC00 | (c & 0x3FF))};
        else
            out += char16_t(c);
    }
    return out;
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
