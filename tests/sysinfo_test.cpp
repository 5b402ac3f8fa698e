// The launcher's logic against a fake system: what is asked of the registry,
// which program is started, and when the user is told it is not available.
#include "fake_platform.h"

#include <gtest/gtest.h>

#include <optional>

namespace velbrin::sysinfo {
namespace {

const std::string PathKeyName(PathKey);
const std::string FolderKeyName(FolderKey);

struct Scenario
{
    const char *what;
    Value path; // "PATH" of the first key; type 0: none
    Value folder; // "MSINFO" of the second key
    std::set<std::string> files;
    bool startFails;
    std::vector<std::string> expectedStarts;
    int expectedMessages;
};

TEST(Launcher, StartsTheProgramOrSaysItIsUnavailable)
{
    using namespace std::string_literals;
    const std::string tool = "C:\\Program Files\\Common Files\\System\\MSINFO32.EXE";
    const std::string folder = "C:\\Tools\\Info";
    const std::string joined = folder + "\\MSINFO32.EXE";
    const Value none {0, "-"}; // no such value
    // clang-format off
    const Scenario scenarios[] = {
        {"path, zero counted",      {RegSz, tool + '\0'},      none,                 {},       false, {tool}, 0},
        {"path, no zero",           {RegSz, tool},             none,                 {},       false, {tool}, 0},
        {"path wins over folder",   {RegSz, tool + '\0'},      {RegSz, folder},      {joined}, false, {tool}, 0},
        {"folder with the file",    none,                      {RegSz, folder + '\0'}, {joined}, false, {joined}, 0},
        {"folder without the file", none,                      {RegSz, folder + '\0'}, {},     false, {}, 1},
        {"both missing",            none,                      none,                 {},       false, {}, 1},
        {"path of another type",    {3, "\x01\x02"s},          none,                 {},       false, {}, 1},
        {"path with no data",       {RegSz, ""},               {RegSz, folder},      {joined}, false, {}, 1},
        {"path too long",           {RegSz, std::string(1500, 'a')}, none,           {},       false, {}, 1},
        {"start fails",             {RegSz, tool},             none,                 {},       true,  {}, 1},
        {"path with a quote",       {RegSz, "C:\\x\" C:\\evil.exe"}, none,           {},       false, {}, 1},
        {"quoted path",             {RegSz, '"' + tool + "\"\0"s}, none,             {},       false, {tool}, 0},
        {"quoted folder",           none,                      {RegSz, '"' + folder + '"'}, {joined}, false, {joined}, 0},
        {"a lone quote",            {RegSz, "\""},             none,                 {},       false, {}, 1},
        {"exactly 1024 bytes",      {RegSz, std::string(1024, 'b')}, none,           {},       false, {std::string(1024, 'b')}, 0},
    };
    // clang-format on
    for (const auto &s : scenarios) {
        SCOPED_TRACE(s.what);
        FakePlatform platform;
        if (s.path.type)
            platform.registry[PathKeyName]["PATH"] = s.path;
        if (s.folder.type)
            platform.registry[FolderKeyName]["MSINFO"] = s.folder;
        platform.files = s.files;
        platform.startFails = s.startFails;
        std::vector<std::string> messages;
        Launcher launcher(platform, [&](std::string_view m) { messages.emplace_back(m); });

        launcher.StartSysInfo();

        EXPECT_EQ(platform.started, s.expectedStarts);
        EXPECT_EQ(static_cast<int>(messages.size()), s.expectedMessages);
        for (const auto &message : messages)
            EXPECT_EQ(message, "System Information non disponibile");
        EXPECT_EQ(platform.opens, platform.closes);
        for (const auto access : platform.accessAsked)
            EXPECT_EQ(access, 0x20019u);
        // The first lookup's path is started as read, never tested as a file.
        EXPECT_EQ(platform.checked.count(s.path.data), 0u);
    }
}

TEST(Launcher, GetKeyValueReadsTextAndNumbers)
{
    using namespace std::string_literals;
    struct Read
    {
        const char *what;
        std::optional<Value> value;
        bool result;
        std::string keyVal; // starts as "before"
    };
    // clang-format off
    const Read reads[] = {
        {"text with zero",      Value {RegSz, "abc\0"s},                 true,  "abc"},
        {"text without zero",   Value {RegSz, "abc"},                    true,  "abc"},
        {"inner zero kept",     Value {RegSz, "a\0b"s},                  true,  "a\0b"s},
        {"dword",               Value {RegDword, "\x03\x02\x01\x00"s},   true,  "66051"},
        {"dword, top bit set",  Value {RegDword, "\xff\xff\xff\xff"},    true,  "4294967295"},
        {"expandable text",     Value {2, "%SystemRoot%\0"s},            true,  "before"},
        {"missing value",       std::nullopt,                            false, ""},
        {"1500 bytes",          Value {RegSz, std::string(1500, 'x')},   false, ""},
        {"1024 bytes, no zero", Value {RegSz, std::string(1024, 'y')},   true,  std::string(1024, 'y')},
    };
    // clang-format on
    for (const auto &r : reads) {
        SCOPED_TRACE(r.what);
        FakePlatform platform;
        platform.registry["K"];
        if (r.value)
            platform.registry["K"]["V"] = *r.value;
        Launcher launcher(platform, [](std::string_view) { FAIL() << "no message expected"; });
        std::string keyVal = "before";
        EXPECT_EQ(launcher.GetKeyValue(HkeyLocalMachine, "K", "V", keyVal), r.result);
        EXPECT_EQ(keyVal, r.keyVal);
        EXPECT_EQ(platform.closes, 1);
    }

    FakePlatform platform;
    Launcher launcher(platform, [](std::string_view) {});
    std::string keyVal = "before";
    EXPECT_FALSE(launcher.GetKeyValue(HkeyLocalMachine, "missing", "V", keyVal));
    EXPECT_EQ(keyVal, "");
    EXPECT_EQ(platform.closes, 0); // a key never opened is not closed

    // No data at all: the lookup cannot go on, and the key is still closed.
    platform.registry["K"]["V"] = Value {RegSz, ""};
    EXPECT_THROW(launcher.GetKeyValue(HkeyLocalMachine, "K", "V", keyVal), LookupFailure);
    EXPECT_EQ(platform.closes, 1);
}

} // namespace
} // namespace velbrin::sysinfo
