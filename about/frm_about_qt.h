// The About dialog in Qt, built from the shared description: its handlers are
// the shared ones, and System Info runs the shared launcher.
#pragma once

#include "about/about_form.h"
#include "ui/window_qt.h"

#include <QDialog>

#include <vector>

namespace velbrin {

class frmAbout : public QDialog, public about::Form
{
    Q_OBJECT

public:
    explicit frmAbout(const AppInfo &info = AppInfo::current());
    ~frmAbout() override;

    // Loads the dialog afresh and shows it modally; returns once it is closed.
    void ShowModal();

    // The launcher's lookup in Qt's text.
    bool GetKeyValue(const std::uint32_t &KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                     QString &KeyVal);

    const std::vector<QWidget *> &controls() const { return m_view.Controls(); }
    const QtView &view() const { return m_view; }

private:
    void cmdOK_Click() override { accept(); }

    QtView m_view;
};

} // namespace velbrin
