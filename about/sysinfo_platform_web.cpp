// The launcher's operations in a browser: a page has no registry and may start no
// program, so every key stays closed and the launcher says that System
// Information is not available.
#include "about/sysinfo_launcher.h"

namespace velbrin::sysinfo {
namespace {

constexpr long NotFound = 2; // ERROR_FILE_NOT_FOUND

class WebPlatform final : public Platform
{
public:
    long OpenKey(std::uint32_t, const std::string &, std::uint32_t, KeyHandle &) override
    {
        return NotFound;
    }
    long QueryValue(KeyHandle, const std::string &, std::uint32_t &, unsigned char *,
                    std::uint32_t &) override
    {
        return NotFound;
    }
    void CloseKey(KeyHandle) override { }
    bool IsOrdinaryFile(const std::string &) override { return false; }
    bool StartProgram(const std::string &) override { return false; }
};

} // namespace

std::unique_ptr<Platform> MakeSystemPlatform()
{
    return std::make_unique<WebPlatform>();
}

} // namespace velbrin::sysinfo
