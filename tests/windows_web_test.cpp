// The browser program, opened from disk in a headless Chromium with the network
// cut off, driven with the keys and clicks a user gives it (the DevTools
// protocol's input events) and read back from the page and from what the browser
// tells a screen reader (its accessibility tree).
#include "approval.h"
#include "browser.h"

#include <QByteArray>
#include <QString>

#include <filesystem>
#include <functional>
#include <map>

namespace velbrin::test {
namespace {

const std::string page = VELBRIN_WEB_PAGE;

Browser &Chromium()
{
    static Browser browser;
    static const bool ready =
            (browser.Call("Accessibility.enable"),
             browser.Call("Emulation.setFocusEmulationEnabled", {{"enabled", true}}), true);
    return ready ? browser : browser;
}

json Run(const std::string &script)
{
    return Chromium().Evaluate(script);
}

// What the page shows of its topmost window, its message box and how it ended.
const char *const Reader = R"((() => {
  const top = document.querySelector('#frmAbout[open]') || document.getElementById('frmVelbrin');
  const box = document.querySelector('dialog.message-box[open]');
  const client = top && top.querySelector('.client');
  const at = (el, r = el.getBoundingClientRect(), c = client.getBoundingClientRect()) =>
      el === client ? [r.left, r.top, r.width, r.height] : [r.left - c.left, r.top - c.top, r.width, r.height];
  const colour = el => getComputedStyle(el).color.match(/\d+/g).slice(0, 3).reduce((c, v) => c * 256 + +v, 0);
  const shown = el => el.matches('input, textarea') ? el.value : [...el.childNodes]
      .map(n => (n.nodeName === 'U' ? '&' : '') + n.textContent).join('');
  const edit = el => el.matches('input, textarea');
  const seen = !top ? [] : [[-1, top.id, top.querySelector('.caption').textContent, at(client), 0, '',
                             true, false, false, -1, -1, 0]].concat([...client.children].map((el, i) =>
      [i, el.id, shown(el).replace(/\n/g, '\r\n'), at(el), colour(el), el.title, !el.hidden,
       document.activeElement === el, !!el.readOnly, edit(el) ? el.selectionStart : -1,
       edit(el) ? el.selectionEnd : -1, Math.round(el.scrollTop / parseFloat(getComputedStyle(el).lineHeight) || 0),
       el.getAttribute('aria-hidden')]));
  const live = top && top.querySelector('.announcement');
  return {seen, live: live && live.textContent, status: document.documentElement.dataset.exitStatus || null,
          frame: top && [!!top.querySelector('.close-box'), getComputedStyle(top).resize !== 'none'],
          box: box && [box.querySelector('.caption').textContent, box.querySelector('.text').textContent
              .replace(/\n/g, '\r\n'), box.querySelector('button.ok').textContent,
              [...(box.querySelector('.icon') || {classList: []}).classList].slice(1).join(' ')]};
})())";

std::u16string U16(const json &text)
{
    return QString::fromStdString(text.get<std::string>()).toStdU16String();
}

class WebMain : public Driver
{
public:
    WebMain() { Chromium().Open("file://" + page); }

