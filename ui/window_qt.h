// The Qt front end's side of a window description: builds the controls and
// gives the windows their frame, icon and size.
//
// Layouts are written in twips. Qt lays out in device-independent pixels (96 to
// the logical inch) and scales those for high-DPI screens itself, so positions
// are converted at 96 DPI and nothing multiplies by the device pixel ratio.
#pragma once

#include "ui/window_model.h"
#include "ui/window_view.h"

#include <QIcon>
#include <QLineEdit>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <string_view>
#include <vector>

class QLabel;

namespace velbrin {

// Twips in device-independent pixels.
constexpr int Dips(int twips)
{
    return ui::TwipsToPixels(twips, 96);
}

constexpr QRect DipRect(const ui::Twips &place)
{
    return QRect(Dips(place.left), Dips(place.top), Dips(place.width), Dips(place.height));
}

inline QString ToQt(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar *>(text.data()), qsizetype(text.size()));
}

inline QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The program's texts break lines with CR LF; Qt's text widgets break at LF and
// would draw the CR as a glyph of its own.
inline QString WithQtLineBreaks(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// And back: the program's own line breaks in a text Qt shows.
inline QString WithCrLf(QString text)
{
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

// The application icon, handed over by the program before it builds a window: the
// windows' icon and what a picture box shows.
void SetApplicationIcon(const QIcon &icon);
QIcon ApplicationIcon();

// A fixed dialog frame: title bar, system menu and close box, no minimize or
// maximize box, not resizable. The window's type (Qt::Window for a main window,
// Qt::Dialog for a dialog) goes with it.
inline constexpr Qt::WindowFlags FixedFrame = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

// Creates the controls of `description` in `window`, which takes its name, icon,
// fixed client size and, where it has one, its place on the screen from it; the
// window draws the lines itself. Returns the controls in the description's order,
// null for a line.
std::vector<QWidget *> BuildWindow(QWidget *window, const ui::WindowDescription &description);

// A window's controls as the handlers see them.
class QtView : public ui::View
{
public:
    QtView(QWidget *window, const ui::WindowDescription &description);

    const std::vector<QWidget *> &Controls() const { return m_controls; }
    // Tells `handler` of each change a user makes to an entry box and of each
    // button pressed.
    void Connect(const std::function<void(int control, ui::Event event)> &handler);

    std::u16string Text(int control) const override;
    void SetText(int control, std::u16string_view text) override;
    void SetVisible(int control, bool visible) override;
    void SetMaxLength(int control, int length) override;
    int Caret(int control) const override;
    void SetCaret(int control, int position) override;
    void SetFocus(int control) override;
    void SetTitle(std::u16string_view title) override;

private:
    QWidget *at(int control) const { return m_controls.at(std::size_t(control)); }

    QWidget *m_window;
    std::vector<QWidget *> m_controls;
};

// A single-line text box. Read-only ones still show where the caret is while they
// have the focus, so Tab and clicks are seen to land on them.
class TextBox : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace velbrin
