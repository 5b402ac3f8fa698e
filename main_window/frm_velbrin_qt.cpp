#include "main_window/frm_velbrin_qt.h"

#include "about/frm_about_qt.h"

#include <QCloseEvent>
#include <QCoreApplication>

namespace velbrin {

frmVelbrin::frmVelbrin(const AppInfo &info)
    : QWidget(nullptr, Qt::Window | FixedFrame)
    , Form(m_view, info) // bound now, used once the view is built
    , m_view(this, main_window::Description())
{
    m_view.Connect([this](int control, ui::Event event) { Dispatch(control, event); });
}

frmVelbrin::~frmVelbrin() = default;

void frmVelbrin::ShowAbout()
{
    if (!m_about)
        m_about = std::make_unique<frmAbout>(m_info);
    m_about->ShowModal();
}

// The close box, the system menu and Alt+F4 unload the form; so does the
// program's own close() once it has ended.
void frmVelbrin::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmVelbrin::EndProgram()
{
    QCoreApplication::exit(0);
    close();
}

} // namespace velbrin
