#include "ui/window_qt.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTextCursor>
#include <QValidator>

#include <algorithm>

namespace velbrin {
namespace {

using ui::Kind;

constexpr const char *AutoSizeProperty = "autoSize";
constexpr const char *ControlsProperty = "describedControls";

// A fixed dialog frame: title bar, system menu and close box, no minimize or
// maximize box, not resizable.
constexpr Qt::WindowFlags FixedFrame = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

constexpr int Dips(int twips)
{
    return ui::TwipsToPixels(twips, 96);
}

QIcon applicationIcon;

// A window's frame, the program's own (QWidget) or a dialog (QDialog): the close
// box (the system menu's Close, Alt+F4) goes to the window's owner, which
// closes the window or not.
template<typename Base> class Framed : public Base
{
public:
    Framed(const std::function<void()> &closing, Qt::WindowType type)
        : Base(nullptr, type | FixedFrame)
        , m_closing(closing)
    { }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        event->ignore();
        if (m_closing)
            m_closing();
    }

private:
    const std::function<void()> &m_closing;
};

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

// The keys of a window and its controls, as the shared rules decide them. Qt's own
// mnemonics and focus chain never see them: an Alt+letter that no shown button
// owns would type its letter into a box.
class DialogKeys : public QObject
{
public:
    explicit DialogKeys(ui::Window::Native &window)
        : QObject(window.window.get())
        , m_window(window)
    { }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::WindowActivate) {
            const int had = m_window.IndexOf(m_window.window->focusWidget());
            const int back = m_window.rules.FocusOnReturn(had, *m_window.view);
            if (back >= 0 && back != had)
                m_window.controls[std::size_t(back)]->setFocus(Qt::ActiveWindowFocusReason);
            return false;
        }
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
            return false;
        const ui::Answer answer =
                m_window.rules.Decide(KeyOf(static_cast<QKeyEvent *>(event)), *m_window.view);
        if (!answer.spent)
            return false;
        event->accept();
        if (event->type() == QEvent::ShortcutOverride) // then comes as a key press
            return true;
        if (answer.focus >= 0) {
            QWidget *next = m_window.controls[std::size_t(answer.focus)];
            next->setFocus(Qt::TabFocusReason);
            if (auto *edit = qobject_cast<QLineEdit *>(next); edit && answer.selectAll)
                edit->selectAll();
        }
        if (answer.press >= 0)
            static_cast<QPushButton *>(m_window.controls[std::size_t(answer.press)])->click();
        return true;
    }

private:
    static ui::Key KeyOf(const QKeyEvent *key)
    {
        const Qt::KeyboardModifiers held = key->modifiers();
        const int code = key->key();
        ui::Key k {ui::Key::Other, 0, code == Qt::Key_Backtab || held & Qt::ShiftModifier,
                   bool(held & Qt::AltModifier),
                   bool(held & (Qt::ControlModifier | Qt::MetaModifier))};
        if (code == Qt::Key_Tab || code == Qt::Key_Backtab)
            k.name = ui::Key::Tab;
        else if (code == Qt::Key_Return || code == Qt::Key_Enter)
            k.name = ui::Key::Enter;
        else if (code == Qt::Key_Escape)
            k.name = ui::Key::Escape;
        // With Alt held, X11 and the offscreen platform may give no text.
        else if (code >= Qt::Key_A && code <= Qt::Key_Z)
            k.name = ui::Key::Letter, k.letter = char32_t(U'a' + (code - Qt::Key_A));
        else if (!key->text().isEmpty() && key->text().at(0).isPrint())
            k.name = ui::Key::Letter, k.letter = key->text().toUcs4().value(0);
        return k;
    }

    ui::Window::Native &m_window;
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

// A single-line text box. Read-only ones still show where the caret is while they
// have the focus, so Tab and clicks are seen to land on them.
class TextBox : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    void paintEvent(QPaintEvent *event) override
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

