// The controls of a Win32 window: made from the description, painted in their
// colours, with their tooltips and the names a screen reader says.
#include "ui/window_win32.h"

#include <commctrl.h>
#include <initguid.h> // the accessibility GUIDs defined here, not linked from uuid
#include <oleacc.h>

#include <algorithm>
#include <stdexcept>

namespace velbrin::win32 {
namespace {

using ui::Kind;

constexpr const wchar_t *NameProperty = L"VelbrinName";

COLORREF ColourRef(ui::Colour colour)
{
    if (colour == ui::Colour::Default || colour == ui::Colour::MenuText)
        return GetSysColor(colour == ui::Colour::Default ? COLOR_WINDOWTEXT : COLOR_MENUTEXT);
    const std::uint32_t rgb = ui::Rgb(colour);
    return RGB(rgb >> 16, rgb >> 8 & 0xFF, rgb & 0xFF);
}

// A single-line entry box keeps only the first line of pasted text, and takes
// no half of a character of two units: typed, such a character comes as two
// WM_CHARs, the first taken only where both fit, the second only after it.
LRESULT CALLBACK SingleLineEntry(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR)
{
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(box, SingleLineEntry, id);
    const bool half = message == WM_CHAR && wParam >= 0xD800 && wParam < 0xE000;
    if ((message != WM_PASTE && !half) || (GetWindowLongW(box, GWL_STYLE) & ES_READONLY))
        return DefSubclassProc(box, message, wParam, lParam);
    DWORD start = 0, end = 0;
    SendMessageW(box, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    const std::size_t room = std::size_t(SendMessageW(box, EM_GETLIMITTEXT, 0, 0)) + end - start -
            std::size_t(GetWindowTextLengthW(box));
    if (half) {
        std::wstring text(std::size_t(GetWindowTextLengthW(box)) + 1, L'\0');
        text.resize(std::size_t(GetWindowTextW(box, text.data(), int(text.size()))));
        const bool taken = wParam < 0xDC00 ? room >= 2
                                           : start > 0 && start <= text.size() &&
                        text[start - 1] >= 0xD800 && text[start - 1] < 0xDC00;
        return taken ? DefSubclassProc(box, message, wParam, lParam) : 0;
    }
    std::wstring pasted;
    bool got = false;
    if (OpenClipboard(box)) {
        if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto *text = static_cast<const char16_t *>(GlobalLock(data))) {
                // Read no further than the memory holds, terminator or not.
                std::u16string_view whole(text, GlobalSize(data) / sizeof(char16_t));
                whole = whole.substr(0, whole.find(u'\0'));
                pasted = Wide(ui::Fitting(ui::FirstLine(whole), room));
                got = true;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    if (got) // an empty first line still replaces the selection
        SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
    return 0;
}

// The dialog keys select a box whole on Tab when it says it takes a selection;
// a summary box does not, so Tab leaves its text unselected and its first line
// in view.
LRESULT CALLBACK NoSelectionOnTab(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR)
{
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(box, NoSelectionOnTab, id);
    const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
    return message == WM_GETDLGCODE ? result & ~LRESULT(DLGC_HASSETSEL) : result;
}

struct ControlClass
{
    const wchar_t *name;
    DWORD style;
    DWORD exStyle;
};

ControlClass ClassFor(const ui::Control &c)
{
    switch (c.kind) {
    case Kind::Label:
        return {WC_STATICW,
                DWORD(SS_LEFT | SS_NOPREFIX | SS_NOTIFY | (c.has(ui::Bordered) ? WS_BORDER : 0)),
                0};
    case Kind::Picture:
        return {WC_STATICW, SS_ICON | SS_CENTERIMAGE, 0};
    case Kind::Button:
        return {WC_BUTTONW,
                DWORD(WS_TABSTOP | (c.has(ui::DefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)),
                0};
    case Kind::TextBox:
        if (c.has(ui::MultiLine))
            return {WC_EDITW,
                    DWORD(WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                          (c.has(ui::ReadOnly) ? ES_READONLY : 0)),
                    WS_EX_CLIENTEDGE};
        if (c.has(ui::ReadOnly)) // the narrow field boxes: a thin border leaves room
            return {WC_EDITW, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | ES_READONLY, 0};
        return {WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::Line:
        break;
    }
    return {nullptr, 0, 0};
}

} // namespace
} // namespace velbrin::win32

namespace velbrin::ui {

using namespace win32;

void Window::Native::MakeControls()
{
    const auto px = [this](int twips) { return TwipsToPixels(twips, dpi); };
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    controls.assign(description.controls.size(), nullptr);
    // The dialog manager walks the controls in the order they are made, each new
    // one going below the others.
    for (const int i : rules.MakingOrder()) {
        const ui::Control &c = description.controls[std::size_t(i)];
        const ControlClass kind = ClassFor(c);
        if (!kind.name)
            continue; // lines are drawn by the window itself
        const std::wstring caption = Wide(c.caption);
        const HWND control = CreateWindowExW(
                kind.exStyle, kind.name, caption.c_str(),
                WS_CHILD | WS_CLIPSIBLINGS | (c.has(Hidden) ? 0 : WS_VISIBLE) | kind.style,
                px(c.place.left), px(c.place.top), px(c.place.width), px(c.place.height), handle,
                reinterpret_cast<HMENU>(INT_PTR(FirstControlId + i)), instance, nullptr);
        if (!control)
            throw std::runtime_error(std::string("cannot create ") + c.name);
        SetPropW(control, NameProperty, const_cast<char *>(c.name));
        controls[std::size_t(i)] = control;
        if (c.kind == Kind::TextBox && c.maxLength > 0)
            SendMessageW(control, EM_SETLIMITTEXT, WPARAM(c.maxLength), 0);
        if (c.kind == Kind::TextBox && !c.has(ReadOnly) && !c.has(MultiLine))
            SetWindowSubclass(control, SingleLineEntry, 1, 0);
        if (c.kind == Kind::TextBox && c.has(MultiLine))
            SetWindowSubclass(control, NoSelectionOnTab, 1, 0);
    }
}

// The tooltips are set up once the window is on screen: a tooltip control is a
// window of its own, and the program starts sooner without waiting for it.
void Window::Native::AddTooltips()
{
    if (tooltips || !handle)
        return;
    tooltips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    for (std::size_t i = 0; tooltips && i < controls.size(); ++i) {
        const ui::Control &c = description.controls[i];
        if (c.tooltip.empty() || !controls[i])
            continue;
        std::wstring tip = Wide(c.tooltip); // the tooltip keeps a copy
        TTTOOLINFOW tool {};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = handle;
        tool.uId = reinterpret_cast<UINT_PTR>(controls[i]);
        tool.lpszText = tip.data();
        SendMessageW(tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// What a screen reader says of each control, from the description: a box's name
// would otherwise be taken from the label made before it, and the field boxes and
// summaries have none. Done once the window is on screen, from the system's
// accessibility DLLs loaded then: a system without them starts all the same.
void Window::Native::NameForScreenReaders()
{
    using InitializeFn = HRESULT(WINAPI *)(void *, DWORD);
    using CreateFn = HRESULT(WINAPI *)(REFCLSID, IUnknown *, DWORD, REFIID, void **);
    static const HMODULE ole = LoadLibraryW(L"ole32.dll");
    const auto initialize = reinterpret_cast<InitializeFn>(
            reinterpret_cast<void (*)()>(GetProcAddress(ole, "CoInitializeEx")));
    const auto create = reinterpret_cast<CreateFn>(
            reinterpret_cast<void (*)()>(GetProcAddress(ole, "CoCreateInstance")));
    IAccPropServices *services = nullptr;
    if (!initialize || !create || FAILED(initialize(nullptr, COINIT_APARTMENTTHREADED)) ||
        FAILED(create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                      reinterpret_cast<void **>(&services))))
        return;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ui::Control &c = description.controls[i];
        const std::wstring name = Wide(c.kind == Kind::Button ? Shown(c.caption).text : c.heard);
        const std::wstring said = Wide(c.tooltip);
        if (!controls[i] || c.kind == Kind::Label || c.kind == Kind::Picture)
            continue; // heard by what they show, or decoration
        services->SetHwndPropStr(controls[i], OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                                 name.c_str());
        if (!said.empty())
            services->SetHwndPropStr(controls[i], OBJID_CLIENT, CHILDID_SELF,
                                     PROPID_ACC_DESCRIPTION, said.c_str());
    }
    services->Release();
}

LRESULT Window::Native::ControlColour(UINT message, HDC dc, HWND control)
{
    const LRESULT brush = DefWindowProcW(handle, message, WPARAM(dc), LPARAM(control));
    const int index = IndexOf(control);
    if (index >= 0 && description.controls[std::size_t(index)].colour != Colour::Default)
        SetTextColor(dc, ColourRef(description.controls[std::size_t(index)].colour));
    return brush;
}

void Window::Native::Paint()
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(handle, &paint);
    const auto px = [this](int twips) { return TwipsToPixels(twips, dpi); };
    // Of two lines that overlap, the earlier one lies on top: draw it last.
    for (auto c = description.controls.rbegin(); c != description.controls.rend(); ++c) {
        if (c->kind != Kind::Line)
            continue;
        const int width = std::max(1, MulDiv(c->lineWidth, dpi, 96));
        const RECT line {px(c->place.left), px(c->place.top),
                         px(c->place.left) + px(c->place.width), px(c->place.top) + width};
        const HBRUSH brush = CreateSolidBrush(ColourRef(c->colour));
        FillRect(dc, &line, brush);
        DeleteObject(brush);
    }
    EndPaint(handle, &paint);
}

} // namespace velbrin::ui
