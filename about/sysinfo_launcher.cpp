#include "about/sysinfo_launcher.h"

#include <array>

namespace velbrin::sysinfo {
namespace {

// Closes a key on every way out of a lookup, exceptions included.
class ScopedKey
{
public:
    explicit ScopedKey(Platform &platform)
        : m_platform(platform)
    { }
    ~ScopedKey()
    {
        if (m_open)
            m_platform.CloseKey(m_key);
    }
    ScopedKey(const ScopedKey &) = delete;
    ScopedKey &operator=(const ScopedKey &) = delete;

    bool open(std::uint32_t root, const std::string &path)
    {
        m_open = m_platform.OpenKey(root, path, KeyRead, m_key) == 0;
        return m_open;
    }
    KeyHandle handle() const { return m_key; }

private:
    Platform &m_platform;
    KeyHandle m_key = 0;
    bool m_open = false;
};

class Unavailable
{
};

// Paths are often written in quotes so that spaces in them are safe; the quotes
// are not part of the file's name.
std::string Unquoted(std::string text)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

} // namespace

Launcher::Launcher(Platform &platform, Tell tell)
    : m_platform(platform)
    , m_tell(std::move(tell))
{ }

bool Launcher::GetKeyValue(std::uint32_t keyRoot, const std::string &keyName,
                           const std::string &subKeyRef, std::string &keyVal)
{
    ScopedKey key(m_platform);
    if (!key.open(keyRoot, keyName)) {
        keyVal.clear();
        return false;
    }

    std::array<unsigned char, DataBufferSize> buffer {};
    std::uint32_t size = DataBufferSize;
    std::uint32_t type = 0;
    if (m_platform.QueryValue(key.handle(), subKeyRef, type, buffer.data(), size) != 0 ||
        size > buffer.size()) {
        keyVal.clear();
        return false;
    }
    if (size == 0)
        throw LookupFailure("registry value holds no data");

    // The last byte decides: a terminating zero counted in the size is dropped,
    // otherwise the whole data is the text.
    const std::size_t length = buffer[size - 1] == 0 ? size - 1 : size;
    if (type == RegSz) {
        keyVal.assign(reinterpret_cast<const char *>(buffer.data()), length);
    } else if (type == RegDword) {
        // Lowest byte first; the buffer was zeroed, so short data reads as zeros.
        const std::uint32_t number = std::uint32_t {buffer[0]} | std::uint32_t {buffer[1]} << 8 |
                std::uint32_t {buffer[2]} << 16 | std::uint32_t {buffer[3]} << 24;
        keyVal = std::to_string(number);
    }
    return true;
}

void Launcher::FindAndStart()
{
    std::string path;
    if (GetKeyValue(HkeyLocalMachine, std::string(PathKey), std::string(PathValue), path)) {
        path = Unquoted(std::move(path));
    } else {
        if (!GetKeyValue(HkeyLocalMachine, std::string(FolderKey), std::string(FolderValue), path))
            throw Unavailable();
        std::string joined = Unquoted(std::move(path)) + std::string(ProgramFile);
        if (!m_platform.IsOrdinaryFile(joined))
            throw Unavailable();
        path = std::move(joined);
    }
    // The path is started quoted as a command line; a quote inside it could end
    // the quoting early and make the rest a different program's arguments.
    if (path.empty() || path.find('"') != std::string::npos || !m_platform.StartProgram(path))
        throw Unavailable();
}

void Launcher::StartSysInfo()
{
    try {
        FindAndStart();
        return;
    } catch (const Unavailable &) {
    } catch (const std::exception &) {
        // A lookup or platform failure ends in the same message as a missing program.
    }
    m_tell(UnavailableMessage);
}

SysInfo::SysInfo(Launcher::Tell tell)
    : m_tell(std::move(tell))
{ }

Launcher SysInfo::launcher()
{
    if (!m_platform)
        m_platform = MakeSystemPlatform();
    return Launcher(*m_platform, m_tell);
}

void SysInfo::StartSysInfo()
{
    launcher().StartSysInfo();
}

bool SysInfo::GetKeyValue(std::uint32_t keyRoot, const std::string &keyName,
                          const std::string &subKeyRef, std::string &keyVal)
{
    return launcher().GetKeyValue(keyRoot, keyName, subKeyRef, keyVal);
}

} // namespace velbrin::sysinfo
