#include "ui/window_qt.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <QValidator>

#include <algorithm>
#include <numeric>

namespace velbrin {
namespace {

using ui::Kind;

constexpr const char *AutoSizeProperty = "autoSize";

// A straight horizontal line of one colour and width.
class LineShape : public QWidget
{
public:
    LineShape(QWidget *parent, QColor colour)
        : QWidget(parent)
        , m_colour(colour)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), m_colour); }

private:
    QColor m_colour;
};

// Pasted or dropped text keeps only its first line, as in a single-line edit box
// on Windows. A line break can only have come with the text just inserted, which
// ends at the caret; what follows the caret was there before and stays.
class SingleLine : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        if (input.contains(QLatin1Char('\r')) || input.contains(QLatin1Char('\n'))) {
            const std::u16string before = input.left(pos).toStdU16String();
            const QString kept = ToQt(ui::FirstLine(before));
            input = kept + input.mid(pos);
            pos = int(kept.size());
        }
        return Acceptable;
    }
};

QColor ColourOf(ui::Colour colour)
{
    if (colour == ui::Colour::MenuText)
        return QApplication::palette("QMenu").color(QPalette::Active, QPalette::WindowText);
    return QColor::fromRgb(ui::Rgb(colour));
}

void SetTextColour(QWidget *widget, QPalette::ColorRole role, ui::Colour colour)
{
    if (colour == ui::Colour::Default)
        return;
    QPalette palette = widget->palette();
    palette.setColor(role, ColourOf(colour));
    widget->setPalette(palette);
}

QWidget *MakeLabel(QWidget *parent, const ui::Control &c)
{
    auto *label = new QLabel(parent);
    // Labels show their text from the top left, as the system's own labels do,
    // and as it stands: "<me@example.org>" is no markup.
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    if (c.has(ui::Bordered)) {
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setLineWidth(1);
        label->setMargin(1);
    }
    SetTextColour(label, QPalette::WindowText, c.colour);
    label->setProperty(AutoSizeProperty, c.has(ui::AutoSize));
    return label;
}

QWidget *MakeTextBox(QWidget *parent, const ui::Control &c)
{
    if (c.has(ui::MultiLine)) {
        auto *box = new QPlainTextEdit(parent);
        box->setReadOnly(c.has(ui::ReadOnly));
        box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setTabChangesFocus(true);
        return box;
    }
    auto *box = new TextBox(parent);
    if (c.maxLength > 0)
        box->setMaxLength(c.maxLength);
    if (c.has(ui::ReadOnly)) {
        // Narrow boxes: drawn without a frame, and with the editor's own two-pixel
        // inner margin narrowed to one, six digits fit the default font.
        box->setReadOnly(true);
        box->setFrame(false);
        box->setTextMargins(-1, 0, -1, 0);
        box->setAcceptDrops(false);
    } else {
        box->setValidator(new SingleLine(box));
    }
    SetTextColour(box, QPalette::Text, c.colour);
    return box;
}

QWidget *MakeButton(QWidget *parent, const ui::Control &c)
{
    auto *button = new QPushButton(ToQt(c.caption), parent);
    // Enter presses a button that has the focus, as on the system's own dialogs.
    button->setAutoDefault(true);
    button->setDefault(c.has(ui::DefaultButton));
    if (c.has(ui::CancelButton)) {
        auto *cancel = new QShortcut(QKeySequence(Qt::Key_Escape), parent);
        QObject::connect(cancel, &QShortcut::activated, button, &QPushButton::click);
    }
    return button;
}

QWidget *MakeControl(QWidget *parent, const ui::Control &c)
{
    switch (c.kind) {
    case Kind::Label:
        return MakeLabel(parent, c);
    case Kind::TextBox:
        return MakeTextBox(parent, c);
    case Kind::Button:
        return MakeButton(parent, c);
    case Kind::Picture: {
        auto *picture = new QLabel(parent);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return picture;
    }
    case Kind::Line:
        return new LineShape(parent, ColourOf(c.colour));
    }
    return nullptr;
}

// A label that sizes itself takes the size of its caption.
void SetCaption(QLabel *label, const QString &caption)
{
    label->setText(caption);
    if (label->property(AutoSizeProperty).toBool() && !caption.isEmpty())
        label->resize(label->sizeHint());
}

// A button too narrow for its caption in the platform's font grows to the left,
// keeping its right edge, so that no letter runs over its edge.
void FitCaption(QPushButton *button)
{
    const int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    const int needed = button->fontMetrics().horizontalAdvance(
                               QString(button->text()).remove(QLatin1Char('&'))) +
            2 * (frame + 2);
    if (needed > button->width()) {
        QRect place = button->geometry();
        place.setLeft(place.right() + 1 - needed);
        button->setGeometry(place);
    }
}

} // namespace

