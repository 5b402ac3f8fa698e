#include "approval.h"

#include <fstream>
#include <sstream>

namespace velbrin::test {

void SetEnvironment(const std::string &toolkit)
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
    Environment() = toolkit + "-" + hex;
}

void ExpectApprovedImage(const std::string &name, const Image &received)
{
    Image approved;
    ReadPng(std::string(VELBRIN_APPROVED_DIR) + "/" + Environment() + "/" + name + ".png",
            approved);
    const bool same = approved.width == received.width && approved.pixels == received.pixels;
    const std::string path = Receive(name + ".png", false).string();
    if (!same || KeepAll())
        WritePng(path, received);
    if (same || !EnvironmentApproved())
        return;
    Image diff = received; // the differing pixels in red over a faded picture
    const bool sized = approved.pixels.size() == diff.pixels.size();
    std::size_t differing = sized ? 0 : diff.pixels.size();
    for (std::size_t i = 0; sized && i < diff.pixels.size(); ++i) {
        const bool alike = approved.pixels[i] == received.pixels[i];
        diff.pixels[i] = alike ? 0xC0C0C0 | (received.pixels[i] >> 2 & 0x3F3F3F) : 0xFF0000;
        differing += !alike;
    }
    WritePng(path + ".diff.png", diff);
    ADD_FAILURE() << name << ".png differs from the approved image in " << differing
                  << " pixels of " << received.pixels.size() << " (received: " << path << ")";
}

} // namespace velbrin::test
