#include "approval.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace velbrin::test {
namespace {

namespace fs = std::filesystem;

std::string environment = "unknown";

fs::path Approved(const std::string &name, bool shared)
{
    return fs::path(VELBRIN_APPROVED_DIR) / (shared ? name : environment + "/" + name);
}

// Each environment's own, and what the front ends share, apart: a run of each
// front end keeps its own.
fs::path Received(const std::string &name, bool shared)
{
    return fs::path(VELBRIN_RECEIVED_DIR) / environment / (shared ? "shared/" + name : name);
}

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The lines only one of the two texts has ("-" approved, "+" received), in order.
std::string Diff(const std::vector<std::string> &a, const std::vector<std::string> &b)
{
    std::vector<std::vector<int>> common(a.size() + 1, std::vector<int>(b.size() + 1));
    for (std::size_t i = a.size(); i-- > 0;)
        for (std::size_t j = b.size(); j-- > 0;)
            common[i][j] = a[i] == b[j] ? common[i + 1][j + 1] + 1
                                        : std::max(common[i + 1][j], common[i][j + 1]);
    std::string diff;
    for (std::size_t i = 0, j = 0; i < a.size() || j < b.size();) {
        if (i < a.size() && j < b.size() && a[i] == b[j])
            ++i, ++j;
        else if (j < b.size() && (i == a.size() || common[i][j + 1] >= common[i + 1][j]))
            diff += "+ " + b[j++] + "\n";
        else
            diff += "- " + a[i++] + "\n";
    }
    return diff;
}

} // namespace

std::string Utf8(std::u16string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) {
            out += char(c);
            continue;
        }
        if (c >= 0xD800 && c < 0xE000) { // half of a pair, alone
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", unsigned(c));
            out += escaped;
            continue;
        }
        const int extra = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        out += char((0xFF00 >> (extra + 1) & 0xFF) | c >> 6 * extra);
        for (int k = extra - 1; k >= 0; --k)
            out += char(0x80 | (c >> 6 * k & 0x3F));
    }
    return out;
}

std::string Quoted(std::u16string_view text)
{
    std::string quoted = "\"";
    for (const char c : Utf8(text))
        quoted += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '"' ? "\\\"" : std::string(1, c);
    return quoted + '"';
}

bool EnvironmentApproved()
{
    return fs::is_directory(fs::path(VELBRIN_APPROVED_DIR) / environment);
}

// Whether a file that matches is kept too: tests/approve.sh records every one.
bool KeepAll()
{
    return std::getenv("VELBRIN_RECEIVE_ALL") != nullptr;
}

fs::path Receive(const std::string &name, bool shared)
{
    const fs::path path = Received(name, shared);
    fs::create_directories(path.parent_path());
    return path;
}

std::string &Environment()
{
    return environment;
}

void ExpectApprovedText(const std::string &name, const std::string &received, bool shared)
{
    std::ifstream in(Approved(name, shared), std::ios::binary);
    std::stringstream approved;
    approved << in.rdbuf();
    if (approved.str() == received && !KeepAll())
        return;
    std::ofstream(Receive(name, shared), std::ios::binary) << received;
    if (approved.str() == received || (!shared && !EnvironmentApproved()))
        return;
    ADD_FAILURE() << name << " differs from the approved file (received: " << Received(name, shared)
                  << "):\n"
                  << Diff(Lines(approved.str()), Lines(received));
}

} // namespace velbrin::test
