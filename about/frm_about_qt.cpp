#include "about/frm_about_qt.h"

#include "about/about_model.h"

#include <QMessageBox>

namespace velbrin {

frmAbout::frmAbout(const AppInfo &info)
    : QDialog(nullptr, Qt::Dialog | FixedFrame)
    , Form(m_view, info, // bound now, used once the view is built
           [this](std::string_view message) {
               QMessageBox box(QMessageBox::NoIcon, ToQt(m_info.Title),
                               QString::fromLocal8Bit(message.data(), qsizetype(message.size())),
                               QMessageBox::Ok, this);
               box.exec();
           })
    , m_view(this, about::Description())
{
    m_view.Connect([this](int control, ui::Event event) { Dispatch(control, event); });
}

frmAbout::~frmAbout() = default;

void frmAbout::ShowModal()
{
    Form_Load();
    exec();
}

bool frmAbout::GetKeyValue(const std::uint32_t &KeyRoot, const QString &KeyName,
                           const QString &SubKeyRef, QString &KeyVal)
{
    std::string value = KeyVal.toLocal8Bit().toStdString();
    const std::string before = value;
    const bool read = Form::GetKeyValue(KeyRoot, KeyName.toLocal8Bit().toStdString(),
                                        SubKeyRef.toLocal8Bit().toStdString(), value);
    if (value != before)
        KeyVal = QString::fromLocal8Bit(value);
    return read;
}

} // namespace velbrin
