// The stand-in for systems without a registry: it answers the first lookup with
// the first installed candidate and starts programs without a shell or a zombie.
#include "about/sysinfo_platform_posix.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <thread>

namespace velbrin::sysinfo {
namespace {

namespace fs = std::filesystem;

class PosixStandIn : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("velbrin-sysinfo-" + std::to_string(getpid()));
        fs::create_directories(dir / "a folder");
        tool = dir / "info tool";
        // Writes its own argument count and name, to show it got no shell.
        std::ofstream(tool) << "#!/bin/sh\necho \"$#:$0\" > \"$0.ran\"\n";
        fs::permissions(tool, fs::perms::owner_all);
        std::ofstream(dir / ".hidden") << "x";
        std::ofstream(dir / "plain") << "x";
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path dir, tool;
};

TEST_F(PosixStandIn, AnswersOnlyTheFirstLookupWithTheFirstInstalledProgram)
{
    PosixPlatform platform({(dir / "missing").string(), (dir / "plain").string(), tool.string()});
    std::vector<std::string> messages;
    Launcher launcher(platform, [&](std::string_view m) { messages.emplace_back(m); });
    std::string value;
    EXPECT_TRUE(launcher.GetKeyValue(HkeyLocalMachine, std::string(PathKey), "PATH", value));
    EXPECT_EQ(value, tool.string()); // "plain" is not executable, so it is passed over
    EXPECT_FALSE(launcher.GetKeyValue(HkeyLocalMachine, std::string(FolderKey), "MSINFO", value));
    EXPECT_FALSE(launcher.GetKeyValue(HkeyLocalMachine, std::string(PathKey), "OTHER", value));
    EXPECT_FALSE(launcher.GetKeyValue(0x80000001, std::string(PathKey), "PATH", value));

    PosixPlatform none({(dir / "missing").string()});
    Launcher nothing(none, [&](std::string_view m) { messages.emplace_back(m); });
    nothing.StartSysInfo();
    EXPECT_EQ(messages, std::vector<std::string> {"System Information non disponibile"});
}

TEST_F(PosixStandIn, FileTestAndStart)
{
    EXPECT_EQ(PosixPlatform::DefaultCandidates(),
              (std::vector<std::string> {"/usr/bin/kinfocenter", "/usr/bin/hardinfo",
                                         "/usr/bin/gnome-system-monitor",
                                         "/usr/bin/mate-system-monitor"}));
    PosixPlatform platform(std::vector<std::string> {});
    EXPECT_TRUE(platform.IsOrdinaryFile((dir / "plain").string()));
    EXPECT_FALSE(platform.IsOrdinaryFile((dir / ".hidden").string()));
    EXPECT_FALSE(platform.IsOrdinaryFile((dir / "a folder").string()));
    EXPECT_FALSE(platform.IsOrdinaryFile((dir / "missing").string()));

    EXPECT_FALSE(platform.StartProgram((dir / "missing").string()));
    EXPECT_FALSE(platform.StartProgram((dir / "plain").string())); // not executable
    ASSERT_TRUE(platform.StartProgram(tool.string()));
    const fs::path marker = tool.string() + ".ran";
    for (int i = 0; i < 200 && !fs::exists(marker); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::ifstream in(marker);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "0:" + tool.string());
    // The program was handed to init: nothing of it is left for us to reap.
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
}

} // namespace
} // namespace velbrin::sysinfo