QIcon ApplicationIcon()
{
    // Decoded once; QIcon is shared, so every window gets the same image.
    static const QIcon icon(QStringLiteral(":/velbrin/velbrin.png"));
    return icon;
}

std::vector<QWidget *> BuildWindow(QWidget *window, const ui::WindowDescription &description)
{
    window->setObjectName(QString::fromLatin1(description.name));
    window->setWindowIcon(ApplicationIcon());
    window->setFixedSize(Dips(description.clientWidth), Dips(description.clientHeight));
    if (description.placed) // the client area's corner, not the frame's
        window->setGeometry(QRect(QPoint(Dips(description.screenLeft), Dips(description.screenTop)),
                                  window->size()));

    std::vector<QWidget *> controls;
    for (const auto &c : description.controls) {
        QWidget *widget = MakeControl(window, c);
        widget->setObjectName(QString::fromLatin1(c.name));
        if (c.kind == Kind::Line)
            widget->setGeometry(Dips(c.place.left), Dips(c.place.top), Dips(c.place.width),
                                c.lineWidth);
        else
            widget->setGeometry(DipRect(c.place));
        widget->setToolTip(ToQt(c.tooltip));
        const QString caption = ToQt(c.caption);
        // A screen reader names a label by what it shows at that moment (Qt's own
        // rule when no name is set), and reads a caption's tooltip as its
        // description; boxes and buttons are named once.
        if (c.kind == Kind::Label)
            widget->setAccessibleDescription(ToQt(c.tooltip));
        else
            widget->setAccessibleName(!c.tooltip.empty()           ? ToQt(c.tooltip)
                                              : !caption.isEmpty() ? QString(caption).remove('&')
                                                                   : widget->objectName());
        if (auto *label = qobject_cast<QLabel *>(widget); label && c.kind == Kind::Label)
            SetCaption(label, caption);
        if (auto *button = qobject_cast<QPushButton *>(widget))
            FitCaption(button);
        if (c.has(ui::Hidden))
            widget->hide();
        controls.push_back(widget);
    }
    // Of two controls that overlap, the earlier is drawn on top.
    for (auto widget = controls.rbegin(); widget != controls.rend(); ++widget)
        (*widget)->raise();

    std::vector<std::size_t> order(controls.size());
    std::iota(order.begin(), order.end(), 0);
    std::erase_if(order, [&](std::size_t i) {
        return description.controls[i].tab == ui::NoTab ||
                controls[i]->focusPolicy() == Qt::NoFocus;
    });
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return description.controls[a].tab < description.controls[b].tab;
    });
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(controls[order[i - 1]], controls[order[i]]);
    return controls;
}

QtView::QtView(QWidget *window, const ui::WindowDescription &description)
    : m_window(window)
    , m_controls(BuildWindow(window, description))
{ }

std::u16string QtView::Text(int control) const
{
    QWidget *w = m_controls.at(std::size_t(control));
    QString text;
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        text = edit->text();
    else if (auto *box = qobject_cast<QPlainTextEdit *>(w))
        text = box->toPlainText();
    else if (auto *label = qobject_cast<QLabel *>(w))
        text = label->text();
    else if (auto *button = qobject_cast<QPushButton *>(w))
        text = button->text();
    return WithCrLf(text).toStdU16String();
}

void QtView::SetText(int control, std::u16string_view text)
{
    QWidget *w = m_controls.at(std::size_t(control));
    const QString shown = WithQtLineBreaks(ToQt(text));
    if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        const QSignalBlocker quiet(edit);
        edit->setText(shown);
    } else if (auto *box = qobject_cast<QPlainTextEdit *>(w)) {
        box->setPlainText(shown);
    } else if (auto *label = qobject_cast<QLabel *>(w)) {
        SetCaption(label, shown);
    }
}

void QtView::SetVisible(int control, bool visible)
{
    m_controls.at(std::size_t(control))->setVisible(visible);
}

void QtView::SetMaxLength(int control, int length)
{
    qobject_cast<QLineEdit *>(m_controls.at(std::size_t(control)))->setMaxLength(length);
}

int QtView::Caret(int control) const
{
    return qobject_cast<QLineEdit *>(m_controls.at(std::size_t(control)))->cursorPosition();
}

void QtView::SetCaret(int control, int position)
{
    qobject_cast<QLineEdit *>(m_controls.at(std::size_t(control)))->setCursorPosition(position);
}

void QtView::SetFocus(int control)
{
    m_controls.at(std::size_t(control))->setFocus();
}

void QtView::SetTitle(std::u16string_view title)
{
    m_window->setWindowTitle(ToQt(title));
}

void TextBox::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    if (!isReadOnly() || !hasFocus())
        return;
    // QLineEdit draws no caret in a read-only box; draw a steady one.
    QPainter painter(this);
    const QRect caret = cursorRect();
    painter.fillRect(QRect(caret.center().x(), caret.top(), 1, caret.height()),
                     palette().color(QPalette::Text));
}

} // namespace velbrin
