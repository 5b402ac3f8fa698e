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

void SetValue(std::string_view key, const char *name, DWORD type, const std::string &data)
{
    EXPECT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, std::string(key).c_str(), name, type, data.data(),
                              DWORD(data.size())),
              ERROR_SUCCESS);
}

void DeleteKey(std::string_view key)
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, std::string(key).c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, std::string(key).c_str());
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
            {"dword", REG_DWORD, "\x03\x02\x01\x00"s, "66051"},
            {"dword_top_bit", REG_DWORD, "\xff\xff\xff\xff", "4294967295"},
            {"expandable", REG_EXPAND_SZ, "%SystemRoot%\\x\0"s, "before"},
            {"long_1500", REG_SZ, std::string(1500, 'a'), "!"},
            // Text filling the buffer: wine adds the missing zero when there is room
            // and refuses the value when there is none; both stay in bounds.
            {"exact_1023", REG_SZ, std::string(1023, 'b'), std::string(1023, 'b')},
            {"full_1024", REG_SZ, std::string(1023, 'd') + '\0', std::string(1023, 'd')},
            {"over_1024", REG_SZ, std::string(1024, 'e') + '\0', "!"},
            {"binary_1024", REG_BINARY, std::string(1024, 'c'), "before"},
    };
    const std::string key = "SOFTWARE\\VelbrinTests";
    DeleteKey(key);
    for (const auto &c : cases)
        SetValue(key, c.name, c.type, c.data);
    SetValue(key, "empty", REG_SZ, "");
    const auto platform = MakeSystemPlatform();
    Launcher launcher(*platform, [](std::string_view) {});
    for (const auto &c : cases) {
        std::string keyVal = "before";
        EXPECT_EQ(launcher.GetKeyValue(HkeyLocalMachine, key, c.name, keyVal), c.keyVal != "!");
        EXPECT_EQ(keyVal, c.keyVal == "!" ? "" : c.keyVal) << c.name;
    }
    std::string keyVal = "before";
    EXPECT_FALSE(launcher.GetKeyValue(HkeyLocalMachine, key, "missing", keyVal));
    EXPECT_EQ(keyVal, "");
    EXPECT_FALSE(launcher.GetKeyValue(HkeyLocalMachine, key + "\\none", "x", keyVal));
    EXPECT_THROW(launcher.GetKeyValue(HkeyLocalMachine, key, "empty", keyVal), LookupFailure);
    DeleteKey(key);
}

TEST(Win32Files, OnlyOrdinaryFilesCount)
{
    const std::pair<DWORD, bool> files[] = {{FILE_ATTRIBUTE_NORMAL, true},
                                            {FILE_ATTRIBUTE_READONLY, true},
                                            {FILE_ATTRIBUTE_HIDDEN, false},
                                            {FILE_ATTRIBUTE_SYSTEM, false}};
    const auto platform = MakeSystemPlatform();
    const std::string path = "C:\\velbrin-file";
    for (const auto &[attributes, ordinary] : files) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        std::ofstream(path) << "x";
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes));
        EXPECT_EQ(platform->IsOrdinaryFile(path), ordinary) << attributes;
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    EXPECT_FALSE(platform->IsOrdinaryFile("C:\\windows"));
    EXPECT_FALSE(platform->IsOrdinaryFile(path));
}

// Copies of a program that leaves "<its own path>.ran" holding its command line,
// so that a test can tell which file was started and how.
void Plant(const std::string &path)
{
    char self[MAX_PATH] = {};
    std::string marker(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
    marker.replace(marker.find_last_of('\\'), std::string::npos, "\\marker_program.exe");
    CreateDirectoryA(path.substr(0, path.find_last_of('\\')).c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(marker.c_str(), path.c_str(), FALSE)) << path;
    DeleteFileA((path + ".ran").c_str());
}

// The command line and the window state it was started with, or "" when it did
// not run.
std::string Ran(const std::string &path)
{
    for (int i = 0;
         i < 100 && GetFileAttributesA((path + ".ran").c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(50);
    std::stringstream record;
    record << std::ifstream(path + ".ran").rdbuf();
    return record.str();
}

int StartSysInfo() // the number of messages it showed
{
    int messages = 0;
    Launcher(*MakeSystemPlatform(), [&](std::string_view) { ++messages; }).StartSysInfo();
    return messages;
}

TEST(Win32Launch, StartsExactlyTheFileThePathNamesElseTheSecondValuesFolder)
{
    const std::string pathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                      folderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
    DeleteKey(pathKey);
    DeleteKey(folderKey);
    const std::string folder = "C:\\Velbrin Info Folder", program = folder + "\\MSINFO32.EXE";
    SetValue(folderKey, "MSINFO", REG_SZ, folder + '\0');
    DeleteFileA(program.c_str());
    EXPECT_EQ(StartSysInfo(), 1); // no such file: the message, and nothing started
    Plant(program);
    EXPECT_EQ(StartSysInfo(), 0);
    EXPECT_NE(Ran(program), "");

    // Unquoted, Windows would try C:\Program.exe first.
    const std::string planted = "C:\\Program.exe";
    const std::string target = "C:\\Program Files\\Velbrin Test Tool\\info tool.exe";
    Plant(planted);
    Plant(target);
    SetValue(pathKey, "PATH", REG_SZ, target + '\0');
    EXPECT_EQ(StartSysInfo(), 0);
    EXPECT_EQ(Ran(target), '"' + target + "\"\nshow " + std::to_string(SW_SHOWNORMAL));
    EXPECT_EQ(GetFileAttributesA((planted + ".ran").c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(planted.c_str());

    SetValue(pathKey, "PATH", REG_SZ, "C:\\Velbrin No Such\\tool.exe"); // the start fails
    EXPECT_EQ(StartSysInfo(), 1);
    DeleteKey(pathKey);
    DeleteKey(folderKey);
}

} // namespace
} // namespace velbrin::sysinfo
