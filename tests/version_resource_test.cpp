// The Windows version resource, generated from the CMake project, read back with
// the version API and held against the values AppInfo shows.
#include "app/common/app_info.h"

#include "velbrin/build_info.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace velbrin {
namespace {

TEST(VersionResource, MatchesAppInfo)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const DWORD size = GetFileVersionInfoSizeA(self, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(self, 0, size, data.data()));

    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
    const AppInfo &info = AppInfo::current();
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), info.Major);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), info.Minor);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), info.Revision);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);

    const auto text = [&](const char *name) {
        char *value = nullptr;
        UINT chars = 0;
        const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
        if (!VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void **>(&value), &chars))
            return std::string("<missing>");
        return std::string(value);
    };
    EXPECT_EQ(text("LegalCopyright"), info.LegalCopyright);
    EXPECT_EQ(text("ProductName"), info.Title);
    EXPECT_EQ(text("FileVersion"), VersionText(info));
    EXPECT_EQ(text("ProductVersion"), VersionText(info));
    EXPECT_EQ(VersionText(info), VELBRIN_VERSION_TEXT);
}

} // namespace
} // namespace velbrin
