#include "about/sysinfo_platform_posix.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velbrin::sysinfo {
namespace {

constexpr long NotFound = 2; // ERROR_FILE_NOT_FOUND
constexpr long MoreData = 234; // ERROR_MORE_DATA
constexpr KeyHandle PathKeyHandle = 1;

bool IsExecutableFile(const std::string &path)
{
    struct stat info
    {
    };
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            access(path.c_str(), X_OK) == 0;
}

std::string BaseName(const std::string &path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

PosixPlatform::PosixPlatform(std::vector<std::string> candidates)
    : m_candidates(std::move(candidates))
{ }

std::vector<std::string> PosixPlatform::DefaultCandidates()
{
    return {"/usr/bin/kinfocenter", "/usr/bin/hardinfo", "/usr/bin/gnome-system-monitor",
            "/usr/bin/mate-system-monitor"};
}

long PosixPlatform::OpenKey(std::uint32_t root, const std::string &path, std::uint32_t,
                            KeyHandle &key)
{
    if (root != HkeyLocalMachine || path != PathKey)
        return NotFound;
    key = PathKeyHandle;
    return 0;
}

long PosixPlatform::QueryValue(KeyHandle key, const std::string &name, std::uint32_t &type,
                               unsigned char *data, std::uint32_t &size)
{
    if (key != PathKeyHandle || name != PathValue)
        return NotFound;
    for (const auto &candidate : m_candidates) {
        if (!IsExecutableFile(candidate))
            continue;
        const std::size_t needed = candidate.size() + 1; // the terminating zero counts
        if (needed > size) {
            size = static_cast<std::uint32_t>(needed);
            return MoreData;
        }
        std::memcpy(data, candidate.c_str(), needed);
        size = static_cast<std::uint32_t>(needed);
        type = RegSz;
        return 0;
    }
    return NotFound;
}

void PosixPlatform::CloseKey(KeyHandle) { }

bool PosixPlatform::IsOrdinaryFile(const std::string &path)
{
    struct stat info
    {
    };
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            BaseName(path).rfind('.', 0) != 0;
}

bool PosixPlatform::StartProgram(const std::string &path)
{
    // Started through an intermediate child that exits at once, so the program is
    // adopted by init and never lingers as our zombie. A close-on-exec pipe tells
    // whether exec succeeded: it reaches end-of-file with no errno written.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return false;
    const pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (child == 0) {
        close(report[0]);
        setsid();
        const pid_t grandchild = fork();
        if (grandchild == 0) {
            char *const argv[] = {const_cast<char *>(path.c_str()), nullptr};
            execv(path.c_str(), argv);
            const int error = errno;
            [[maybe_unused]] const auto written = write(report[1], &error, sizeof error);
            _exit(127);
        }
        if (grandchild < 0) {
            const int error = errno;
            [[maybe_unused]] const auto written = write(report[1], &error, sizeof error);
        }
        _exit(0);
    }
    close(report[1]);
    int error = 0;
    ssize_t got;
    do {
        got = read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    close(report[0]);
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) { }
    return got == 0;
}

std::unique_ptr<Platform> MakeSystemPlatform()
{
    return std::make_unique<PosixPlatform>();
}

} // namespace velbrin::sysinfo
