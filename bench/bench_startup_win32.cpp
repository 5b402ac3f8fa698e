// Start-up of velbrin.exe to its first shown window, beside two programs with a
// window of the same size, each started as its own process under the same system
// (wine here): the floor, which makes the same twenty controls plainly in one
// pass, and a bare window without any. Runs the three in turn and prints their
// medians, velbrin.exe over the floor (the aim is 1.10 or less) and over the bare
// window.
//   bench_startup_win32.exe [RUNS]
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring Beside(const wchar_t *name)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

// Milliseconds from starting the program until a visible window of its class is
// up, or a negative number when none came within ten seconds.
double TimeToWindow(const std::wstring &program, const wchar_t *windowClass)
{
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};
    std::wstring commandLine = L'"' + program + L'"';
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return -1;
    double elapsed = -1;
    for (;;) {
        const HWND window = FindWindowW(windowClass, nullptr);
        QueryPerformanceCounter(&now);
        const double ms =
                1000.0 * double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
        if (window && IsWindowVisible(window)) {
            elapsed = ms;
            break;
        }
        if (ms > 10000)
            break;
        Sleep(1);
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Program
{
    const char *name;
    const wchar_t *file;
    const wchar_t *windowClass;
    std::vector<double> times = {};
};

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    Program velbrin {"velbrin.exe", L"velbrin.exe", L"VelbrinWindow"};
    Program floor {"floor", L"floor_window_win32.exe", L"FloorWindow"};
    Program bare {"bare window", L"bare_window_win32.exe", L"BareWindow"};
    Program *const programs[] = {&velbrin, &floor, &bare};
    for (Program *program : programs) // warm the file cache and the system's DLLs
        TimeToWindow(Beside(program->file), program->windowClass);
    // Each round's ratios are taken within the round, so that a slow spell of the
    // machine weighs on both sides of them alike.
    std::vector<double> overFloor, overBare;
    for (int run = 0; run < runs; ++run) {
        for (Program *program : programs) {
            program->times.push_back(TimeToWindow(Beside(program->file), program->windowClass));
            if (program->times.back() < 0) {
                std::fprintf(stderr, "the window of %s did not come up\n", program->name);
                return 1;
            }
        }
        overFloor.push_back(velbrin.times.back() / floor.times.back());
        overBare.push_back(velbrin.times.back() / bare.times.back());
    }
    std::printf("start-up to the first shown window, median of %d rounds:\n", runs);
    for (const Program *program : programs)
        std::printf("  %-12s %7.1f ms\n", program->name, Median(program->times));
    std::printf("  velbrin/floor %.2f (target <= 1.10), velbrin/bare %.2f\n", Median(overFloor),
                Median(overBare));
}
