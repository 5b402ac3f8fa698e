#include "main_window/frm_velbrin_qt.h"

#include "about/frm_about_qt.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>

namespace velbrin {

using namespace main_window;

frmVelbrin::frmVelbrin(const AppInfo &info)
    : QWidget(nullptr, Qt::Window | FixedFrame)
    , m_info(info)
    , m_view(this, Description())
{
    connect(control<QLineEdit>(txtImei), &QLineEdit::textChanged, this,
            &frmVelbrin::txtImei_Change);
    connect(control<QLineEdit>(txtMsn), &QLineEdit::textChanged, this, &frmVelbrin::txtMsn_Change);
    connect(control<QPushButton>(cmdAbout), &QPushButton::clicked, this,
            &frmVelbrin::cmdAbout_Click);
    connect(control<QPushButton>(cmdExit), &QPushButton::clicked, this, &frmVelbrin::cmdExit_Click);
}

frmVelbrin::~frmVelbrin() = default;

void frmVelbrin::Form_Load()
{
    main_window::Form_Load(m_view, m_info);
}

void frmVelbrin::txtImei_Change()
{
    EntryChanged(m_view, ImeiSide());
}

void frmVelbrin::txtMsn_Change()
{
    EntryChanged(m_view, MsnSide());
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

void frmVelbrin::closeEvent(QCloseEvent *event)
{
    if (!m_ended)
        Form_Unload();
    event->accept();
}

void frmVelbrin::EndApplication()
{
    if (m_ended)
        return;
    m_ended = true;
    QCoreApplication::exit(0);
    close();
}

} // namespace velbrin
