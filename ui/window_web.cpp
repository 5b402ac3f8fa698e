#include "ui/window_web.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <stdexcept>

// The page's side, in window_web.js. A window's description crosses once, as
// JSON; texts cross as UTF-16 units and a count, the message box's as UTF-8
// bytes and a count; a control is its window's id and its place in the
// description.
extern "C" {
void velbrin_web_window(const char *description);
void velbrin_web_drop_window(int window);
void velbrin_web_show(int window, int first);
void velbrin_web_hide(int window);
void velbrin_web_set_title(int window, const char16_t *text, int length);
void velbrin_web_announce(int window, const char16_t *text, int length);
void velbrin_web_set_text(int window, int control, const char16_t *text, int length, int accessKey);
int velbrin_web_text_length(int window, int control);
int velbrin_web_copy_text(int window, int control, char16_t *into, int capacity);
void velbrin_web_set_visible(int window, int control, int visible);
void velbrin_web_set_max_length(int window, int control, int length);
int velbrin_web_caret(int window, int control);
void velbrin_web_set_caret(int window, int control, int position);
void velbrin_web_focus(int window, int control, int selectAll);
int velbrin_web_focused(int window);
void velbrin_web_insert(int window, int control, const char16_t *text, int length);
void velbrin_web_message_box(int box, const char16_t *caption, int captionLength, const char *text,
                             int textLength, int icon);
void velbrin_web_stop_input();
void velbrin_web_end(int status, const char16_t *note, int noteLength);
}

namespace velbrin::web {
namespace {

using ui::Kind;

// window_web.js knows the kinds and settings by these numbers.
static_assert(int(Kind::Label) == 0 && int(Kind::TextBox) == 1 && int(Kind::Button) == 2 &&
              int(Kind::Picture) == 3 && int(Kind::Line) == 4);
static_assert(ui::ReadOnly == 1 && ui::MultiLine == 2 && ui::Bordered == 4 && ui::AutoSize == 8 &&
              ui::Hidden == 16 && ui::Digits == 128);
static_assert(int(ui::Event::Change) == 0 && int(ui::Event::Click) == 1);
static_assert(int(ui::Frame::Main) == 0 && int(MessageIcon::Error) == 1);
static_assert(ui::Key::Tab == 0 && ui::Key::Enter == 1 && ui::Key::Escape == 2 &&
              ui::Key::Letter == 3);

std::map<int, ui::Window::Native *> windows;
int nextWindow = 1;
std::map<int, std::function<void()>> messageBoxes; // what to do once each is closed
int nextMessageBox = 1;
std::u16string endedNote;
FailureHandler failureHandler = nullptr;

int Length(std::size_t size)
{
    return int(std::min<std::size_t>(size, std::size_t(INT32_MAX)));
}

int Px(int twips)
{
    return ui::TwipsToPixels(twips, 96);
}

// Default and MenuText are the platform's: the page names them, not a value.
int ColourCode(ui::Colour colour)
{
    if (colour == ui::Colour::Default)
        return -1;
    if (colour == ui::Colour::MenuText)
        return -2;
    return int(ui::Rgb(colour));
}

// A member of a JSON object: a number, or a string with every unit past ASCII
// escaped, so that the text stays UTF-16.
void Add(std::string &json, const char *name, int number)
{
    ((json += '"') += name) += "\":" + std::to_string(number) + ',';
}

void Add(std::string &json, const char *name, std::u16string_view text)
{
    ((json += '"') += name) += "\":\"";
    for (const char16_t unit : text) {
        if (unit >= 0x20 && unit < 0x7F && unit != u'"' && unit != u'\\') {
            json += char(unit);
            continue;
        }
        json += "\\u";
        for (int shift = 12; shift >= 0; shift -= 4)
            json += "0123456789abcdef"[(unit >> shift) & 0xF];
    }
    json += "\",";
}

void Add(std::string &json, const char *name, const char *ascii)
{
    Add(json, name, std::u16string(ascii, ascii + std::char_traits<char>::length(ascii)));
}

// A window's description as the page takes it, in CSS pixels.
std::string Described(int id, const ui::WindowDescription &d, ui::Frame frame)
{
    std::string json = "{";
    Add(json, "id", id);
    Add(json, "name", d.name);
    Add(json, "frame", int(frame));
    Add(json, "width", Px(d.clientWidth));
    Add(json, "height", Px(d.clientHeight));
    Add(json, "placed", d.placed);
    Add(json, "left", Px(d.screenLeft));
    Add(json, "top", Px(d.screenTop));
    json += "\"controls\":[";
    for (const ui::Control &c : d.controls) {
        json += '{';
        Add(json, "name", c.name);
        Add(json, "kind", int(c.kind));
        Add(json, "flags", int(c.flags));
        Add(json, "left", Px(c.place.left));
        Add(json, "top", Px(c.place.top));
        Add(json, "width", Px(c.place.width));
        // A line is as high as its width in pixels.
        Add(json, "height", c.kind == Kind::Line ? c.lineWidth : Px(c.place.height));
        Add(json, "colour", ColourCode(c.colour));
        Add(json, "maxLength", c.maxLength);
        Add(json, "heard", c.heard);
        Add(json, "tooltip", c.tooltip);
        json.back() = '}';
        json += ',';
    }
    json.back() = ']';
    return json + '}';
}

void Fail(std::exception_ptr failure) noexcept
{
    try {
        if (failureHandler)
            failureHandler(failure);
        else
            EndProgram(1);
    } catch (...) {
        velbrin_web_end(1, endedNote.data(), Length(endedNote.size()));
    }
}

template<typename Work> void Guarded(Work &&work) noexcept
{
    try {
        work();
    } catch (...) {
        Fail(std::current_exception());
    }
}

ui::Window::Native *Find(int window)
{
    const auto found = windows.find(window);
    return found == windows.end() ? nullptr : found->second;
}

} // namespace

void MessageBox(std::u16string_view caption, std::string_view text, MessageIcon icon,
                std::function<void()> closed)
{
    const int box = nextMessageBox++;
    if (closed)
        messageBoxes[box] = std::move(closed);
    const std::string shown = ui::WithLf(text);
    velbrin_web_message_box(box, caption.data(), Length(caption.size()), shown.data(),
                            Length(shown.size()), int(icon));
}

void StopInput()
{
    velbrin_web_stop_input();
}

void SetEndedNote(std::u16string_view note)
{
    endedNote = note;
}

void EndProgram(int status)
{
    velbrin_web_end(status, endedNote.data(), Length(endedNote.size()));
}

void SetFailureHandler(FailureHandler handler)
{
    failureHandler = handler;
}

} // namespace velbrin::web