QWidget *MakeControl(QWidget *parent, const ui::Control &c)
{
    switch (c.kind) {
    case Kind::Label:
        return MakeLabel(parent, c);
    case Kind::TextBox:
        return MakeTextBox(parent, c);
    case Kind::Button: {
        auto *button = new QPushButton(ToQt(c.caption), parent);
        // Drawn as the system draws a dialog's buttons: the default one marked, and
        // a focused one as the one Enter presses.
        button->setAutoDefault(true);
        button->setDefault(c.has(ui::DefaultButton));
        return button;
    }
    case Kind::Picture: {
        auto *picture = new QLabel(parent);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        picture->setPixmap(applicationIcon.pixmap(QSize(32, 32), picture->devicePixelRatio()));
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

void FitCaption(QPushButton *button)
{
    const int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    const int needed = button->fontMetrics().horizontalAdvance(
                               QString(button->text()).remove(QLatin1Char('&'))) +
            2 * (frame + 2);
    const QRect place = button->geometry();
    const int left = ui::GrownLeft(place.left(), place.width(), needed);
    button->setGeometry(left, place.top(), place.right() + 1 - left, place.height());
}

void Build(ui::Window::Native &w, const ui::WindowDescription &description)
{
    QWidget *window = w.window.get();
    window->setObjectName(QString::fromLatin1(description.name));
    window->setWindowIcon(applicationIcon);
    window->setFixedSize(Dips(description.clientWidth), Dips(description.clientHeight));
    if (description.placed) // the client area's corner, not the frame's
        window->setGeometry(QRect(QPoint(Dips(description.screenLeft), Dips(description.screenTop)),
                                  window->size()));
    auto *keys = new DialogKeys(w);
    window->installEventFilter(keys);
    std::vector<std::pair<QRect, QColor>> lines;
    for (const auto &c : description.controls) {
        QWidget *widget = MakeControl(window, c);
        w.controls.push_back(widget);
        if (!widget) {
            lines.emplace_back(
                    QRect(Dips(c.place.left), Dips(c.place.top), Dips(c.place.width), c.lineWidth),
                    ColourOf(c.colour));
            continue;
        }
        widget->installEventFilter(keys);
        widget->setObjectName(QString::fromLatin1(c.name));
        widget->setGeometry(Dips(c.place.left), Dips(c.place.top), Dips(c.place.width),
                            Dips(c.place.height));
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
    for (auto widget = w.controls.rbegin(); widget != w.controls.rend(); ++widget) {
        if (*widget) {
            (*widget)->raise();
            described.prepend(*widget);
        }
    }
    [[maybe_unused]] static const bool readInOrder =
            (QAccessible::installFactory(DescribedWindows), true);
    window->setProperty(ControlsProperty, QVariant::fromValue(described));
}

} // namespace

void SetApplicationIcon(const QIcon &icon)
{
    applicationIcon = icon;
}

} // namespace velbrin

namespace velbrin::ui {

Window::Native::Native(const WindowDescription &description, Frame frame)
    : window(frame == Frame::Main ? static_cast<QWidget *>(new Framed<QWidget>(closing, Qt::Window))
                                  : new Framed<QDialog>(closing, Qt::Dialog))
    , rules(description)
{
    Build(*this, description);
}

int Window::Native::IndexOf(const QObject *control) const
{
    const auto found = std::ranges::find(controls, control);
    return control && found != controls.end() ? int(found - controls.begin()) : -1;
}

Window::Window(const WindowDescription &description, Frame frame)
    : m_native(std::make_unique<Native>(description, frame))
{
    m_native->view = this;
}

Window::~Window() = default;

void Window::Connect(std::function<void(int, Event)> events, std::function<void()> closing)
{
    Native &w = *m_native;
    w.events = std::move(events);
    w.closing = std::move(closing);
    for (int i = 0; i < int(w.controls.size()); ++i) {
        if (auto *edit = qobject_cast<QLineEdit *>(w.controls[std::size_t(i)]);
            edit && !edit->isReadOnly())
            QObject::connect(edit, &QLineEdit::textChanged, w.window.get(),
                             [&w, i] { w.events(i, Event::Change); });
        else if (auto *button = qobject_cast<QPushButton *>(w.controls[std::size_t(i)]))
            QObject::connect(button, &QPushButton::clicked, w.window.get(),
                             [&w, i] { w.events(i, Event::Click); });
    }
}

void Window::Show()
{
    m_native->window->show();
}

// Qt's modal dialogs block every other window of the program.
void Window::ShowModal(Window &)
{
    static_cast<QDialog *>(m_native->window.get())->exec();
}

void Window::Close()
{
    if (auto *dialog = qobject_cast<QDialog *>(m_native->window.get()))
        dialog->accept();
    else
        m_native->window->close();
}

void Window::Tell(std::u16string_view caption, std::string_view text)
{
    QMessageBox box(QMessageBox::NoIcon, ToQt(caption),
                    QString::fromLocal8Bit(text.data(), qsizetype(text.size())), QMessageBox::Ok,
                    m_native->window.get());
    box.exec();
}

void Window::EndProgram(int status)
{
    QCoreApplication::exit(status);
    m_native->window->close();
}

std::u16string Window::Text(int control) const
{
    QWidget *w = m_native->controls.at(std::size_t(control));
    QString text;
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        text = edit->text();
    else if (auto *box = qobject_cast<QPlainTextEdit *>(w))
        text = box->toPlainText();
    else if (auto *label = qobject_cast<QLabel *>(w))
        text = label->text();
    else if (auto *button = qobject_cast<QPushButton *>(w))
        text = button->text();
    return WithCrLf(text.toStdU16String());
}

void Window::SetText(int control, std::u16string_view text)
{
    QWidget *w = m_native->controls.at(std::size_t(control));
    const QString shown = ToQt(WithLf(text));
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

void Window::SetVisible(int control, bool visible)
{
    if (QWidget *w = m_native->controls.at(std::size_t(control)))
        w->setVisible(visible);
}

void Window::SetMaxLength(int control, int length)
{
    if (auto *edit = qobject_cast<QLineEdit *>(m_native->controls.at(std::size_t(control))))
        edit->setMaxLength(length);
}

int Window::Caret(int control) const
{
    QWidget *w = m_native->controls.at(std::size_t(control));
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        return edit->cursorPosition();
    if (auto *box = qobject_cast<QPlainTextEdit *>(w))
        return box->textCursor().position();
    return 0;
}

void Window::SetCaret(int control, int position)
{
    QWidget *w = m_native->controls.at(std::size_t(control));
    if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        edit->setCursorPosition(position);
    } else if (auto *box = qobject_cast<QPlainTextEdit *>(w)) {
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(std::clamp(position, 0, int(box->document()->characterCount()) - 1));
        box->setTextCursor(cursor);
    }
}

void Window::SetFocus(int control)
{
    QWidget *w = m_native->controls.at(std::size_t(control));
    if (qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w) ||
        qobject_cast<QPushButton *>(w))
        w->setFocus();
}

bool Window::IsShown(int control) const
{
    const QWidget *w = m_native->controls.at(std::size_t(control));
    return w && w->isVisibleTo(m_native->window.get()) && w->isEnabled();
}

int Window::Focus() const
{
    return m_native->IndexOf(m_native->window->focusWidget());
}

void Window::SetTitle(std::u16string_view title)
{
    m_native->window->setWindowTitle(ToQt(title));
}

// Qt tells a screen reader of a changed text by itself.
void Window::Announce(std::u16string_view) { }

} // namespace velbrin::ui
