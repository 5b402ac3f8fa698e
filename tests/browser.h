// A headless Chromium driven over the DevTools protocol, for the browser tests and
// the page benchmark. It runs with a profile and a HOME of its own in a temporary
// folder, removed afterwards, and with the network cut off but for this machine's
// own addresses: nothing it does reaches beyond the machine or into the user's home.
#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace velbrin::test {

using json = nlohmann::json;

class Browser
{
public:
    Browser();
    ~Browser();
    Browser(const Browser &) = delete;
    Browser &operator=(const Browser &) = delete;

    // One command on the page; throws with the protocol's message on an error.
    json Call(const std::string &method, const json &params = json::object());
    // The value of a JavaScript expression (promises awaited); throws with the
    // exception's text when it throws.
    json Evaluate(const std::string &expression);
    // Navigates and returns once the page's load event has fired.
    void Open(const std::string &url);

private:
    json Send(const std::string &method, const json &params, bool onPage);

    std::string m_folder, m_session, m_buffer;
    int m_pid = -1, m_to = -1, m_from = -1, m_next = 0;
    bool m_loaded = false; // the page's load event, since the last Open
};

} // namespace velbrin::test