namespace velbrin::ui {

using web::Length;

Window::Native::Native(Window &window, const WindowDescription &description, Frame frame)
    : window(window)
    , description(description)
    , rules(description)
    , id(web::nextWindow++)
    , captions(description.controls.size())
{
    for (const Control &c : description.controls)
        visible.push_back(!c.has(Hidden));
    velbrin_web_window(web::Described(id, description, frame).c_str());
    web::windows[id] = this;
}

Window::Native::~Native()
{
    web::windows.erase(id);
    velbrin_web_drop_window(id);
}

const Control &Window::Native::At(int control) const
{
    if (control < 0 || std::size_t(control) >= description.controls.size())
        throw std::out_of_range("no control " + std::to_string(control) + " in " +
                                description.name);
    return description.controls[std::size_t(control)];
}

bool Window::Native::Key(const ui::Key &key)
{
    const Answer answer = rules.Decide(key, window);
    if (answer.focus >= 0)
        velbrin_web_focus(id, answer.focus, answer.selectAll);
    if (answer.press >= 0 && events)
        events(answer.press, Event::Click);
    return answer.spent;
}

Window::Window(const WindowDescription &description, Frame frame)
    : m_native(std::make_unique<Native>(*this, description, frame))
{
    for (int i = 0; i < int(description.controls.size()); ++i)
        if (description.controls[std::size_t(i)].kind != Kind::TextBox)
            SetText(i, description.controls[std::size_t(i)].caption);
}

Window::~Window() = default;

void Window::Connect(std::function<void(int, Event)> events, std::function<void()> closing)
{
    m_native->events = std::move(events);
    m_native->closing = std::move(closing);
}

void Window::Show()
{
    velbrin_web_show(m_native->id, m_native->rules.FocusOnReturn(-1, *this));
}

// The page cannot wait: the dialog holds all input until it is closed, and its
// owner gets the focus back then.
void Window::ShowModal(Window &owner)
{
    m_native->owner = &owner;
    m_native->ownerFocus = owner.Focus();
    Show();
}

void Window::Close()
{
    velbrin_web_hide(m_native->id);
    if (Window *owner = std::exchange(m_native->owner, nullptr)) {
        const int back = owner->m_native->rules.FocusOnReturn(m_native->ownerFocus, *owner);
        if (back >= 0)
            owner->SetFocus(back);
    }
}

void Window::Tell(std::u16string_view caption, std::string_view text)
{
    web::MessageBox(caption, text, web::MessageIcon::None);
}

void Window::EndProgram(int status)
{
    web::EndProgram(status);
}

std::u16string Window::Text(int control) const
{
    const Control &c = m_native->At(control);
    if (c.kind == Kind::Button)
        return m_native->captions[std::size_t(control)];
    if (c.kind != Kind::Label && c.kind != Kind::TextBox)
        return {};
    const int id = m_native->id;
    std::u16string text(std::size_t(velbrin_web_text_length(id, control)), u'\0');
    text.resize(std::size_t(velbrin_web_copy_text(id, control, text.data(), int(text.size()))));
    return WithCrLf(text);
}

void Window::SetText(int control, std::u16string_view text)
{
    const Control &c = m_native->At(control);
    if (c.kind == Kind::Button) {
        m_native->captions[std::size_t(control)] = text;
        const Caption shown = Shown(text);
        velbrin_web_set_text(m_native->id, control, shown.text.data(), Length(shown.text.size()),
                             shown.accessKey);
    } else if (c.kind == Kind::Label || c.kind == Kind::TextBox) {
        const std::u16string shown = WithLf(text);
        velbrin_web_set_text(m_native->id, control, shown.data(), Length(shown.size()), -1);
    }
}

void Window::SetVisible(int control, bool visible)
{
    if (m_native->At(control).kind == Kind::Line)
        return;
    m_native->visible[std::size_t(control)] = visible;
    velbrin_web_set_visible(m_native->id, control, visible);
}

void Window::SetMaxLength(int control, int length)
{
    const Control &c = m_native->At(control);
    if (c.kind == Kind::TextBox && !c.has(MultiLine))
        velbrin_web_set_max_length(m_native->id, control, length);
}

int Window::Caret(int control) const
{
    return m_native->At(control).kind == Kind::TextBox ? velbrin_web_caret(m_native->id, control)
                                                       : 0;
}

void Window::SetCaret(int control, int position)
{
    if (m_native->At(control).kind == Kind::TextBox)
        velbrin_web_set_caret(m_native->id, control, std::max(position, 0));
}

void Window::SetFocus(int control)
{
    const Kind kind = m_native->At(control).kind;
    if (kind == Kind::TextBox || kind == Kind::Button)
        velbrin_web_focus(m_native->id, control, false);
}

bool Window::IsShown(int control) const
{
    return m_native->At(control).kind != Kind::Line && m_native->visible[std::size_t(control)];
}

int Window::Focus() const
{
    return velbrin_web_focused(m_native->id);
}

void Window::SetTitle(std::u16string_view title)
{
    velbrin_web_set_title(m_native->id, title.data(), Length(title.size()));
}

void Window::Announce(std::u16string_view text)
{
    velbrin_web_announce(m_native->id, text.data(), Length(text.size()));
}

} // namespace velbrin::ui

