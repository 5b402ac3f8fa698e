// Starting the operating system's System Information program.
//
// The program is found through two machine-wide registry values: the full path in
// "PATH" under SOFTWARE\Microsoft\Shared Tools\MSINFO, or else the folder in
// "MSINFO" under SOFTWARE\Microsoft\Shared Tools Location joined with
// "\MSINFO32.EXE". The logic here is plain C++ over an injected Platform, so it is
// the same on every system and testable against a fake; the real platforms live
// in sysinfo_platform_*.cpp. Text is 8-bit in the system's ANSI code page, as the
// registry's A functions take and give it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace velbrin::sysinfo {

using KeyHandle = std::uintptr_t;

inline constexpr std::uint32_t HkeyLocalMachine = 0x80000002;
// Read access only (KEY_READ): asking for more makes the open fail for every
// user who may not write to the machine-wide registry.
inline constexpr std::uint32_t KeyRead = 0x20019;
inline constexpr std::uint32_t RegSz = 1;
inline constexpr std::uint32_t RegDword = 4;
inline constexpr std::uint32_t DataBufferSize = 1024;

inline constexpr std::string_view PathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr std::string_view PathValue = "PATH";
inline constexpr std::string_view FolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr std::string_view FolderValue = "MSINFO";
inline constexpr std::string_view ProgramFile = "\\MSINFO32.EXE";
inline constexpr std::string_view UnavailableMessage = "System Information non disponibile";

// The operations the launcher needs from the system, with the registry's
// conventions: 0 is success, anything else a failure.
class Platform
{
public:
    virtual ~Platform() = default;

    virtual long OpenKey(std::uint32_t root, const std::string &path, std::uint32_t access,
                         KeyHandle &key) = 0;
    // On entry size is the buffer's size; on success it holds the data's size.
    virtual long QueryValue(KeyHandle key, const std::string &name, std::uint32_t &type,
                            unsigned char *data, std::uint32_t &size) = 0;
    virtual void CloseKey(KeyHandle key) = 0;
    // An ordinary file: not a folder, not hidden, not a system file. A path that
    // cannot be tested is no file.
    virtual bool IsOrdinaryFile(const std::string &path) = 0;
    // Starts exactly the program file at `path` in a normal, activated window,
    // without waiting for it. False when it cannot be started.
    virtual bool StartProgram(const std::string &path) = 0;
};

// A lookup that cannot go on (a value with no data at all). StartSysInfo handles
// it; other callers of GetKeyValue see it as an exception.
class LookupFailure : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class Launcher
{
public:
    // How the user is told that the program is not available.
    using Tell = std::function<void(std::string_view message)>;

    Launcher(Platform &platform, Tell tell);

    // Reads one value below root\keyName into keyVal as text: REG_SZ data as it
    // stands (a terminating zero dropped), REG_DWORD as an unsigned decimal number;
    // any other type leaves keyVal as it was. False, with keyVal empty, when the
    // key cannot be opened or the value cannot be read.
    bool GetKeyValue(std::uint32_t keyRoot, const std::string &keyName,
                     const std::string &subKeyRef, std::string &keyVal);

    // Starts the System Information program, or tells the user it is not
    // available. Never throws for a failure of the lookup or the start.
    void StartSysInfo();

private:
    // Finds and starts the program; throws when it cannot.
    void FindAndStart();

    Platform &m_platform;
    Tell m_tell;
};

// The real operations of the system this is built for.
std::unique_ptr<Platform> MakeSystemPlatform();

// The launcher as a window offers it: on the system it runs on, made on first
// use.
class SysInfo
{
public:
    explicit SysInfo(Launcher::Tell tell);

    void StartSysInfo();
    bool GetKeyValue(std::uint32_t keyRoot, const std::string &keyName,
                     const std::string &subKeyRef, std::string &keyVal);

private:
    Launcher launcher();

    std::unique_ptr<Platform> m_platform;
    Launcher::Tell m_tell;
};

} // namespace velbrin::sysinfo
