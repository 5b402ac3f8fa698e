// The launcher's operations on Windows: the registry through advapi32's ANSI
// functions, read only; the file test through the file's attributes; the start
// through CreateProcess.
#include "about/sysinfo_launcher.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace velbrin::sysinfo {
namespace {

// The predefined root keys are 32-bit values that Windows sign-extends to the
// width of a handle.
HKEY RootKey(std::uint32_t root)
{
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

class Win32Platform final : public Platform
{
public:
    long OpenKey(std::uint32_t root, const std::string &path, std::uint32_t access,
                 KeyHandle &key) override
    {
        HKEY opened = nullptr;
        const LONG result = RegOpenKeyExA(RootKey(root), path.c_str(), 0, access, &opened);
        if (result == ERROR_SUCCESS)
            key = reinterpret_cast<KeyHandle>(opened);
        return result;
    }

    long QueryValue(KeyHandle key, const std::string &name, std::uint32_t &type,
                    unsigned char *data, std::uint32_t &size) override
    {
        DWORD valueType = 0;
        DWORD dataSize = size;
        const LONG result = RegQueryValueExA(reinterpret_cast<HKEY>(key), name.c_str(), nullptr,
                                             &valueType, data, &dataSize);
        type = valueType;
        size = dataSize;
        return result;
    }

    void CloseKey(KeyHandle key) override { RegCloseKey(reinterpret_cast<HKEY>(key)); }

    bool IsOrdinaryFile(const std::string &path) override
    {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        constexpr DWORD notOrdinary =
                FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & notOrdinary) == 0;
    }

    bool StartProgram(const std::string &path) override
    {
        // The path names the program file itself; the quoted command line is only
        // what the program sees as its argv[0]. Left unquoted and without the
        // application name, "C:\Program Files\..." would first try "C:\Program.exe".
        std::string commandLine = '"' + path + '"';
        STARTUPINFOA startup {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION process {};
        if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process))
            return false;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }
};

} // namespace

std::unique_ptr<Platform> MakeSystemPlatform()
{
    return std::make_unique<Win32Platform>();
}

} // namespace velbrin::sysinfo
