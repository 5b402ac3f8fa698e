#include "main_window/frm_velbrin_qt.h"

#include "about/frm_about_qt.h"
#include "decoding/decoding.h"
#include "ui/window_qt.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace velbrin {

using namespace main_window;

frmVelbrin::frmVelbrin(const AppInfo &info)
    : QWidget(nullptr, FixedDialogFrame)
    , m_info(info)
    , m_controls(BuildWindow(this, Description()))
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
    setWindowTitle(Utf8(MainWindowCaption(m_info)));
    control<QLineEdit>(txtMsn)->setMaxLength(int(MsnLength));
    control<QLineEdit>(txtImei)->setMaxLength(int(ImeiLength));
    ShowCounter(MsnSide(), HandleEntry(MsnSide(), {}));
    ShowCounter(ImeiSide(), HandleEntry(ImeiSide(), {}));
    control(txtMsn)->setFocus();
}

void frmVelbrin::ShowCounter(const Side &side, const EntryUpdate &update)
{
    auto *counter = control<QLabel>(side.counter);
    SetCaption(counter, ToQt(update.counterText));
    counter->setVisible(update.counterVisible);
}

void frmVelbrin::EntryChanged(const Side &side)
{
    auto *entry = control<QLineEdit>(side.entry);
    const auto update = HandleEntry(side, entry->text().toStdU16String());
    ShowCounter(side, update);
    if (!update.complete)
        return;
    // The upper-cased text goes back only where it differs, with the caret where
    // it was; the box's change handler does not run again for it.
    const QString upper = ToQt(update.entryText);
    if (upper != entry->text()) {
        const QSignalBlocker quiet(entry);
        const int caret = entry->cursorPosition();
        entry->setText(upper);
        entry->setCursorPosition(caret);
    }
    for (std::size_t i = 0; i < side.fields.size(); ++i)
        control<QLineEdit>(side.fields[i])->setText(ToQt(update.fields[i]));
    control<QPlainTextEdit>(side.summary)->setPlainText(WithQtLineBreaks(ToQt(update.summary)));
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
