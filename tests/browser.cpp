#include "browser.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace velbrin::test {

Browser::Browser()
    : m_folder((std::filesystem::temp_directory_path() / "browser-XXXXXX").string())
{
    std::signal(SIGPIPE, SIG_IGN); // a browser that died is reported, not fatal
    int to[2], from[2];
    if (!mkdtemp(m_folder.data()) || pipe2(to, O_CLOEXEC) || pipe2(from, O_CLOEXEC) ||
        (m_pid = fork()) < 0)
        throw std::runtime_error("the browser cannot be started");
    if (m_pid == 0) { // the protocol on fds 3 and 4; its profile, HOME and caches in the folder
        std::istringstream words("/usr/bin/env HOME=" + m_folder + " XDG_CONFIG_HOME=" + m_folder +
                                 " XDG_CACHE_HOME=" + m_folder +
                                 " /usr/bin/chromium --headless "
                                 "--user-data-dir=" +
                                 m_folder +
                                 " --no-sandbox --disable-gpu "
                                 "--no-first-run --disable-background-networking --disable-sync "
                                 "--disable-component-update --disable-extensions --mute-audio "
                                 "--proxy-server=127.0.0.1:9 "
                                 "--remote-debugging-pipe");
        std::vector<std::string> args {std::istream_iterator<std::string>(words), {}};
        std::vector<char *> argv;
        for (auto &arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        const int in = fcntl(to[0], F_DUPFD, 10), out = fcntl(from[1], F_DUPFD, 10);
        const int null = open("/dev/null", O_WRONLY);
        if (dup2(in, 3) == 3 && dup2(out, 4) == 4 && dup2(null, 1) == 1 && dup2(null, 2) == 2)
            execv(argv[0], argv.data());
        _exit(127);
    }
    close(to[0]);
    close(from[1]);
    m_to = to[1];
    m_from = from[0];
    const json target = Send("Target.createTarget", {{"url", "about:blank"}}, false);
    m_session = Send("Target.attachToTarget", {{"targetId", target["targetId"]}, {"flatten", true}},
                     false)["sessionId"];
    Call("Page.enable");
}

Browser::~Browser()
{
    try {
        Send("Browser.close", json::object(), false);
    } catch (...) { }
    for (int waited = 0; waitpid(m_pid, nullptr, WNOHANG) == 0; ++waited)
        waited == 100 ? kill(m_pid, SIGKILL) : usleep(50000);
    close(m_to);
    close(m_from);
    std::filesystem::remove_all(m_folder);
}

json Browser::Call(const std::string &method, const json &params)
{
    return Send(method, params, true);
}

json Browser::Send(const std::string &method, const json &params, bool onPage)
{
    json message = {{"id", ++m_next}, {"method", method}, {"params", params}};
    if (onPage)
        message["sessionId"] = m_session;
    const std::string text = message.dump() + '\0';
    if (write(m_to, text.data(), text.size()) != ssize_t(text.size()))
        throw std::runtime_error("the browser is gone");
    for (json reply;;) { // messages end in a zero byte; events are passed over
        std::size_t end;
        while ((end = m_buffer.find('\0')) == std::string::npos) {
            pollfd ready {m_from, POLLIN, 0};
            char chunk[1 << 16];
            const ssize_t n = poll(&ready, 1, 30000) > 0 ? read(m_from, chunk, sizeof chunk) : 0;
            if (n <= 0)
                throw std::runtime_error(method + ": the browser does not answer");
            m_buffer.append(chunk, std::size_t(n));
        }
        reply = json::parse(m_buffer.substr(0, end));
        m_buffer.erase(0, end + 1);
        m_loaded |= reply.value("method", "") == "Page.loadEventFired";
        if (reply.value("id", -1) == m_next && reply.contains("error"))
            throw std::runtime_error(method + ": " + reply["error"].value("message", ""));
        if (reply.value("id", -1) == m_next)
            return reply["result"];
    }
}

json Browser::Evaluate(const std::string &expression)
{
    const json result =
            Call("Runtime.evaluate",
                 {{"expression", expression}, {"returnByValue", true}, {"awaitPromise", true}});
    if (result.contains("exceptionDetails"))
        throw std::runtime_error(
                result.value("/exceptionDetails/exception/description"_json_pointer,
                             result["exceptionDetails"].value("text", "")));
    return result["result"].value("value", json());
}

void Browser::Open(const std::string &url)
{
    m_loaded = false;
    if (const json navigation = Call("Page.navigate", {{"url", url}});
        navigation.contains("errorText"))
        throw std::runtime_error(url + ": " + navigation["errorText"].get<std::string>());
    while (!m_loaded)
        Send("Browser.getVersion", json::object(), false);
}

} // namespace velbrin::test
