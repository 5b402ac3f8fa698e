#include "main_window/frm_velbrin.h"

#include "about/frm_about.h"
#include "app/common/app_icon.h"
#include "app/common/layout.h"
#include "decoding/decoding.h"
#include "main_window/entry.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

namespace velbrin {
namespace {

constexpr int ClientWidth = 6180;
constexpr int ClientHeight = 3780;

QString ToQt(const std::u16string &text)
{
    return QString::fromStdU16String(text);
}

QLabel *MakeLabel(QWidget *parent, const char *name, const QRect &geometry, const QString &caption,
                  bool bordered, const QString &tooltip = {})
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setToolTip(tooltip);
    if (bordered) {
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setLineWidth(1);
        label->setMargin(1);
    }
    if (!caption.isEmpty())
        label->resize(label->sizeHint());
    return label;
}

QLabel *MakeCounter(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *counter = MakeLabel(parent, name, geometry, {}, false);
    QPalette palette = counter->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    counter->setPalette(palette);
    return counter;
}

QLineEdit *MakeEntry(QWidget *parent, const char *name, const QRect &geometry,
                     const QString &tooltip)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    box->setToolTip(tooltip);
    box->setAccessibleName(tooltip);
    return box;
}

// A field box shows one field of a decoded identifier. Read-only, not disabled:
// the text keeps its colours, can be selected and copied, and the tooltip shows.
// The boxes are narrow: drawn without a frame, and with the editor's own
// two-pixel inner margin narrowed to one, six digits fit the default font.
QLineEdit *MakeField(QWidget *parent, const char *name, const QRect &geometry, int maxLength,
                     const QString &tooltip)
{
    auto *box = MakeEntry(parent, name, geometry, tooltip);
    box->setReadOnly(true);
    box->setMaxLength(maxLength);
    box->setFrame(false);
    box->setTextMargins(-1, 0, -1, 0);
    box->setAcceptDrops(false);
    return box;
}

QPlainTextEdit *MakeSummary(QWidget *parent, const char *name, const QRect &geometry,
                            const QString &accessibleName)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setTabChangesFocus(true);
    box->setAccessibleName(accessibleName);
    return box;
}

QPushButton *MakeButton(QWidget *parent, const char *name, const QRect &geometry,
                        const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    // Enter presses a button that has the focus, as on the system's own dialogs.
    button->setAutoDefault(true);
    button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    return button;
}

// The counter beside an entry box: the missing count while the identifier is
// incomplete, emptied and hidden once it is complete.
void ShowCounter(QLabel *counter, qsizetype length, std::size_t fullLength)
{
    const auto typed = static_cast<std::size_t>(length);
    if (typed >= fullLength) {
        counter->clear();
        counter->hide();
    } else {
        counter->setText(ToQt(MissingCharactersText(fullLength - typed)));
        counter->show();
    }
    counter->resize(counter->sizeHint());
}

// Writes the upper-cased identifier back into its box when it differs, keeping
// the caret where it was. An equal text is not written, so the box's change
// handler does not run again for it.
QString UpperCaseEntry(QLineEdit *entry)
{
    const QString text = entry->text();
    const QString upper = UpperCasedInPlace(text);
    if (upper != text) {
        const int caret = entry->cursorPosition();
        entry->setText(upper);
        entry->setCursorPosition(caret);
    }
    return upper;
}

void ShowSummary(QPlainTextEdit *box, const std::u16string &summary)
{
    box->setPlainText(WithQtLineBreaks(ToQt(summary)));
}

} // namespace

