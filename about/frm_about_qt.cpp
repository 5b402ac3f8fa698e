#include "about/frm_about_qt.h"

#include "about/about_texts.h"
#include "ui/window_qt.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace velbrin {

using namespace about;

frmAbout::frmAbout(const AppInfo &info)
    : QDialog(nullptr, FixedDialogFrame)
    , m_info(info)
    , m_controls(BuildWindow(this, Description()))
    , m_sysInfo([this](std::string_view message) {
        QMessageBox box(QMessageBox::NoIcon, Utf8(m_info.Title),
                        QString::fromLocal8Bit(message.data(), qsizetype(message.size())),
                        QMessageBox::Ok, this);
        box.exec();
    })
{
    control<QLabel>(picIcon)->setPixmap(ApplicationIcon().pixmap(32, 32));
    connect(control<QPushButton>(cmdOK), &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(control<QPushButton>(cmdSysInfo), &QPushButton::clicked, this,
            &frmAbout::cmdSysInfo_Click);
}

frmAbout::~frmAbout() = default;

void frmAbout::Form_Load()
{
    setWindowTitle(Utf8(AboutCaption(m_info)));
    SetCaption(control<QLabel>(lblVersion), Utf8(AboutVersion(m_info)));
    SetCaption(control<QLabel>(lblTitle), Utf8(m_info.Title));
    SetCaption(control<QLabel>(lblDescription), Utf8(AboutDescription(m_info)));
    SetCaption(control<QLabel>(lblDisclaimer), Utf8(AboutDisclaimer()));
    const auto &window = Description();
    setGeometry(QRect(QPoint(Twips(window.screenLeft), Twips(window.screenTop)), size()));
    control(cmdOK)->setFocus();
}

void frmAbout::ShowModal()
{
    Form_Load();
    exec();
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    m_sysInfo.Start();
}

bool frmAbout::GetKeyValue(const std::uint32_t &KeyRoot, const QString &KeyName,
                           const QString &SubKeyRef, QString &KeyVal)
{
    std::string value = KeyVal.toLocal8Bit().toStdString();
    const std::string before = value;
    const bool read = m_sysInfo.GetKeyValue(KeyRoot, KeyName.toLocal8Bit().toStdString(),
                                            SubKeyRef.toLocal8Bit().toStdString(), value);
    if (value != before)
        KeyVal = QString::fromLocal8Bit(value);
    return read;
}

void frmAbout::setSysInfoPlatform(std::unique_ptr<sysinfo::Platform> platform)
{
    m_sysInfo.SetPlatform(std::move(platform));
}

} // namespace velbrin
