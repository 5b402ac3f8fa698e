// The launcher's logic against a fake system: what it asks of the registry,
// which program it starts and when it tells the user that none is there, held
// against an approved log.
#include "approval.h"
#include "fake_platform.h"

namespace velbrin::sysinfo {
namespace {

using namespace std::string_literals;

TEST(Launcher, AsksStartsAndTellsAsApproved)
{
    const std::string tool = "C:\\Program Files\\Common Files\\System\\MSINFO32.EXE";
    const std::string folder = "C:\\Tools\\Info", joined = folder + "\\MSINFO32.EXE";
    const Value none {0, ""}; // no such value
    const struct
    {
        const char *what;
        Value path, folder; // "PATH" of the first key, "MSINFO" of the second
        bool fileThere, startFails;
    } scenarios[] = {
            {"path, zero counted", {RegSz, tool + '\0'}, none, false, false},
            {"path, no zero", {RegSz, tool}, none, false, false},
            {"path wins over folder", {RegSz, tool}, {RegSz, folder}, true, false},
            {"folder with the file", none, {RegSz, folder + '\0'}, true, false},
            {"folder without the file", none, {RegSz, folder + '\0'}, false, false},
            {"both missing", none, none, false, false},
            {"path of another type", {3, "\x01\x02"s}, none, false, false},
            {"path with no data", {RegSz, ""}, {RegSz, folder}, true, false},
            {"path too long", {RegSz, std::string(1500, 'a')}, none, false, false},
            {"start fails", {RegSz, tool}, none, false, true},
            {"path with a quote", {RegSz, "C:\\x\" C:\\evil.exe"}, none, false, false},
            {"quoted path", {RegSz, '"' + tool + "\"\0"s}, none, false, false},
            {"quoted folder", none, {RegSz, '"' + folder + '"'}, true, false},
            {"a lone quote", {RegSz, "\""}, none, false, false},
            {"exactly 1024 bytes", {RegSz, std::string(1024, 'b')}, none, false, false},
    };
    std::string log;
    for (const auto &s : scenarios) {
        FakePlatform platform;
        for (const auto &[key, name, value] :
             {std::tuple(PathKey, PathValue, s.path), std::tuple(FolderKey, FolderValue, s.folder)})
            if (value.type)
                platform.registry[std::string(key)][std::string(name)] = value;
        if (s.fileThere)
            platform.files = {joined};
        platform.startFails = s.startFails;
        Launcher launcher(platform, [&](std::string_view m) {
            platform.log += "tell " + std::string(m) + "\n";
        });
        launcher.StartSysInfo();
        log += "== "s + s.what + "\n" + platform.log;
    }
    test::ExpectApprovedText("launcher.txt", log, true);
}

} // namespace
} // namespace velbrin::sysinfo