    std::vector<Seen> Dump() override
    {
        std::vector<Seen> seen;
        const json read = Run(Reader),
                   document = Chromium().Call("DOM.getDocument", {{"depth", -1}});
        // What a screen reader is told of each element, from one tree of the whole
        // page, by the element's id; a hidden one is not in it: told nothing.
        std::map<long, std::string> ids;
        const std::function<void(const json &)> walk = [&](const json &node) {
            const json attributes = node.value("attributes", json::array());
            for (std::size_t i = 0; i + 1 < attributes.size(); i += 2)
                if (attributes[i] == "id")
                    ids[node["backendNodeId"]] = attributes[i + 1];
            for (const json &child : node.value("children", json::array()))
                walk(child);
        };
        walk(document["root"]);
        std::map<std::string, json> heard;
        const json tree = Chromium().Call("Accessibility.getFullAXTree");
        for (const json &node : tree["nodes"])
            if (ids.contains(node.value("backendDOMNodeId", -1L)))
                heard[ids[node["backendDOMNodeId"]]] = node;
        for (const json &s : read["seen"]) {
            if (s[12] == "true")
                continue; // decoration, which screen readers skip, as the desktop's lines
            const auto found = heard.find(s[1]);
            const json ax = found == heard.end() ? json::object() : found->second;
            const auto value = [&](const char *field, const char *absent = "") {
                return U16(ax.value(json::json_pointer(field), json(absent)));
            };
            const Rect place {s[3][0], s[3][1], s[3][2], s[3][3]};
            seen.push_back({s[0], s[1], Utf8(value("/role/value", "none")), value("/name/value"),
                            value("/description/value"), place, U16(s[2]), s[4], U16(s[5]), s[9],
                            s[10], s[11], s[6], s[7], s[8]});
        }
        if (seen.empty())
            return seen;
        seen[0].frame = Frame(read["frame"][0], false, false, read["frame"][1]); // no other boxes
        // What the window tells unasked, where a screen reader takes it as a polite live region.
        const auto live = heard.find(seen[0].name + "-announced");
        for (const json &property :
             live == heard.end() ? json::array() : live->second.value("properties", json::array()))
            if (property["name"] == "live" && property["value"]["value"] == "polite")
                seen[0].announced = U16(read["live"]);
        return seen;
    }
    std::optional<MessageBoxSeen> MessageBox() override
    {
        const json box = Run(Reader)["box"];
        if (box.is_null())
            return std::nullopt;
        return MessageBoxSeen {U16(box[0]), U16(box[1]), box[2], box[3]};
    }
    std::string Shot() override
    {
        const Rect c = Dump()[0].place;
        Run("document.activeElement.style.caretColor = 'transparent'"); // it blinks
        json clip = {{"x", c.left}, {"y", c.top}, {"width", c.width}, {"height", c.height}};
        clip["scale"] = 1;
        const std::string png = Chromium().Call("Page.captureScreenshot", {{"clip", clip}})["data"];
        Run("document.activeElement.style.caretColor = ''");
        return QByteArray::fromBase64(QByteArray::fromStdString(png)).toStdString();
    }
    bool Rescale(double scale) override
    {
        json metrics = json::parse(R"({"width": 1024, "height": 768, "mobile": false})");
        Chromium().Call("Emulation.setDeviceMetricsOverride",
                        (metrics["deviceScaleFactor"] = scale, metrics));
        return true;
    }
    int Play(const std::vector<std::u16string> &steps,
             const std::function<void(std::size_t)> &after) override
    {
        for (std::size_t k = 0; k < steps.size(); ++k) {
            Take(Parse(steps[k]));
            // What the step set going (About's opening, a message box) has run.
            Run("new Promise(done => setTimeout(() => requestAnimationFrame(() => "
                "setTimeout(done))))");
            if (const json status = Run(Reader)["status"]; !status.is_null())
                return std::stoi(status.get<std::string>());
            after(k);
        }
        return -1;
    }

private:
    static void Input(const char *method, json event, const char *down, const char *up)
    {
        for (const char *type : {down, up})
            Chromium().Call(method, (event["type"] = type, event));
    }
    static void Key(const std::string &key, int code, int modifiers = 0)
    {
        Input("Input.dispatchKeyEvent",
              {{"key", key},
               {"code", key.size() == 1 ? "Key" + key : key},
               {"windowsVirtualKeyCode", code},
               {"modifiers", modifiers}},
              "rawKeyDown", "keyUp");
    }

    void Take(const Step &step)
    {
        const std::string text = json(Utf8(step.text)).dump();
        const std::string control = "#" + Dump()[0].name + " #" + step.control;
        static const std::map<std::string, int> keys {
                {"Tab", 9}, {"BackTab", 9}, {"Enter", 13}, {"Escape", 27}, {"Backspace", 8}};
        if (step.verb == "type") { // a key at a time
            const QString units = QString::fromStdU16String(step.text);
            for (int u = 0; u < units.size(); u += units.at(u).isHighSurrogate() ? 2 : 1)
                Chromium().Call(
                        "Input.insertText",
                        {{"text",
                          units.mid(u, units.at(u).isHighSurrogate() ? 2 : 1).toStdString()}});
        } else if (step.verb == "paste") { // the clipboard as the page is handed it
            Run("(d => { d.setData('text/plain', " + text +
                "); document.activeElement.dispatchEvent("
                "new ClipboardEvent('paste', {clipboardData: d, bubbles: true, cancelable: "
                "true})); })"
                "(new DataTransfer())");
        } else if (step.verb == "select") {
            Run("(el => { el.focus(); el.setSelectionRange(" + std::to_string(step.from) + ", " +
                std::to_string(step.from + step.count) + "); })(document.querySelector('" +
                control + "'))");
        } else if (step.verb == "click" || step.verb == "close" || step.verb == "tap") {
            const json at = // where the pointer or the finger lands, on whatever lies on top
                    Run("(r => [r.x + r.width / 2, r.y + r.height / 2])(document."
                        "querySelector('" +
                        (step.verb == "close" ? "#" + Dump()[0].name + " .close-box" : control) +
                        "').getBoundingClientRect())");
            if (step.verb != "tap")
                return Input("Input.dispatchMouseEvent",
                             {{"x", at[0]}, {"y", at[1]}, {"button", "left"}, {"clickCount", 1}},
                             "mousePressed", "mouseReleased");
            // The click a tap makes comes once the finger has gone.
            Run("window.tapped = new Promise(done => addEventListener('click', done, "
                "{capture: true, once: true})), 0");
            Input("Input.dispatchTouchEvent", {{"touchPoints", {{{"x", at[0]}, {"y", at[1]}}}}},
                  "touchStart", "touchEnd");
            Run("tapped.then(() => 0)");
        } else if (step.verb == "phone") { // the page opened again on a touch screen of that size
            Chromium().Call("Emulation.setTouchEmulationEnabled",
                            {{"enabled", true}, {"maxTouchPoints", 5}});
            Chromium().Call("Emulation.setDeviceMetricsOverride",
                            {{"width", std::stoi(step.control)},
                             {"height", step.from},
                             {"deviceScaleFactor", 1},
                             {"mobile", true}});
            Chromium().Open("file://" + page);
        } else if (step.verb == "compose") { // the word so far, the caret at its end
            Chromium().Call("Input.imeSetComposition",
                            {{"text", Utf8(step.text)},
                             {"selectionStart", step.text.size()},
                             {"selectionEnd", step.text.size()}});
        } else if (step.verb == "commit") {
            Chromium().Call("Input.insertText", {{"text", Utf8(step.text)}});
        } else if (step.verb == "key") {
            Key(step.control == "BackTab" ? "Tab" : step.control, keys.at(step.control),
                step.control == "BackTab" ? 8 : 0);
        } else if (step.verb == "alt") {
            Key(std::string(1, char(std::toupper(step.text[0]))), std::toupper(step.text[0]), 1);
        } else if (step.verb == "fail") { // a failure escaping a handler, as the page's are
            Run("VelbrinWeb.fail(" + text + ")");
        } else {
            ADD_FAILURE() << "no such step: " << step.verb;
        }
    }
};

