// The browser program's start-up and size: from navigation until its MSN box takes
// input (has the focus, the main window shown), against a blank page's load in the
// same headless Chromium, loads taken in turns, on a desktop and on a phone (a
// touch screen of 390 x 844 and the processor slowed four times); and the page's
// size, raw and gzipped. Targets: at most 150 ms over the blank page on either, at
// most 200 KB.
//
//   bench_page PAGE.html [LOADS]     (the page: build/web/app/velbrin.html)
//
// Exits with 1 when a target is missed.
#include "browser.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <vector>

using velbrin::test::Browser;

namespace {

// Milliseconds since the navigation began, as the page's own clock tells: when
// the MSN box first took the focus, and when the load event had run.
constexpr const char *Probe = R"(
    window.velbrinBench = {};
    addEventListener('focusin', function (e) {
        if (e.target.id === 'txtMsn' && !('ready' in velbrinBench))
            velbrinBench.ready = performance.now();
    }, true);)";
constexpr const char *Loaded = R"(new Promise(function (done) {
    function check() {
        var n = performance.getEntriesByType('navigation')[0];
        if (n && n.loadEventEnd > 0) done({ready: velbrinBench.ready, load: n.loadEventEnd});
        else setTimeout(check, 5);
    }
    check();
}))";

struct Loads
{
    std::vector<double> blank, ready, load;
    double first = 0;
};

Loads Measure(Browser &browser, const std::string &blank, const std::string &page, int loads)
{
    Loads taken;
    for (int i = 0; i <= loads; ++i) { // the first of each is a warm-up
        browser.Open("file://" + blank);
        const auto b = browser.Evaluate(Loaded);
        browser.Open("file://" + page);
        const auto p = browser.Evaluate(Loaded);
        if (!p["ready"].is_number())
            throw std::runtime_error("the MSN box never took the focus");
        if (i == 0) {
            taken.first = p["ready"];
            continue;
        }
        taken.blank.push_back(b["load"]);
        taken.ready.push_back(p["ready"]);
        taken.load.push_back(p["load"]);
    }
    return taken;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::size_t GzippedSize(const std::filesystem::path &file)
{
    const std::string command = "gzip -9 -n -c '" + file.string() + "'";
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("gzip cannot be started");
    std::size_t size = 0;
    char chunk[1 << 16];
    while (const std::size_t got = fread(chunk, 1, sizeof chunk, pipe))
        size += got;
    if (pclose(pipe) != 0)
        throw std::runtime_error("gzip failed");
    return size;
}

} // namespace

int main(int argc, char **argv)
try {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: bench_page PAGE.html [LOADS]\n";
        return 2;
    }
    const std::filesystem::path page = std::filesystem::absolute(argv[1]);
    const int loads = argc > 2 ? std::max(10, std::stoi(argv[2])) : 15;
    const auto raw = std::filesystem::file_size(page);
    const auto gzipped = GzippedSize(page);

    std::string folder = (std::filesystem::temp_directory_path() / "bench-page-XXXXXX").string();
    if (!mkdtemp(folder.data()))
        throw std::runtime_error("no temporary folder");
    const std::filesystem::path blank = std::filesystem::path(folder) / "blank.html";
    std::ofstream(blank) << "<!DOCTYPE html><html lang=\"en\"><title>blank</title></html>\n";

    Loads desktop, phone;
    {
        Browser browser;
        browser.Call("Page.addScriptToEvaluateOnNewDocument", {{"source", Probe}});
        desktop = Measure(browser, blank.string(), page.string(), loads);
        browser.Call("Emulation.setTouchEmulationEnabled", {{"enabled", true}});
        browser.Call("Emulation.setDeviceMetricsOverride",
                     {{"width", 390}, {"height", 844}, {"deviceScaleFactor", 3}, {"mobile", true}});
        browser.Call("Emulation.setCPUThrottlingRate", {{"rate", 4}});
        phone = Measure(browser, blank.string(), page.string(), loads);
    }
    std::filesystem::remove_all(folder);

    std::printf("page            %s\n", page.c_str());
    std::printf("size            %zu bytes raw, %zu gzipped (target: at most 200 KB raw)\n",
                std::size_t(raw), gzipped);
    std::printf("loads           %d of each page, in turns, after one of each to warm up\n", loads);
    bool met = raw <= 200 * 1000;
    for (const auto &[name, taken] :
         {std::pair("desktop", &desktop), {"phone (4x slower)", &phone}}) {
        const double over = Median(taken->ready) - Median(taken->blank);
        std::printf("%s:\n", name);
        std::printf("  blank page      load event ends after %.1f ms (median)\n",
                    Median(taken->blank));
        std::printf("  program page    MSN box takes input after %.1f ms (median; first load %.1f "
                    "ms), load event ends after %.1f ms\n",
                    Median(taken->ready), taken->first, Median(taken->load));
        std::printf("  over the blank  %.1f ms (target: at most 150 ms)\n", over);
        met = met && over <= 150;
    }
    std::printf("%s\n", met ? "targets met" : "TARGET MISSED");
    return met ? 0 : 1;
} catch (const std::exception &failure) {
    std::cerr << "bench_page: " << failure.what() << '\n';
    return 2;
}
