#include "about/frm_about.h"

#include "about/about_texts.h"
#include "app/common/app_icon.h"
#include "app/common/layout.h"

#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>

namespace velbrin {

// A straight horizontal line of one colour and width, drawn as a flat widget.
class LineShape : public QWidget
{
public:
    LineShape(QWidget *parent, QColor colour)
        : QWidget(parent)
        , m_colour(colour)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    QColor colour() const { return m_colour; }

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), m_colour); }

private:
    QColor m_colour;
};

namespace {

// Client area and its place on the screen, in twips.
constexpr int ClientWidth = 6345;
constexpr int ClientHeight = 3555;
constexpr int ScreenLeft = 2340;
constexpr int ScreenTop = 1935;

QLabel *MakeLabel(QWidget *parent, const char *name, const QRect &geometry, bool black)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    if (black) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
    }
    return label;
}

void SetAutoSized(QLabel *label, const std::string &text)
{
    label->setText(WithQtLineBreaks(QString::fromStdString(text)));
    label->resize(label->sizeHint());
}

QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

frmAbout::frmAbout(const AppInfo &info)
    : QDialog(nullptr, FixedDialogFrame)
    , m_info(info)
{
    SetUpFixedWindow(this, "frmAbout", ApplicationIcon(), ClientWidth, ClientHeight);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setGeometry(TwipsRect(240, 240, 540, 540));
    picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picIcon->setPixmap(ApplicationIcon().pixmap(32, 32));
    picIcon->setAccessibleName(tr("Application icon"));

    cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(TwipsRect(5040, 2625, 1260, 345));
    cmdOK->setDefault(true);

    cmdSysInfo = new QPushButton(tr("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(TwipsRect(5040, 3120, 1245, 345));

    // An etched groove: the gray line over a white one twice as wide, so a white
    // line shows just below the gray.
    const int lineTop = Twips(1676);
    const int lineLeft = Twips(120);
    const int lineWidth = Twips(6237) - lineLeft;
    Line1[1] = new LineShape(this, QColor(128, 128, 128));
    Line1[1]->setGeometry(lineLeft, lineTop, lineWidth, 1);
    lblDescription = MakeLabel(this, "lblDescription", TwipsRect(1056, 1128, 36, 192), true);
    lblTitle = MakeLabel(this, "lblTitle", TwipsRect(1050, 240, 3885, 480), true);
    lblTitle->setText(tr("Application Title"));
    Line1[0] = new LineShape(this, QColor(255, 255, 255));
    Line1[0]->setGeometry(lineLeft, lineTop, lineWidth, 2);
    for (int index = 0; index < 2; ++index) {
        Line1[index]->setObjectName(QStringLiteral("Line1"));
        Line1[index]->setProperty("index", index);
    }
    Line1[1]->raise();
    lblVersion = MakeLabel(this, "lblVersion", TwipsRect(1050, 780, 3885, 225), false);
    lblVersion->setText(tr("Version"));
    lblDisclaimer = MakeLabel(this, "lblDisclaimer", TwipsRect(240, 1800, 780, 192), true);
    lblDisclaimer->setText(tr("Warning: ..."));

    setTabOrder(cmdOK, cmdSysInfo);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

frmAbout::~frmAbout() = default;

void frmAbout::Form_Load()
{
    setWindowTitle(Utf8(AboutCaption(m_info)));
    lblVersion->setText(Utf8(AboutVersion(m_info)));
    lblTitle->setText(Utf8(m_info.Title));
    SetAutoSized(lblDescription, AboutDescription(m_info));
    SetAutoSized(lblDisclaimer, AboutDisclaimer());
    // The client area's corner at its fixed place on the screen; not centred.
    setGeometry(QRect(QPoint(Twips(ScreenLeft), Twips(ScreenTop)), size()));
    cmdOK->setFocus();
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

sysinfo::Launcher frmAbout::launcher()
{
    if (!m_platform)
        m_platform = sysinfo::MakeSystemPlatform();
    if (!m_messageBox) {
        m_messageBox = [this](std::string_view message) {
            QMessageBox box(QMessageBox::NoIcon, Utf8(m_info.Title),
                            QString::fromLocal8Bit(message.data(), qsizetype(message.size())),
                            QMessageBox::Ok, this);
            box.exec();
        };
    }
    return sysinfo::Launcher(*m_platform, m_messageBox);
}

void frmAbout::StartSysInfo()
{
    launcher().StartSysInfo();
}

bool frmAbout::GetKeyValue(const std::uint32_t &KeyRoot, const QString &KeyName,
                           const QString &SubKeyRef, QString &KeyVal)
{
    std::string value = KeyVal.toLocal8Bit().toStdString();
    const std::string before = value;
    const bool read = launcher().GetKeyValue(KeyRoot, KeyName.toLocal8Bit().toStdString(),
                                             SubKeyRef.toLocal8Bit().toStdString(), value);
    if (value != before)
        KeyVal = QString::fromLocal8Bit(value);
    return read;
}

void frmAbout::setSysInfoPlatform(std::unique_ptr<sysinfo::Platform> platform)
{
    m_platform = std::move(platform);
}

void frmAbout::setMessageBox(sysinfo::Launcher::MessageBox messageBox)
{
    m_messageBox = std::move(messageBox);
}

} // namespace velbrin
