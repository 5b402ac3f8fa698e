#include "ui/window_web.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <stdexcept>

// The page's side, in window_web.js. Texts cross as UTF-16 units and a count,
// the message box's as UTF-8 bytes and a count; a control is its window's id and
// its place in the description.
extern "C" {
void velbrin_web_window(int window, const char *name, int frame, int width, int height, int placed,
                        int left, int top);
void velbrin_web_control(int window, int index, const char *name, int kind, int flags, int left,
                         int top, int width, int height, int colour, int maxLength,
                         const char16_t *heard, int heardLength, const char16_t *tooltip,
                         int tooltipLength);
void velbrin_web_tab_order(int window, const int *order, int count);
void velbrin_web_drop_window(int window);
void velbrin_web_show(int window);
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
void velbrin_web_focus(int window, int control);
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
              ui::Hidden == 16 && ui::DefaultButton == 32 && ui::CancelButton == 64 &&
              ui::Digits == 128);
static_assert(int(ui::Event::Change) == 0 && int(ui::Event::Click) == 1);
static_assert(int(Frame::Main) == 0 && int(MessageIcon::Error) == 1);

std::map<int, Window *> windows;
int nextWindow = 1;
std::map<int, std::function<void()>> messageBoxes; // what to do once each is closed
int nextMessageBox = 1;
std::u16string endedNote;
FailureHandler failureHandler = nullptr;

int Length(std::size_t size)
{
    return int(std::min<std::size_t>(size, std::size_t(INT32_MAX)));
}

// The program's texts break lines with CR LF; the page's text breaks at LF, and
// a text area hands its text back with LF whatever it was given.
template<typename Text>
Text Replaced(Text text, std::basic_string_view<typename Text::value_type> from,
              std::basic_string_view<typename Text::value_type> to)
{
    for (std::size_t at = 0; (at = text.find(from, at)) != Text::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

std::u16string WithLf(std::u16string_view text)
{
    return Replaced(std::u16string(text), std::u16string_view(u"\r\n"), std::u16string_view(u"\n"));
}

std::u16string WithCrLf(std::u16string_view text)
{
    return Replaced(std::u16string(text), std::u16string_view(u"\n"), std::u16string_view(u"\r\n"));
}

// A button's caption as shown: "&" marks the next character as the access key
// (the first so marked counts), "&&" is a "&" of its own.
struct ShownCaption
{
    std::u16string text;
    int accessKey = -1; // in `text`
};

ShownCaption Shown(std::u16string_view caption)
{
    ShownCaption shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) {
            ++i;
            if (caption[i] != u'&' && shown.accessKey < 0)
                shown.accessKey = int(shown.text.size());
        }
        shown.text += caption[i];
    }
    return shown;
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

int Px(int twips)
{
    return ui::TwipsToPixels(twips, 96);
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

Window *Find(int window)
{
    const auto found = windows.find(window);
    return found == windows.end() ? nullptr : found->second;
}

} // namespace

Window::Window(const ui::WindowDescription &description, Frame frame)
    : m_description(description)
    , m_id(nextWindow++)
    , m_captions(description.controls.size())
{
    windows[m_id] = this;
    velbrin_web_window(m_id, description.name, int(frame), Px(description.clientWidth),
                       Px(description.clientHeight), description.placed, Px(description.screenLeft),
                       Px(description.screenTop));
    std::vector<int> order;
    for (int i = 0; i < int(description.controls.size()); ++i) {
        const ui::Control &c = description.controls[std::size_t(i)];
        // A line is as high as its width in pixels.
        const int height = c.kind == Kind::Line ? c.lineWidth : Px(c.place.height);
        velbrin_web_control(m_id, i, c.name, int(c.kind), int(c.flags), Px(c.place.left),
                            Px(c.place.top), Px(c.place.width), height, ColourCode(c.colour),
                            c.maxLength, c.heard.data(), Length(c.heard.size()), c.tooltip.data(),
                            Length(c.tooltip.size()));
        if (c.kind == Kind::Label || c.kind == Kind::Button)
            SetText(i, c.caption);
        if (c.tab != ui::NoTab && (c.kind == Kind::TextBox || c.kind == Kind::Button))
            order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return description.controls[std::size_t(a)].tab < description.controls[std::size_t(b)].tab;
    });
    velbrin_web_tab_order(m_id, order.data(), int(order.size()));
}

Window::~Window()
{
    windows.erase(m_id);
    velbrin_web_drop_window(m_id);
}

const ui::Control &Window::At(int control) const
{
    if (control < 0 || std::size_t(control) >= m_description.controls.size())
        throw std::out_of_range("no control " + std::to_string(control) + " in " +
                                m_description.name);
    return m_description.controls[std::size_t(control)];
}

