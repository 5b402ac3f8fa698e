// The stand-in for systems without a registry: it answers the first lookup with
// the first installed candidate and starts programs without a shell or a zombie.
#include "about/sysinfo_platform_posix.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <thread>

namespace velbrin::sysinfo {
namespace {

TEST(PosixStandIn, FindsStartsAndTestsFilesOnTheFileSystem)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("velbrin-" + std::to_string(getpid()));
    const std::string tool = dir / "info tool", plain = dir / "plain", missing = dir / "missing";
    fs::create_directories(dir);
    // It shows that it had no shell, in a record that appears whole.
    std::ofstream(tool) << "#!/bin/sh\necho \"$#:$0\" > \"$0.part\" && mv \"$0.part\" \"$0.ran\"\n";
    fs::permissions(tool, fs::perms::owner_all);
    std::ofstream(plain) << "x";
    std::ofstream(dir / ".hidden") << "x";

    PosixPlatform platform({missing, plain, tool}); // "plain" cannot be run
    Launcher launcher(platform, [](std::string_view) {});
    std::string value;
    const std::string pathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    EXPECT_TRUE(launcher.GetKeyValue(HkeyLocalMachine, pathKey, "PATH", value));
    EXPECT_EQ(value, tool);
    EXPECT_FALSE(launcher.GetKeyValue(
            HkeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", value));
    EXPECT_FALSE(launcher.GetKeyValue(HkeyLocalMachine, pathKey, "OTHER", value));
    EXPECT_FALSE(launcher.GetKeyValue(0x80000001, pathKey, "PATH", value));
    std::vector<std::string> messages;
    PosixPlatform none({missing});
    Launcher(none, [&](std::string_view m) { messages.emplace_back(m); }).StartSysInfo();
    EXPECT_EQ(messages, std::vector<std::string> {"System Information non disponibile"});

    for (const auto &[path, ordinary] : {std::pair(plain, true),
                                         {dir / ".hidden", false},
                                         {dir.string(), false},
                                         {missing, false}})
        EXPECT_EQ(platform.IsOrdinaryFile(path), ordinary) << path;
    EXPECT_FALSE(platform.StartProgram(missing));
    EXPECT_FALSE(platform.StartProgram(plain));
    ASSERT_TRUE(platform.StartProgram(tool));
    for (int poll = 0; poll < 6000 && !fs::exists(tool + ".ran"); ++poll) // however busy
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::string line;
    std::getline(std::ifstream(tool + ".ran"), line);
    EXPECT_EQ(line, "0:" + tool);
    // The program was handed to init: nothing of it is left for us to reap.
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    fs::remove_all(dir);
}

} // namespace
} // namespace velbrin::sysinfo
