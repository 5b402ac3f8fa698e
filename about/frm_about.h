// The About dialog: title, version, description and disclaimer from AppInfo, an OK
// button and a System Info button that starts the system's System Information
// program through the launcher in sysinfo_launcher.h.
#pragma once

#include "about/sysinfo_launcher.h"
#include "app/common/app_info.h"

#include <QDialog>

#include <array>
#include <memory>

class QLabel;
class QPushButton;

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

    // Tests put a fake system and a silent message box in place of the real ones.
    void setSysInfoPlatform(std::unique_ptr<sysinfo::Platform> platform);
    void setMessageBox(sysinfo::Launcher::MessageBox messageBox);

    QLabel *picIcon;
    QPushButton *cmdOK;
    QPushButton *cmdSysInfo;
    std::array<QWidget *, 2> Line1; // [0] white and wide, [1] gray over it
    QLabel *lblDescription;
    QLabel *lblTitle;
    QLabel *lblVersion;
    QLabel *lblDisclaimer;

private:
    void cmdOK_Click();
    void cmdSysInfo_Click();
    sysinfo::Launcher launcher();

    AppInfo m_info;
    std::unique_ptr<sysinfo::Platform> m_platform;
    sysinfo::Launcher::MessageBox m_messageBox;
};

} // namespace velbrin