// What the page calls: each a boundary that no exception crosses.
extern "C" {

EMSCRIPTEN_KEEPALIVE void velbrin_web_event(int window, int control, int event)
{
    using namespace velbrin::web;
    Guarded([&] {
        if (auto *target = Find(window)) {
            target->At(control);
            if (target->events)
                target->events(control, velbrin::ui::Event(event));
        }
    });
}

// A key down in a window: 1 when it is spent, and the page's own handling of it
// is to be prevented.
EMSCRIPTEN_KEEPALIVE int velbrin_web_key(int window, int name, int letter, int shift, int alt,
                                         int control)
{
    using namespace velbrin::web;
    bool spent = false;
    Guarded([&] {
        if (auto *target = Find(window))
            spent = target->Key({velbrin::ui::Key::Name(name), char32_t(letter), shift != 0,
                                 alt != 0, control != 0});
    });
    return spent;
}

EMSCRIPTEN_KEEPALIVE void velbrin_web_close(int window)
{
    using namespace velbrin::web;
    Guarded([&] {
        if (auto *target = Find(window); target && target->closing)
            target->closing();
    });
}

EMSCRIPTEN_KEEPALIVE void velbrin_web_paste(int window, int control, const char16_t *text,
                                            int length)
{
    using namespace velbrin::web;
    Guarded([&] {
        auto *target = Find(window);
        if (!target)
            return;
        const velbrin::ui::Control &c = target->At(control);
        if (c.kind != Kind::TextBox || c.has(velbrin::ui::ReadOnly) ||
            c.has(velbrin::ui::MultiLine))
            return;
        // The page's own paste would join the lines with spaces.
        const std::u16string_view line =
                velbrin::ui::FirstLine(std::u16string_view(text, std::size_t(std::max(length, 0))));
        velbrin_web_insert(window, control, line.data(), Length(line.size()));
    });
}

EMSCRIPTEN_KEEPALIVE void velbrin_web_message_closed(int box)
{
    using namespace velbrin::web;
    Guarded([&] {
        const auto found = messageBoxes.find(box);
        if (found == messageBoxes.end())
            return;
        const std::function<void()> then = std::move(found->second);
        messageBoxes.erase(found);
        then();
    });
}

// Where a button's left edge goes, given how wide its caption needs it.
EMSCRIPTEN_KEEPALIVE int velbrin_web_grown_left(int left, int width, int needed)
{
    return velbrin::ui::GrownLeft(left, width, needed);
}

// A failure of the page's own script while the program was at work.
EMSCRIPTEN_KEEPALIVE void velbrin_web_fail(const char *what, int length)
{
    using namespace velbrin::web;
    Guarded([&] { throw std::runtime_error(std::string(what, std::size_t(std::max(length, 0)))); });
}
}
