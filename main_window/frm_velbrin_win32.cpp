#include "main_window/frm_velbrin_win32.h"

#include "about/frm_about_win32.h"
#include "decoding/decoding.h"

namespace velbrin {

using namespace main_window;

frmVelbrin::frmVelbrin(const AppInfo &info)
    : win32::Window(Description())
    , m_info(info)
{
    Create();
}

frmVelbrin::~frmVelbrin() = default;

void frmVelbrin::Form_Load()
{
    SetTitle(MainWindowCaption(m_info));
    SendMessageW(control(txtMsn), EM_SETLIMITTEXT, MsnLength, 0);
    SendMessageW(control(txtImei), EM_SETLIMITTEXT, ImeiLength, 0);
    ShowCounter(MsnSide(), HandleEntry(MsnSide(), {}));
    ShowCounter(ImeiSide(), HandleEntry(ImeiSide(), {}));
}

void frmVelbrin::Show()
{
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    SetFocus(control(txtMsn));
}

void frmVelbrin::OnCommand(int index, int code)
{
    switch (index) {
    case txtImei:
        if (code == EN_CHANGE)
            txtImei_Change();
        break;
    case txtMsn:
        if (code == EN_CHANGE)
            txtMsn_Change();
        break;
    case cmdAbout:
        if (code == BN_CLICKED)
            cmdAbout_Click();
        break;
    case cmdExit:
        if (code == BN_CLICKED)
            cmdExit_Click();
        break;
    default:
        break;
    }
}

void frmVelbrin::OnClose()
{
    Form_Unload();
}

void frmVelbrin::ShowCounter(const Side &side, const EntryUpdate &update)
{
    SetCaption(side.counter, update.counterText);
    ShowWindow(control(side.counter), update.counterVisible ? SW_SHOWNA : SW_HIDE);
}

void frmVelbrin::EntryChanged(const Side &side)
{
    if (m_writingBack)
        return;
    const HWND entry = control(side.entry);
    const std::u16string text = win32::TextOf(entry);
    const auto update = HandleEntry(side, text);
    ShowCounter(side, update);
    if (!update.complete)
        return;
    // The upper-cased text goes back only where it differs, with the caret where
    // it was; the box's change handler does not run again for it.
    if (update.entryText != text) {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(entry, EM_GETSEL, WPARAM(&start), LPARAM(&end));
        m_writingBack = true;
        SetWindowTextW(entry, win32::Wide(update.entryText).c_str());
        m_writingBack = false;
        SendMessageW(entry, EM_SETSEL, start, end);
    }
    for (std::size_t i = 0; i < side.fields.size(); ++i)
        SetWindowTextW(control(side.fields[i]), win32::Wide(update.fields[i]).c_str());
    SetWindowTextW(control(side.summary), win32::Wide(update.summary).c_str());
}

void frmVelbrin::txtImei_Change()
{
    EntryChanged(ImeiSide());
}

void frmVelbrin::txtMsn_Change()
{
    EntryChanged(MsnSide());
}

void frmVelbrin::cmdAbout_Click()
{
    if (!m_about)
        m_about = std::make_unique<frmAbout>(m_info);
    m_about->ShowModal(Handle());
}

void frmVelbrin::cmdExit_Click()
{
    EndApplication();
}

void frmVelbrin::Form_Unload()
{
    EndApplication();
}

void frmVelbrin::EndApplication()
{
    if (m_ended)
        return;
    m_ended = true;
    PostQuitMessage(0);
    Destroy();
}

} // namespace velbrin
