// The launcher on the real Windows registry, file system and CreateProcess (under
// wine in the cross build). Values are written with advapi32 and read back
// through the launcher's own platform.
#include "about/sysinfo_launcher.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>

namespace velbrin::sysinfo {
namespace {

using namespace std::string_literals;

const std::string tests = "SOFTWARE\\VelbrinTests";

void SetValue(std::string_view key, const char *name, DWORD type, const std::string &data)
{
    EXPECT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, std::string(key).c_str(), name, type, data.data(),
                              DWORD(data.size())),
              ERROR_SUCCESS);
}

void DeleteKeys()
{
    for (const std::string_view key : {std::string_view(tests), PathKey, FolderKey})
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, std::string(key).c_str());
}

TEST(Win32Registry, GetKeyValueReadsWhatAdvapi32Wrote)
{
    const struct
    {
        const char *name;
        DWORD type;
        std::string data, keyVal; // keyVal starts as "before"; "!": the lookup fails
    } cases[] = {
            {"text_zero", REG_SZ, "C:\\Tools\\info.exe\0"s, "C:\\Tools\\info.exe"},
            {"text_no_zero", REG_SZ, "C:\\Tools\\info.exe", "C:\\Tools\\info.exe"},
            {"inner_zero", REG_SZ, "a\0b"s, "a\0b"s},
            {"dword_top_bit", REG_DWORD, "\xff\xfe\x01\x80", "2147614463"},
            {"expandable", REG_EXPAND_SZ, "%SystemRoot%\\x\0"s, "before"},
            // Text filling the buffer: wine adds the missing zero when there is room
            // and refuses the value when there is none; both stay in bounds.
            {"exact_1023", REG_SZ, std::string(1023, 'b'), std::string(1023, 'b')},
            {"full_1024", REG_SZ, std::string(1023, 'd') + '\0', std::string(1023, 'd')},
            {"over_1024", REG_SZ, std::string(1024, 'e') + '\0', "!"},
            {"binary_1024", REG_BINARY, std::string(1024, 'c'), "before"},
    };
    DeleteKeys();
    for (const auto &c : cases)
        SetValue(tests, c.name, c.type, c.data);
    SetValue(tests, "empty", REG_SZ, "");
    const auto platform = MakeSystemPlatform();
    Launcher launcher(*platform, [](std::string_view) {});
    for (const auto &c : cases) {
        std::string keyVal = "before";
        EXPECT_EQ(launcher.GetKeyValue(HkeyLocalMachine, tests, c.name, keyVal), c.keyVal != "!");
        EXPECT_EQ(keyVal, c.keyVal == "!" ? "" : c.keyVal) << c.name;
    }
    std::string keyVal = "before";
    EXPECT_FALSE(launcher.GetKeyValue(HkeyLocalMachine, tests, "missing", keyVal) || keyVal != "");
    EXPECT_FALSE(launcher.GetKeyValue(HkeyLocalMachine, tests + "\\none", "x", keyVal));
    EXPECT_THROW(launcher.GetKeyValue(HkeyLocalMachine, tests, "empty", keyVal), LookupFailure);
    DeleteKeys();
}

// Copies of a program that leaves "<its own path>.ran" holding its command line
// and the window state it was started with, so that a test can tell which file
// was started and how.
void Plant(const std::string &path, DWORD attributes = FILE_ATTRIBUTE_NORMAL)
{
    char self[MAX_PATH] = {};
    std::string marker(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
    marker.replace(marker.find_last_of('\\'), std::string::npos, "\\marker_program.exe");
    CreateDirectoryA(path.substr(0, path.find_last_of('\\')).c_str(), nullptr);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(CopyFileA(marker.c_str(), path.c_str(), FALSE) &&
                SetFileAttributesA(path.c_str(), attributes))
            << path;
    DeleteFileA((path + ".ran").c_str());
}

// What the last start left: "" when nothing was started, else what it ran with.
std::string StartSysInfo(const std::string &program)
{
    int messages = 0;
    Launcher(*MakeSystemPlatform(), [&](std::string_view) { ++messages; }).StartSysInfo();
    for (int i = 0; i < 100 && !messages &&
         GetFileAttributesA((program + ".ran").c_str()) == INVALID_FILE_ATTRIBUTES;
         ++i)
        Sleep(50);
    std::stringstream record;
    record << std::ifstream(program + ".ran").rdbuf();
    return messages ? "the message" : record.str();
}

TEST(Win32Launch, StartsExactlyTheFileThePathNamesElseAnOrdinaryFileInTheSecondValuesFolder)
{
    DeleteKeys();
    const std::string folder = "C:\\Velbrin Info Folder", program = folder + "\\MSINFO32.EXE";
    SetValue(FolderKey, "MSINFO", REG_SZ, folder + '\0');
    SetFileAttributesA(program.c_str(), FILE_ATTRIBUTE_NORMAL); // as an earlier run left it
    DeleteFileA(program.c_str());
    EXPECT_EQ(StartSysInfo(program), "the message"); // no such file
    for (const DWORD attributes :
         {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_READONLY}) {
        Plant(program, attributes);
        EXPECT_EQ(StartSysInfo(program) == "the message", attributes != FILE_ATTRIBUTE_READONLY);
    }
    // Unquoted, Windows would try C:\Program.exe first.
    const std::string planted = "C:\\Program.exe",
                      target = "C:\\Program Files\\Velbrin Test Tool\\info tool.exe";
    Plant(planted);
    Plant(target);
    SetValue(PathKey, "PATH", REG_SZ, target + '\0');
    EXPECT_EQ(StartSysInfo(target), '"' + target + "\"\nshow " + std::to_string(SW_SHOWNORMAL));
    EXPECT_EQ(GetFileAttributesA((planted + ".ran").c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(planted.c_str());
    SetValue(PathKey, "PATH", REG_SZ, "C:\\Velbrin No Such\\tool.exe"); // the start fails
    EXPECT_EQ(StartSysInfo(target), "the message");
    DeleteKeys();
}

} // namespace
} // namespace velbrin::sysinfo
