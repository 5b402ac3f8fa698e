#include "ui/window_qt.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <QTextCursor>
#include <QValidator>

#include <algorithm>
#include <numeric>

namespace velbrin {
namespace {

using ui::Kind;

constexpr const char *AutoSizeProperty = "autoSize";
constexpr const char *ControlsProperty = "describedControls";

// The lines of a window, drawn on the window itself, under its controls: they are
// decoration, so a screen reader does not meet them. Of two that overlap, the
// earlier is drawn on top, so they are drawn last to first.
class LinePainter : public QObject
{
public:
    LinePainter(QWidget *window, std::vector<std::pair<QRect, QColor>> lines)
        : QObject(window)
        , m_lines(std::move(lines))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *window, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            QPainter painter(static_cast<QWidget *>(window));
            for (auto line = m_lines.rbegin(); line != m_lines.rend(); ++line)
                painter.fillRect(line->first, line->second);
        }
        return false;
    }

private:
    std::vector<std::pair<QRect, QColor>> m_lines;
};

// The summaries' scroll bar has a track shorter than the style's smallest thumb,
// and a scroll bar without a thumb shows neither that more lines are there nor
// where: its thumb may be as short as the track needs.
class ShortTrackStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override
    {
        return metric == PM_ScrollBarSliderMin ? 6
                                               : QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// What a screen reader meets of a window built from a description: the window as
// a window (or a dialog), its controls in the description's order, whatever order
// they are stacked in.
class DescribedWindow : public QAccessibleWidget
{
public:
    explicit DescribedWindow(QWidget *window)
        : QAccessibleWidget(window,
                            window->windowType() == Qt::Dialog ? QAccessible::Dialog
                                                               : QAccessible::Window)
    { }
    int childCount() const override { return int(Controls().size()); }
    QAccessibleInterface *child(int index) const override
    {
        return QAccessible::queryAccessibleInterface(Controls().value(index));
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return int(Controls().indexOf(child->object()));
    }

private:
    QObjectList Controls() const
    {
        return widget()->property(ControlsProperty).value<QObjectList>();
    }
};

QAccessibleInterface *DescribedWindows(const QString &, QObject *object)
{
    auto *window = qobject_cast<QWidget *>(object);
    return window && window->isWindow() && window->property(ControlsProperty).isValid()
            ? new DescribedWindow(window)
            : nullptr;
}

// Pasted or dropped text keeps only its first line, as in a single-line edit box
// on Windows. A line break can only have come with the text just inserted, which
// ends at the caret; what follows the caret was there before and stays. Nor does
// the box keep the first half of a character of two units that the box's limit
// cut off, which alone is no text at all.
class SingleLine : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        if (pos > 0 && pos <= input.size() && input.at(pos - 1).isHighSurrogate() &&
            (pos == input.size() || !input.at(pos).isLowSurrogate()))
            input.remove(--pos, 1);
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
        static QStyle *shortTrack = new ShortTrackStyle; // for the program's whole life
        box->verticalScrollBar()->setStyle(shortTrack);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setTabChangesFocus(true);
        return box;
    }
    auto *box = new TextBox(parent);
    if (c.maxLength > 0)
        box->setMaxLength(c.maxLength);
    if (c.has(ui::Digits))
        box->setInputMethodHints(Qt::ImhPreferNumbers);
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
        picture->setPixmap(ApplicationIcon().pixmap(QSize(32, 32), picture->devicePixelRatio()));
        return picture;
    }
    case Kind::Line:
        break;
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

QIcon applicationIcon;

} // namespace

void SetApplicationIcon(const QIcon &icon)
{
    applicationIcon = icon;
}

