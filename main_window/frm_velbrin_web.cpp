#include "main_window/frm_velbrin_web.h"

#include "about/frm_about_web.h"

namespace velbrin {

using namespace main_window;

frmVelbrin::frmVelbrin(const AppInfo &info)
    : web::Window(Description(), web::Frame::Main)
    , m_info(info)
{ }

frmVelbrin::~frmVelbrin() = default;

void frmVelbrin::Form_Load()
{
    main_window::Form_Load(*this, m_info);
}

void frmVelbrin::OnEvent(int index, web::Event event)
{
    switch (index) {
    case txtImei:
        if (event == web::Event::Change)
            txtImei_Change();
        break;
    case txtMsn:
        if (event == web::Event::Change)
            txtMsn_Change();
        break;
    case cmdAbout:
        if (event == web::Event::Click)
            cmdAbout_Click();
        break;
    case cmdExit:
        if (event == web::Event::Click)
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

void frmVelbrin::txtImei_Change()
{
    EntryChanged(*this, ImeiSide());
}

void frmVelbrin::txtMsn_Change()
{
    EntryChanged(*this, MsnSide());
}

void frmVelbrin::cmdAbout_Click()
{
    if (!m_about)
        m_about = std::make_unique<frmAbout>(m_info);
    m_about->ShowModal();
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
    web::EndProgram(0);
}

} // namespace velbrin
