// The main window: an entry box for each identifier, a red counter of the
// characters still missing, read-only boxes for the fields and a summary box,
// filled by the decoders the moment an identifier is complete.
#pragma once

#include "app/common/app_info.h"

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace velbrin {

class frmAbout;

class frmVelbrin : public QWidget
{
    Q_OBJECT

public:
    explicit frmVelbrin(const AppInfo &info = AppInfo::current());
    ~frmVelbrin() override;

    void Form_Load();

    // True once the program has been told to end (Close, Esc, the close box...).
    bool hasEnded() const { return m_ended; }
    // The About dialog, once the About button has created it.
    frmAbout *aboutDialog() const { return m_about.get(); }

    QLabel *lblMsn;
    QLineEdit *txtMsn;
    QLabel *lblMsnLeft;
    QLineEdit *txtMobileCode;
    QLineEdit *txtOriginCode;
    QLineEdit *txtYearCode;
    QLineEdit *txtMonthCode;
    QLineEdit *txtSnr;
    QPlainTextEdit *txtMsnGlobal;
    QLabel *lblImei;
    QLineEdit *txtImei;
    QLabel *lblImeiLeft;
    QLineEdit *txtTypeApprovalCode;
    QLineEdit *txtFinalAssemblyCode;
    QLineEdit *txtImeiSnr;
    QLineEdit *txtSp;
    QPlainTextEdit *txtImeiGlobal;
    QPushButton *cmdHelp;
    QPushButton *cmdAbout;
    QPushButton *cmdExit;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void txtImei_Change();
    void txtMsn_Change();
    void cmdAbout_Click();
    void cmdExit_Click();
    void Form_Unload();
    void EndApplication();

    AppInfo m_info;
    std::unique_ptr<frmAbout> m_about;
    bool m_ended = false;
};

} // namespace velbrin
