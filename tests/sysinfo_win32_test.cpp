// The launcher on the real Windows registry, file system and CreateProcess (under
// wine in the cross build): for each way the two values may be written (with
// advapi32) and the program's file may lie, what the first lookup reads and what
// the launcher then starts or tells, held against an approved log.
#include "about/sysinfo_launcher.h"
#include "approval.h"

#include <windows.h>

#include <fstream>

namespace velbrin::sysinfo {
namespace {

using namespace std::string_literals;

struct Value
{
    DWORD type; // 0: no such value
    std::string data;
};

struct File // a copy of marker_program.exe, which leaves "<its path>.ran" holding
{ // the command line and the window state it was started with
    std::string path;
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
};

// Where Windows keeps the two values, written here as it publishes them.
const char *const keys[] = {"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                            "SOFTWARE\\Microsoft\\Shared Tools Location"};

void DeleteKeys()
{
    for (const char *key : keys)
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, key);
}

void Plant(const File &file)
{
    char self[MAX_PATH] = {};
    std::string marker(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
    marker.replace(marker.find_last_of('\\'), std::string::npos, "\\marker_program.exe");
    CreateDirectoryA(file.path.substr(0, file.path.find_last_of('\\')).c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(marker.c_str(), file.path.c_str(), FALSE) &&
                SetFileAttributesA(file.path.c_str(), file.attributes))
            << file.path;
}

// Whether the file is gone; a program still running from it holds it.
bool Remove(const File &file)
{
    SetFileAttributesA(file.path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA((file.path + ".ran").c_str());
    return DeleteFileA(file.path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

std::string Shown(const std::string &text) // long values by their length
{
    return text.size() > 99 ? std::to_string(text.size()) + " x '" + text[0] + "'"
                            : test::Quoted(text);
}

TEST(Win32Launcher, ReadsStartsAndTellsAsApproved)
{
    const std::string spaced = "C:\\Program Files\\Velbrin Test Tool\\info tool.exe";
    const std::string folder = "C:\\Velbrin Info", inFolder = folder + "\\MSINFO32.EXE";
    const File tool {spaced}, decoy {"C:\\Program.exe"}, folderTool {inFolder};
    const Value none {0, ""}, path {REG_SZ, spaced + '\0'}, folderValue {REG_SZ, folder + '\0'};
    const struct
    {
        const char *what;
        Value path, folder; // "PATH" of the first key, "MSINFO" of the second
        std::vector<File> files;
    } scenarios[] = {
            {"path, zero counted, spaces in it", path, none, {tool, decoy}},
            {"path, no zero", {REG_SZ, spaced}, none, {tool}},
            {"path wins over folder", path, folderValue, {tool, folderTool}},
            {"path names no file", {REG_SZ, "C:\\Velbrin No Such\\tool.exe"}, none, {}},
            {"folder with the file", none, folderValue, {folderTool}},
            {"folder with the file read-only",
             none,
             folderValue,
             {{inFolder, FILE_ATTRIBUTE_READONLY}}},
            {"folder with the file hidden", none, folderValue, {{inFolder, FILE_ATTRIBUTE_HIDDEN}}},
            {"folder with a system file", none, folderValue, {{inFolder, FILE_ATTRIBUTE_SYSTEM}}},
            {"folder without the file", none, folderValue, {}},
            {"both missing", none, none, {tool}},
            {"path of binary data", {REG_BINARY, "\x01\x02"s}, none, {}},
            {"path expandable", {REG_EXPAND_SZ, "%SystemRoot%\\x\0"s}, none, {}},
            {"path a number, top bit set", {REG_DWORD, "\xff\xfe\x01\x80"}, none, {}},
            {"path with an inner zero", {REG_SZ, "a\0b"s}, none, {}},
            {"path with no data", {REG_SZ, ""}, folderValue, {folderTool}},
            {"path of 1023 bytes, no zero", {REG_SZ, std::string(1023, 'b')}, none, {}},
            {"path of 1024 bytes with its zero", {REG_SZ, std::string(1023, 'd') + '\0'}, none, {}},
            {"path of 1025 bytes",
             {REG_SZ, std::string(1024, 'e') + '\0'},
             folderValue,
             {folderTool}},
            {"path with a quote", {REG_SZ, "C:\\x\" C:\\evil.exe"}, none, {}},
            {"quoted path", {REG_SZ, '"' + spaced + "\"\0"s}, none, {tool}},
            {"quoted folder", none, {REG_SZ, '"' + folder + '"'}, {folderTool}},
            {"a lone quote", {REG_SZ, "\""}, none, {}},
    };
    std::string log;
    for (const auto &s : scenarios) {
        DeleteKeys();
        for (const auto &[key, name, value] :
             {std::tuple(keys[0], "PATH", s.path), std::tuple(keys[1], "MSINFO", s.folder)})
            if (value.type)
                RegSetKeyValueA(HKEY_LOCAL_MACHINE, key, name, value.type, value.data.data(),
                                DWORD(value.data.size()));
        for (const File &file : s.files)
            Plant(file);
        std::string told, value = "before";
        const auto platform = MakeSystemPlatform();
        Launcher launcher(*platform, [&](std::string_view m) { told = m; });
        log += "== "s + s.what + "\n  PATH read: ";
        try {
            log += launcher.GetKeyValue(HkeyLocalMachine, std::string(PathKey),
                                        std::string(PathValue), value)
                    ? Shown(value) + "\n"
                    : "fails, leaving " + Shown(value) + "\n";
        } catch (const LookupFailure &) {
            log += "a lookup failure\n";
        }
        launcher.StartSysInfo();
        // Told nothing, it started a program, which leaves its record once it has
        // run: waited for however busy the machine is, up to a minute, and gone
        // before its file is taken away, so that no late record reaches the next.
        std::string ran;
        for (int poll = 0; told.empty() && ran.empty() && !s.files.empty() && poll < 1200;
             ++poll, Sleep(50)) {
            std::string command, show;
            for (const File &file : s.files)
                if (std::ifstream record(file.path + ".ran"); std::getline(record, command))
                    ran += "  started " + file.path + " as " + command +
                            (std::getline(record, show), ", " + show + "\n");
        }
        log += ran + (told.empty() ? "" : "  told " + told + "\n");
        for (const File &file : s.files)
            for (int poll = 0; !Remove(file) && poll < 1200; ++poll)
                Sleep(50);
    }
    DeleteKeys();
    test::ExpectApproved("launcher.txt", log, true);
}

} // namespace
} // namespace velbrin::sysinfo
