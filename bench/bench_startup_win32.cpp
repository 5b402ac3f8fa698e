// Start-up of velbrin.exe to its first shown window, beside a bare window of the
// same size, each started as its own process under the same system (wine here).
// Runs them in turn and prints the medians and the ratio; the aim is 1.3 or less.
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

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    const std::wstring program = Beside(L"velbrin.exe");
    const std::wstring bare = Beside(L"bare_window_win32.exe");
    TimeToWindow(program, L"VelbrinWindow"); // warm the file cache and the system's DLLs
    TimeToWindow(bare, L"BareWindow");
    std::vector<double> main, floor, ratios;
    for (int run = 0; run < runs; ++run) {
        main.push_back(TimeToWindow(program, L"VelbrinWindow"));
        floor.push_back(TimeToWindow(bare, L"BareWindow"));
        if (main.back() < 0 || floor.back() < 0) {
            std::fprintf(stderr, "a window did not come up\n");
            return 1;
        }
        ratios.push_back(main.back() / floor.back());
    }
    std::printf("start-up to the first shown window: velbrin.exe %.1f ms, bare window %.1f ms, "
                "ratio %.2f (median of %d pairs; target <= 1.3)\n",
                Median(main), Median(floor), Median(ratios), runs);
}
