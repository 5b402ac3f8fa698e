#include "ui/dialog_rules.h"

#include <algorithm>

namespace velbrin::ui {
namespace {

char32_t Folded(char32_t c)
{
    return c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c;
}

template<typename Char>
std::basic_string<Char> Replaced(std::basic_string_view<Char> text,
                                 std::basic_string_view<Char> from, std::basic_string_view<Char> to)
{
    std::basic_string<Char> out(text);
    for (std::size_t at = 0; (at = out.find(from, at)) != out.npos; at += to.size())
        out.replace(at, from.size(), to);
    return out;
}

} // namespace

DialogRules::DialogRules(const WindowDescription &description)
    : m_description(description)
{
    for (int i = 0; i < int(description.controls.size()); ++i) {
        const Control &c = description.controls[std::size_t(i)];
        if (c.tab != NoTab && (c.kind == Kind::TextBox || c.kind == Kind::Button))
            m_stops.push_back(i);
    }
    std::stable_sort(m_stops.begin(), m_stops.end(), TabOrder());
}

// Whether one control comes before another in the tab order.
std::function<bool(int, int)> DialogRules::TabOrder() const
{
    return [&controls = m_description.controls](int a, int b) {
        return controls[std::size_t(a)].tab < controls[std::size_t(b)].tab;
    };
}

std::vector<int> DialogRules::MakingOrder() const
{
    const auto &controls = m_description.controls;
    std::vector<int> order(controls.size());
    for (int i = 0; i < int(order.size()); ++i)
        order[std::size_t(i)] = i;
    std::stable_sort(order.begin(), order.end(), TabOrder());
    for (const int box : m_stops) {
        const auto names = [&](int label) {
            const Control &c = controls[std::size_t(label)];
            return c.kind == Kind::Label && !c.caption.empty() &&
                    c.caption == controls[std::size_t(box)].heard;
        };
        const auto label = std::find_if(order.begin(), order.end(), names);
        if (label == order.end())
            continue;
        const int moved = *label;
        order.erase(label);
        order.insert(std::find(order.begin(), order.end(), box), moved);
    }
    return order;
}

bool DialogRules::Showing(int control, const View &window) const
{
    return control >= 0 && window.IsShown(control);
}

int DialogRules::Stop(int from, bool back, const View &window) const
{
    const int count = int(m_stops.size());
    const auto at = std::find(m_stops.begin(), m_stops.end(), from);
    int i = at == m_stops.end() ? (back ? 0 : count - 1) : int(at - m_stops.begin());
    for (int step = 0; step < count; ++step) {
        i = (i + (back ? count - 1 : 1)) % count;
        if (Showing(m_stops[std::size_t(i)], window))
            return m_stops[std::size_t(i)];
    }
    return -1;
}

Answer DialogRules::Decide(const Key &key, const View &window) const
{
    const auto &controls = m_description.controls;
    const auto with = [&](Flag flag) {
        for (int i = 0; i < int(controls.size()); ++i)
            if (controls[std::size_t(i)].kind == Kind::Button && controls[std::size_t(i)].has(flag))
                return i;
        return -1;
    };
    const int focus = window.Focus();
    const bool plain = !key.alt && !key.control;
    Answer answer;
    if (key.name == Key::Tab && plain) {
        answer.focus = Stop(focus, key.shift, window);
        answer.selectAll = answer.focus >= 0 &&
                controls[std::size_t(answer.focus)].kind == Kind::TextBox &&
                !controls[std::size_t(answer.focus)].has(MultiLine);
        answer.spent = true;
    } else if (key.name == Key::Enter && plain) {
        const bool onButton = focus >= 0 && controls[std::size_t(focus)].kind == Kind::Button;
        answer.press = onButton ? focus : with(DefaultButton);
        answer.spent = true;
    } else if (key.name == Key::Escape && plain) {
        answer.press = with(CancelButton);
        answer.spent = true;
    } else if (key.alt && !key.control && key.name == Key::Letter && key.letter > U' ') {
        for (int i = 0; i < int(controls.size()) && answer.press < 0; ++i) {
            if (controls[std::size_t(i)].kind != Kind::Button || !Showing(i, window))
                continue;
            const Caption caption = Shown(window.Text(i));
            if (caption.accessKey >= 0 &&
                Folded(caption.text[std::size_t(caption.accessKey)]) == Folded(key.letter))
                answer.press = i;
        }
        answer.spent = true;
    }
    if (answer.press >= 0 && !Showing(answer.press, window))
        answer.press = -1;
    return answer;
}

int DialogRules::FocusOnReturn(int had, const View &window) const
{
    if (Showing(had, window) && std::find(m_stops.begin(), m_stops.end(), had) != m_stops.end())
        return had;
    return Stop(-1, false, window);
}

Caption Shown(std::u16string_view caption)
{
    Caption shown;
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

std::u16string WithLf(std::u16string_view text)
{
    return Replaced(text, std::u16string_view(u"\r\n"), std::u16string_view(u"\n"));
}

std::string WithLf(std::string_view text)
{
    return Replaced(text, std::string_view("\r\n"), std::string_view("\n"));
}

std::u16string WithCrLf(std::u16string_view text)
{
    return Replaced(text, std::u16string_view(u"\n"), std::u16string_view(u"\r\n"));
}

} // namespace velbrin::ui
