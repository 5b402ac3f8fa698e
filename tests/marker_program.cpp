// A stand-in program for the launch tests: leaves "<its own path>.ran" holding the
// command line it was started with and the window state it was asked for, so a
// test can tell which file was started and how. The file appears whole.
#include <windows.h>

#include <fstream>
#include <string>

int main()
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    STARTUPINFOA startup {};
    GetStartupInfoA(&startup);
    const std::string record = std::string(GetCommandLineA()) + "\nshow " +
            std::to_string(startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : -1);
    const std::string marker = std::string(self) + ".ran", partial = marker + ".part";
    std::ofstream(partial, std::ios::binary) << record;
    return MoveFileExA(partial.c_str(), marker.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
