// The launcher's operations where there is no Windows registry: a read-only
// stand-in that knows one value, the path of the first system-information program
// installed from a short list, and answers every other lookup as missing.
#pragma once

#include "about/sysinfo_launcher.h"

#include <string>
#include <vector>

namespace velbrin::sysinfo {

class PosixPlatform final : public Platform
{
public:
    // Candidate programs, full paths, most wanted first.
    explicit PosixPlatform(std::vector<std::string> candidates = DefaultCandidates());

    static std::vector<std::string> DefaultCandidates();

    long OpenKey(std::uint32_t root, const std::string &path, std::uint32_t access,
                 KeyHandle &key) override;
    long QueryValue(KeyHandle key, const std::string &name, std::uint32_t &type,
                    unsigned char *data, std::uint32_t &size) override;
    void CloseKey(KeyHandle key) override;
    bool IsOrdinaryFile(const std::string &path) override;
    bool StartProgram(const std::string &path) override;

private:
    std::vector<std::string> m_candidates;
};

} // namespace velbrin::sysinfo
