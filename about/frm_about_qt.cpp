#include "about/frm_about_qt.h"

#include "about/about_texts.h"

#include <QMessageBox>
#include <QPushButton>

namespace velbrin {

using namespace about;

frmAbout::frmAbout(const AppInfo &info)
    : QDialog(nullptr, Qt::Dialog | FixedFrame)
    , m_info(info)
    , m_view(this, Description())
    , m_sysInfo([this](std::string_view message) {
        QMessageBox box(QMessageBox::NoIcon, ToQt(m_info.Title),
                        QString::fromLocal8Bit(message.data(), qsizetype(message.size())),
                        QMessageBox::Ok, this);
        box.exec();
    })
{
    connect(static_cast<QPushButton *>(controls()[cmdOK]), &QPushButton::clicked, this,
            &frmAbout::cmdOK_Click);
    connect(static_cast<QPushButton *>(controls()[cmdSysInfo]), &QPushButton::clicked, this,
            &frmAbout::cmdSysInfo_Click);
}

frmAbout::~frmAbout() = default;

void frmAbout::Form_Load()
{
    about::Form_Load(m_view, m_info);
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
    m_sysInfo.StartSysInfo();
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

} // namespace velbrin
