// The About dialog in Qt, built from the shared description: its load step is the
// shared one, and System Info runs the shared launcher.
#pragma once

#include "about/about_model.h"
#include "about/sysinfo_launcher.h"
#include "app/app_info.h"
#include "ui/window_qt.h"

#include <QDialog>

#include <memory>
#include <vector>

namespace velbrin {

class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(const AppInfo &info = AppInfo::current());
    ~frmAbout() override;

    // Loads the dialog afresh and shows it modally; returns once it is closed.
    void ShowModal();
    void Form_Load();

    // The launcher's two public operations.
    void StartSysInfo();
    bool GetKeyValue(const std::uint32_t &KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                     QString &KeyVal);

    const std::vector<QWidget *> &controls() const { return m_view.Controls(); }
    const QtView &view() const { return m_view; }

private:
    void cmdOK_Click();
    void cmdSysInfo_Click();

    AppInfo m_info;
    QtView m_view;
    sysinfo::SysInfo m_sysInfo;
};

} // namespace velbrin