frmVelbrin::frmVelbrin(const AppInfo &info)
    : QWidget(nullptr, FixedDialogFrame)
    , m_info(info)
{
    SetUpFixedWindow(this, "frmVelbrin", ApplicationIcon(), ClientWidth, ClientHeight);

    lblMsn = MakeLabel(this, "lblMsn", TwipsRect(120, 240, 408, 240), tr("MSN"), true,
                       tr("Mechanical Serial Number"));
    txtMsn = MakeEntry(this, "txtMsn", TwipsRect(840, 240, 1332, 288),
                       tr("MSN: Mechanical Serial Number"));
    {
        QPalette palette = txtMsn->palette();
        palette.setColor(
                QPalette::Text,
                QApplication::palette("QMenu").color(QPalette::Active, QPalette::WindowText));
        txtMsn->setPalette(palette);
    }
    lblMsnLeft = MakeCounter(this, "lblMsnLeft", TwipsRect(2280, 240, 36, 192));
    txtMobileCode = MakeField(this, "txtMobileCode", TwipsRect(840, 720, 492, 288), 3,
                              tr("Mobile Code: identifies the model of cellular phone"));
    txtOriginCode = MakeField(this, "txtOriginCode", TwipsRect(1560, 720, 252, 288), 1,
                              tr("Origin Code: country of manifacturing or final assembly"));
    txtYearCode = MakeField(this, "txtYearCode", TwipsRect(2040, 720, 252, 288), 1,
                            tr("Year Code: the year of final assembly"));
    txtMonthCode = MakeField(this, "txtMonthCode", TwipsRect(2520, 720, 252, 288), 1,
                             tr("Month Code: the month of final assembly"));
    txtSnr = MakeField(this, "txtSnr", TwipsRect(3000, 720, 612, 288), 4,
                       tr("Serial Number: four digits"));
    txtMsnGlobal =
            MakeSummary(this, "txtMsnGlobal", TwipsRect(120, 1080, 4932, 732), tr("MSN summary"));
    lblImei = MakeLabel(this, "lblImei", TwipsRect(120, 2040, 360, 240), tr("IMEI"), true);
    txtImei = MakeEntry(this, "txtImei", TwipsRect(840, 2040, 1932, 288),
                        tr("IMEI: International Mobile Equipment Identity"));
    lblImeiLeft = MakeCounter(this, "lblImeiLeft", TwipsRect(2880, 2040, 36, 192));
    txtTypeApprovalCode =
            MakeField(this, "txtTypeApprovalCode", TwipsRect(840, 2520, 732, 288), 6,
                      tr("Type Approval Code: identifies the model of cellular phone"));
    txtFinalAssemblyCode =
            MakeField(this, "txtFinalAssemblyCode", TwipsRect(1800, 2520, 372, 288), 2,
                      tr("Final Assembly Code: country of manifacturing or final assembly"));
    txtImeiSnr = MakeField(this, "txtImeiSnr", TwipsRect(2400, 2520, 732, 288), 6,
                           tr("Serial Number: six digits"));
    txtSp = MakeField(this, "txtSp", TwipsRect(3360, 2520, 252, 288), 1,
                      tr("Supplementary digit (reserve)"));
    txtImeiGlobal =
            MakeSummary(this, "txtImeiGlobal", TwipsRect(120, 2880, 4932, 732), tr("IMEI summary"));
    cmdHelp = MakeButton(this, "cmdHelp", TwipsRect(5400, 2160, 732, 372), tr("&Help"));
    cmdHelp->hide();
    cmdAbout = MakeButton(this, "cmdAbout", TwipsRect(5400, 2760, 732, 372), tr("A&bout"));
    cmdExit = MakeButton(this, "cmdExit", TwipsRect(5400, 3360, 732, 372), tr("&Close"));

    // Esc ends the program like the Close button. Close deliberately has no
    // default role: Enter ends an identifier typed by a person or a scanner, and
    // must not end the program and lose the result on screen.
    auto *cancel = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(cancel, &QShortcut::activated, cmdExit, &QPushButton::click);

    QWidget *const order[] = {txtMsn,
                              txtImei,
                              cmdAbout,
                              cmdExit,
                              txtMobileCode,
                              txtOriginCode,
                              txtYearCode,
                              txtMonthCode,
                              txtSnr,
                              txtTypeApprovalCode,
                              txtFinalAssemblyCode,
                              txtImeiSnr,
                              txtSp,
                              txtMsnGlobal,
                              txtImeiGlobal,
                              cmdHelp};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(txtImei, &QLineEdit::textChanged, this, &frmVelbrin::txtImei_Change);
    connect(txtMsn, &QLineEdit::textChanged, this, &frmVelbrin::txtMsn_Change);
    connect(cmdAbout, &QPushButton::clicked, this, &frmVelbrin::cmdAbout_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmVelbrin::cmdExit_Click);
}

frmVelbrin::~frmVelbrin() = default;

void frmVelbrin::Form_Load()
{
    setWindowTitle(QString::fromStdString(MainWindowCaption(m_info)));
    txtMsn->setMaxLength(MsnLength);
    txtImei->setMaxLength(ImeiLength);
    ShowCounter(lblMsnLeft, 0, MsnLength);
    ShowCounter(lblImeiLeft, 0, ImeiLength);
    txtMsn->setFocus();
}

void frmVelbrin::txtImei_Change()
{
    ShowCounter(lblImeiLeft, txtImei->text().size(), ImeiLength);
    if (static_cast<std::size_t>(txtImei->text().size()) < ImeiLength)
        return;
    const auto fields = SplitImei(UpperCaseEntry(txtImei).toStdU16String());
    txtTypeApprovalCode->setText(ToQt(fields.TypeApprovalCode));
    txtFinalAssemblyCode->setText(ToQt(fields.FinalAssemblyCode));
    txtImeiSnr->setText(ToQt(fields.ImeiSnr));
    txtSp->setText(ToQt(fields.Sp));
    const auto model = DecodeTypeApprovalCode(fields.TypeApprovalCode);
    const auto country = DecodeFinalAssemblyCode(fields.FinalAssemblyCode);
    ShowSummary(txtImeiGlobal, ComposeImeiSummary(fields, model, country));
}

void frmVelbrin::txtMsn_Change()
{
    ShowCounter(lblMsnLeft, txtMsn->text().size(), MsnLength);
    if (static_cast<std::size_t>(txtMsn->text().size()) < MsnLength)
        return;
    const auto fields = SplitMsn(UpperCaseEntry(txtMsn).toStdU16String());
    txtMobileCode->setText(ToQt(fields.MobileCode));
    txtOriginCode->setText(ToQt(fields.OriginCode));
    txtYearCode->setText(ToQt(fields.YearCode));
    txtMonthCode->setText(ToQt(fields.MonthCode));
    txtSnr->setText(ToQt(fields.Snr));
    const auto country = DecodeOriginCode(fields.OriginCode);
    const auto year = DecodeYearCode(fields.YearCode);
    const auto month = DecodeMonthCode(fields.MonthCode);
    ShowSummary(txtMsnGlobal, ComposeMsnSummary(fields, country, month, year));
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