// Upright and turned, the window as wide as the screen allows and never wider,
// About over it at the same scale, and the IMEI box offering a keypad of digits.
TEST(Phone, LooksAsApproved)
{
    for (const auto &[width, height] : {std::pair(360, 780), {390, 844}, {412, 915}}) {
        for (const auto &[w, h] : {std::pair(width, height), {height, width}}) {
            const std::string size = std::to_string(w) + "x" + std::to_string(h);
            WebMain main;
            std::string dump;
            main.Play({QString("phone %1 %2").arg(w).arg(h).toStdU16String(), u"type a3ztzb1234",
                       u"tap cmdAbout"},
                      [&](std::size_t step) { dump += step ? Dumped(main.Dump()) : ""; });
            EXPECT_EQ(test::Run("document.documentElement.scrollWidth - innerWidth"), 0) << size;
            ExpectApproved("phone-" + size + ".txt", dump, false);
            const std::string png = Chromium().Call("Page.captureScreenshot")["data"];
            ExpectApproved("phone-" + size + ".png",
                           QByteArray::fromBase64(QByteArray::fromStdString(png)).toStdString(),
                           false);
        }
    }
    EXPECT_EQ(test::Run("document.getElementById('txtImei').inputMode"), "numeric");
}

// Served from a web server on this machine, the page is an app Chromium would
// install, which starts where it was served from.
TEST(Page, InstallsWhereServed)
{
    FILE *server = popen(("python3 -c 'import http.server as h, functools, sys; s = "
                          "h.HTTPServer((\"127.0.0.1\", 0), functools.partial("
                          "h.SimpleHTTPRequestHandler, directory=sys.argv[1])); "
                          "print(s.server_port, flush=True); s.handle_request()' " +
                          std::filesystem::path(page).parent_path().string() + " 2>/dev/null")
                                 .c_str(),
                         "r");
    int port = 0;
    ASSERT_EQ(std::fscanf(server, "%d", &port), 1);
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/velbrin.html";
    Chromium().Open(url);
    pclose(server);
    EXPECT_EQ(Chromium().Call("Page.getInstallabilityErrors")["installabilityErrors"],
              json::array());
    const json app = json::parse(std::string(Chromium().Call("Page.getAppManifest")["data"]));
    EXPECT_EQ(app["start_url"], url);
    EXPECT_EQ(app["icons"][0]["sizes"], "192x192 512x512");
}

} // namespace

const bool isThePage = true;

std::unique_ptr<Driver> OpenMain()
{
    return std::make_unique<WebMain>();
}

} // namespace velbrin::test

int main(int argc, char **argv)
{
    using namespace velbrin::test;
    ::testing::InitGoogleTest(&argc, argv);
    if (!GTEST_FLAG_GET(list_tests)) { // listing needs neither the page nor a browser
        if (!std::filesystem::exists(page)) {
            std::fprintf(stderr, "%s is not built: cmake --build --preset web\n", page.c_str());
            return 1;
        }
        const std::string product = Chromium().Call("Browser.getVersion")["product"];
        SetEnvironment("chromium-" + product.substr(product.find('/') + 1, 3));
    }
    return RUN_ALL_TESTS();
}