void Window::Show()
{
    velbrin_web_show(m_id);
}

void Window::Hide()
{
    velbrin_web_hide(m_id);
}

std::u16string Window::Text(int control) const
{
    const ui::Control &c = At(control);
    if (c.kind == Kind::Button)
        return m_captions[std::size_t(control)];
    if (c.kind != Kind::Label && c.kind != Kind::TextBox)
        return {};
    std::u16string text(std::size_t(velbrin_web_text_length(m_id, control)), u'\0');
    text.resize(std::size_t(velbrin_web_copy_text(m_id, control, text.data(), int(text.size()))));
    return WithCrLf(text);
}

void Window::SetText(int control, std::u16string_view text)
{
    const ui::Control &c = At(control);
    if (c.kind == Kind::Button) {
        m_captions[std::size_t(control)] = text;
        const ShownCaption shown = Shown(text);
        velbrin_web_set_text(m_id, control, shown.text.data(), Length(shown.text.size()),
                             shown.accessKey);
    } else if (c.kind == Kind::Label || c.kind == Kind::TextBox) {
        const std::u16string shown = WithLf(text);
        velbrin_web_set_text(m_id, control, shown.data(), Length(shown.size()), -1);
    }
}

void Window::SetVisible(int control, bool visible)
{
    if (At(control).kind != Kind::Line)
        velbrin_web_set_visible(m_id, control, visible);
}

void Window::SetMaxLength(int control, int length)
{
    const ui::Control &c = At(control);
    if (c.kind == Kind::TextBox && !c.has(ui::MultiLine))
        velbrin_web_set_max_length(m_id, control, length);
}

int Window::Caret(int control) const
{
    return At(control).kind == Kind::TextBox ? velbrin_web_caret(m_id, control) : 0;
}

void Window::SetCaret(int control, int position)
{
    if (At(control).kind == Kind::TextBox)
        velbrin_web_set_caret(m_id, control, std::max(position, 0));
}

void Window::SetFocus(int control)
{
    const Kind kind = At(control).kind;
    if (kind == Kind::TextBox || kind == Kind::Button)
        velbrin_web_focus(m_id, control);
}

void Window::SetTitle(std::u16string_view title)
{
    velbrin_web_set_title(m_id, title.data(), Length(title.size()));
}

void Window::Announce(std::u16string_view text)
{
    velbrin_web_announce(m_id, text.data(), Length(text.size()));
}

void Window::Handle(int control, ui::Event event)
{
    At(control);
    OnEvent(control, event);
}

void Window::HandleClose()
{
    OnClose();
}

void Window::Paste(int control, std::u16string_view text)
{
    const ui::Control &c = At(control);
    if (c.kind != Kind::TextBox || c.has(ui::ReadOnly) || c.has(ui::MultiLine))
        return;
    // The page's own paste would join the lines with spaces.
    const std::u16string_view line = ui::FirstLine(text);
    velbrin_web_insert(m_id, control, line.data(), Length(line.size()));
}

void MessageBox(std::u16string_view caption, std::string_view text, MessageIcon icon,
                std::function<void()> closed)
{
    const int box = nextMessageBox++;
    if (closed)
        messageBoxes[box] = std::move(closed);
    const std::string shown =
            Replaced(std::string(text), std::string_view("\r\n"), std::string_view("\n"));
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

// What the page calls: each a boundary that no exception crosses.
extern "C" {

EMSCRIPTEN_KEEPALIVE void velbrin_web_event(int window, int control, int event)
{
    using namespace velbrin::web;
    Guarded([&] {
        if (Window *target = Find(window))
            target->Handle(control, velbrin::ui::Event(event));
    });
}

EMSCRIPTEN_KEEPALIVE void velbrin_web_close(int window)
{
    using namespace velbrin::web;
    Guarded([&] {
        if (Window *target = Find(window))
            target->HandleClose();
    });
}

EMSCRIPTEN_KEEPALIVE void velbrin_web_paste(int window, int control, const char16_t *text,
                                            int length)
{
    using namespace velbrin::web;
    Guarded([&] {
        if (Window *target = Find(window))
            target->Paste(control, std::u16string_view(text, std::size_t(std::max(length, 0))));
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

// A failure of the page's own script while the program was at work.
EMSCRIPTEN_KEEPALIVE void velbrin_web_fail(const char *what, int length)
{
    using namespace velbrin::web;
    Guarded([&] { throw std::runtime_error(std::string(what, std::size_t(std::max(length, 0)))); });
}
}
