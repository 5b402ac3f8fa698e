#include "approval.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace velbrin::test {

std::string FontDigest()
{
    std::uint32_t digest = 2166136261u; // FNV-1a over the font files' bytes
    std::istringstream files(VELBRIN_TEST_FONTS);
    for (std::string file; std::getline(files, file, '|');) {
        std::ifstream in(file, std::ios::binary);
        for (char c; in.get(c);)
            digest = (digest ^ std::uint8_t(c)) * 16777619u;
    }
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", unsigned(digest));
    return hex;
}

void SetEnvironment(const std::string &toolkit)
{
    Environment() = toolkit + "-" + FontDigest();
}

void ExpectApprovedImage(const std::string &name, const Image &received)
{
    const std::string file = name + ".png";
    Image approved;
    const bool have =
            ReadPng(std::string(VELBRIN_APPROVED_DIR) + "/" + Environment() + "/" + file, approved);
    const bool sized =
            have && approved.width == received.width && approved.height == received.height;
    if (sized && approved.pixels == received.pixels && !KeepAll())
        return;
    const auto path = Receive(file, false);
    WritePng(path.string(), received);
    if ((sized && approved.pixels == received.pixels) || !EnvironmentApproved())
        return;
    std::size_t differing = received.pixels.size();
    if (sized) { // the differing pixels in red over a faded picture
        Image diff = received;
        differing = 0;
        for (std::size_t i = 0; i < diff.pixels.size(); ++i) {
            const bool same = approved.pixels[i] == received.pixels[i];
            diff.pixels[i] = same ? 0xC0C0C0 | (received.pixels[i] >> 2 & 0x3F3F3F) : 0xFF0000;
            differing += !same;
        }
        WritePng(path.string() + ".diff.png", diff);
    }
    ADD_FAILURE() << file << " differs from the approved image in " << differing
                  << " pixels (received: " << path << ")";
}

} // namespace velbrin::test