QIcon ApplicationIcon()
{
    return applicationIcon;
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
    std::vector<std::pair<QRect, QColor>> lines;
    for (const auto &c : description.controls) {
        QWidget *widget = MakeControl(window, c);
        controls.push_back(widget);
        if (!widget) {
            lines.emplace_back(
                    QRect(Dips(c.place.left), Dips(c.place.top), Dips(c.place.width), c.lineWidth),
                    ColourOf(c.colour));
            continue;
        }
        widget->setObjectName(QString::fromLatin1(c.name));
        widget->setGeometry(DipRect(c.place));
        // A screen reader takes the tooltip as the description; labels are heard
        // by what they show, buttons by their caption.
        widget->setToolTip(ToQt(c.tooltip));
        widget->setAccessibleName(ToQt(c.heard));
        if (auto *label = qobject_cast<QLabel *>(widget); label && c.kind == Kind::Label)
            SetCaption(label, ToQt(c.caption));
        if (auto *button = qobject_cast<QPushButton *>(widget))
            FitCaption(button);
        if (c.has(ui::Hidden))
            widget->hide();
    }
    new LinePainter(window, std::move(lines));
    // Of two controls that overlap, the earlier is on top: an auto-sized label grown
    // over a button does not take its clicks. A screen reader still reads them in
    // the description's order, which raising them would reverse.
    QObjectList described;
    for (auto widget = controls.rbegin(); widget != controls.rend(); ++widget) {
        if (*widget) {
            (*widget)->raise();
            described.prepend(*widget);
        }
    }
    [[maybe_unused]] static const bool readInOrder =
            (QAccessible::installFactory(DescribedWindows), true);
    window->setProperty(ControlsProperty, QVariant::fromValue(described));

    std::vector<std::size_t> order(controls.size());
    std::iota(order.begin(), order.end(), 0);
    std::erase_if(order, [&](std::size_t i) {
        return description.controls[i].tab == ui::NoTab || !controls[i] ||
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

void QtView::Connect(const std::function<void(int control, ui::Event event)> &handler)
{
    for (int i = 0; i < int(m_controls.size()); ++i) {
        if (auto *edit = qobject_cast<QLineEdit *>(m_controls[i]); edit && !edit->isReadOnly())
            QObject::connect(edit, &QLineEdit::textChanged, m_window,
                             [handler, i] { handler(i, ui::Event::Change); });
        else if (auto *button = qobject_cast<QPushButton *>(m_controls[i]))
            QObject::connect(button, &QPushButton::clicked, m_window,
                             [handler, i] { handler(i, ui::Event::Click); });
    }
}

std::u16string QtView::Text(int control) const
{
    QWidget *w = at(control);
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
    QWidget *w = at(control);
    const QString shown = WithQtLineBreaks(ToQt(text));
    if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        const QSignalBlocker quiet(edit);
        edit->setText(shown);
    } else if (auto *box = qobject_cast<QPlainTextEdit *>(w)) {
        box->setPlainText(shown);
    } else if (auto *label = qobject_cast<QLabel *>(w)) {
        SetCaption(label, shown);
    } else if (auto *button = qobject_cast<QPushButton *>(w)) {
        button->setText(shown);
    }
}

void QtView::SetVisible(int control, bool visible)
{
    if (QWidget *w = at(control))
        w->setVisible(visible);
}

void QtView::SetMaxLength(int control, int length)
{
    if (auto *edit = qobject_cast<QLineEdit *>(at(control)))
        edit->setMaxLength(length);
}

int QtView::Caret(int control) const
{
    if (auto *edit = qobject_cast<QLineEdit *>(at(control)))
        return edit->cursorPosition();
    if (auto *box = qobject_cast<QPlainTextEdit *>(at(control)))
        return box->textCursor().position();
    return 0;
}

void QtView::SetCaret(int control, int position)
{
    if (auto *edit = qobject_cast<QLineEdit *>(at(control))) {
        edit->setCursorPosition(position);
    } else if (auto *box = qobject_cast<QPlainTextEdit *>(at(control))) {
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(std::clamp(position, 0, int(box->document()->characterCount()) - 1));
        box->setTextCursor(cursor);
    }
}

void QtView::SetFocus(int control)
{
    QWidget *w = at(control);
    if (qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w) ||
        qobject_cast<QPushButton *>(w))
        w->setFocus();
}

void QtView::SetTitle(std::u16string_view title)
{
    m_window->setWindowTitle(ToQt(title));
}

// Alt and a letter is an access key, pressing the button it underlines if one is
// shown; none typed, whether a button took it or not. (AltGr, which types, is
// another modifier.)
void TextBox::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() & Qt::AltModifier && !(event->modifiers() & Qt::ControlModifier))
        return event->ignore();
    QLineEdit::keyPressEvent(event);
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
