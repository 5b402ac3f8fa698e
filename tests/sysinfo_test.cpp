// The launcher's logic against a fake system: what is asked of the registry,
// which program is started, and when the user is told it is not available.
#include "fake_platform.h"

#include <gtest/gtest.h>

namespace velbrin::sysinfo {
namespace {

using namespace std::string_literals;

TEST(Launcher, StartsTheProgramOrSaysItIsUnavailable)
{
    const std::string tool = "C:\\Program Files\\Common Files\\System\\MSINFO32.EXE";
    const std::string folder = "C:\\Tools\\Info", joined = folder + "\\MSINFO32.EXE";
    const Value none {0, "-"}; // no such value
    const struct
    {
        const char *what;
        Value path, folder; // "PATH" of the first key, "MSINFO" of the second
        std::set<std::string> files;
        bool startFails;
        std::string started; // empty: nothing, and the message instead
    } scenarios[] = {
            {"path, zero counted", {RegSz, tool + '\0'}, none, {}, false, tool},
            {"path, no zero", {RegSz, tool}, none, {}, false, tool},
            {"path wins over folder", {RegSz, tool}, {RegSz, folder}, {joined}, false, tool},
            {"folder with the file", none, {RegSz, folder + '\0'}, {joined}, false, joined},
            {"folder without the file", none, {RegSz, folder + '\0'}, {}, false, ""},
            {"both missing", none, none, {}, false, ""},
            {"path of another type", {3, "\x01\x02"s}, none, {}, false, ""},
            {"path with no data", {RegSz, ""}, {RegSz, folder}, {joined}, false, ""},
            {"path too long", {RegSz, std::string(1500, 'a')}, none, {}, false, ""},
            {"start fails", {RegSz, tool}, none, {}, true, ""},
            {"path with a quote", {RegSz, "C:\\x\" C:\\evil.exe"}, none, {}, false, ""},
            {"quoted path", {RegSz, '"' + tool + "\"\0"s}, none, {}, false, tool},
            {"quoted folder", none, {RegSz, '"' + folder + '"'}, {joined}, false, joined},
            {"a lone quote", {RegSz, "\""}, none, {}, false, ""},
            {"exactly 1024 bytes",
             {RegSz, std::string(1024, 'b')},
             none,
             {},
             false,
             std::string(1024, 'b')},
    };
    for (const auto &s : scenarios) {
        SCOPED_TRACE(s.what);
        FakePlatform platform;
        for (const auto &[key, name, value] :
             {std::tuple("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", s.path),
              std::tuple("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", s.folder)})
            if (value.type)
                platform.registry[std::string(key)][name] = value;
        platform.files = s.files;
        platform.startFails = s.startFails;
        std::vector<std::string> messages;
        Launcher(platform, [&](std::string_view m) { messages.emplace_back(m); }).StartSysInfo();

        EXPECT_EQ(platform.started,
                  s.started.empty() ? std::vector<std::string> {} : std::vector {s.started});
        EXPECT_EQ(messages,
                  s.started.empty()
                          ? std::vector<std::string> {"System Information non disponibile"}
                          : std::vector<std::string> {});
        EXPECT_EQ(platform.opens, platform.closes);
        for (const auto access : platform.accessAsked)
            EXPECT_EQ(access, 0x20019u);
        // The first lookup's path is started as read, never tested as a file.
        EXPECT_EQ(platform.checked.count(s.path.data), 0u);
    }
}

} // namespace
} // namespace velbrin::sysinfo
