// The launcher on the real Windows registry, file system and CreateProcess (run
// under wine by the cross build). Values are written with advapi32 and read back
// through the launcher's own platform.
#include "about/sysinfo_launcher.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

namespace velbrin::sysinfo {
namespace {

using namespace std::string_literals;

const char *const TestKey = "SOFTWARE\\VelbrinTests";

void SetValue(const std::string &key, const std::string &name, DWORD type, const std::string &data)
{
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              &handle, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(handle, name.c_str(), 0, type,
                             reinterpret_cast<const BYTE *>(data.data()),
                             static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
    RegCloseKey(handle);
}

void DeleteKey(const std::string &key)
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
}

std::string Folder(const std::string &path)
{
    return path.substr(0, path.find_last_of('\\'));
}

std::string ThisFolder()
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    return Folder(self);
}

bool Exists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WaitFor(const std::string &path)
{
    for (int i = 0; i < 400 && !Exists(path); ++i)
        Sleep(50);
    return Exists(path);
}

void Plant(const std::string &path)
{
    CreateDirectoryA(Folder(path).c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((ThisFolder() + "\\marker_program.exe").c_str(), path.c_str(), FALSE))
            << path;
    DeleteFileA((path + ".ran").c_str());
}

TEST(Win32Registry, GetKeyValueReadsWhatAdvapi32Wrote)
{
    struct Case
    {
        const char *name;
        DWORD type;
        std::string data;
        bool result;
        std::string keyVal; // starts as "before"
    };
    const Case cases[] = {
            {"text_zero", REG_SZ, "C:\\Tools\\info.exe\0"s, true, "C:\\Tools\\info.exe"},
            {"text_no_zero", REG_SZ, "C:\\Tools\\info.exe", true, "C:\\Tools\\info.exe"},
            {"dword", REG_DWORD, "\x03\x02\x01\x00"s, true, "66051"},
            {"dword_max", REG_DWORD, "\xff\xff\xff\xff", true, "4294967295"},
            {"expandable", REG_EXPAND_SZ, "%SystemRoot%\\x\0"s, true, "before"},
            {"long_1500", REG_SZ, std::string(1500, 'a'), false, ""},
            // Text filling the buffer exactly: wine appends the missing zero when there
            // is room and refuses the value when there is none; both stay in bounds.
            {"exact_1023", REG_SZ, std::string(1023, 'b'), true, std::string(1023, 'b')},
            {"binary_1024", REG_BINARY, std::string(1024, 'c'), true, "before"},
    };
    DeleteKey(TestKey);
    for (const auto &c : cases)
        SetValue(TestKey, c.name, c.type, c.data);
    SetValue(TestKey, "empty", REG_SZ, "");

    const auto platform = MakeSystemPlatform();
    Launcher launcher(*platform, [](std::string_view) {});
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::string keyVal = "before";
        EXPECT_EQ(launcher.GetKeyValue(HkeyLocalMachine, TestKey, c.name, keyVal), c.result);
        EXPECT_EQ(keyVal, c.keyVal);
    }
    std::string keyVal = "before";
    EXPECT_FALSE(launcher.GetKeyValue(HkeyLocalMachine, TestKey, "missing", keyVal));
    EXPECT_EQ(keyVal, "");
    EXPECT_FALSE(launcher.GetKeyValue(HkeyLocalMachine, "SOFTWARE\\VelbrinNoSuchKey", "x", keyVal));
    EXPECT_THROW(launcher.GetKeyValue(HkeyLocalMachine, TestKey, "empty", keyVal), LookupFailure);
    DeleteKey(TestKey);
}

TEST(Win32Files, OnlyOrdinaryFilesCount)
{
    const std::string folder = ThisFolder() + "\\velbrin-files";
    CreateDirectoryA(folder.c_str(), nullptr);
    const struct
    {
        const char *name;
        DWORD attributes;
        bool ordinary;
    } files[] = {{"plain", FILE_ATTRIBUTE_NORMAL, true},
                 {"read-only", FILE_ATTRIBUTE_READONLY, true},
                 {"hidden", FILE_ATTRIBUTE_HIDDEN, false},
                 {"system", FILE_ATTRIBUTE_SYSTEM, false}};
    const auto platform = MakeSystemPlatform();
    for (const auto &f : files) {
        const std::string path = folder + "\\" + f.name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        std::ofstream(path) << "x";
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), f.attributes));
        EXPECT_EQ(platform->IsOrdinaryFile(path), f.ordinary) << f.name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
    }
    EXPECT_FALSE(platform->IsOrdinaryFile(folder));
    EXPECT_FALSE(platform->IsOrdinaryFile(folder + "\\missing"));
    RemoveDirectoryA(folder.c_str());
}

class Win32Launch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DeleteKey(std::string(PathKey));
        DeleteKey(std::string(FolderKey));
    }
    void TearDown() override { SetUp(); }

    int StartSysInfo()
    {
        int messages = 0;
        const auto platform = MakeSystemPlatform();
        Launcher(*platform, [&](std::string_view) { ++messages; }).StartSysInfo();
        return messages;
    }
};

TEST_F(Win32Launch, StartsExactlyTheFileThePathNames)
{
    const std::string planted = "C:\\Program.exe";
    const std::string target = "C:\\Program Files\\Velbrin Test Tool\\info tool.exe";
    Plant(planted);
    Plant(target);
    SetValue(std::string(PathKey), "PATH", REG_SZ, target + '\0');

    EXPECT_EQ(StartSysInfo(), 0);
    ASSERT_TRUE(WaitFor(target + ".ran"));
    std::stringstream commandLine;
    commandLine << std::ifstream(target + ".ran").rdbuf();
    EXPECT_EQ(commandLine.str(), '"' + target + '"');
    Sleep(300);
    EXPECT_FALSE(Exists(planted + ".ran"));
    DeleteFileA(planted.c_str());
}

TEST_F(Win32Launch, FallsBackToTheFolderOfTheSecondValue)
{
    const std::string folder = "C:\\Velbrin Info Folder";
    const std::string program = folder + "\\MSINFO32.EXE";
    SetValue(std::string(FolderKey), "MSINFO", REG_SZ, folder + '\0');

    DeleteFileA(program.c_str());
    EXPECT_EQ(StartSysInfo(), 1); // no such file: the message, and nothing started

    Plant(program);
    EXPECT_EQ(StartSysInfo(), 0);
    EXPECT_TRUE(WaitFor(program + ".ran"));

    // A path naming no program: the start fails and the user is told.
    SetValue(std::string(PathKey), "PATH", REG_SZ, "C:\\Velbrin No Such\\tool.exe");
    EXPECT_EQ(StartSysInfo(), 1);
}

} // namespace
} // namespace velbrin::sysinfo
