// The Qt front end's side of a window description: builds the controls and
// gives the windows their frame, icon and size.
//
// Layouts are written in twips. Qt lays out in device-independent pixels (96 to
// the logical inch) and scales those for high-DPI screens itself, so positions
// are converted at 96 DPI and nothing multiplies by the device pixel ratio.
#pragma once

#include "ui/window_model.h"

#include <QIcon>
#include <QLineEdit>
#include <QRect>
#include <QString>
#include <QWidget>

#include <string_view>
#include <vector>

class QLabel;

namespace velbrin {

constexpr int Twips(int twips)
{
    return ui::TwipsToPixels(twips, 96);
}

constexpr QRect TwipsRect(const ui::Twips &place)
{
    return QRect(Twips(place.left), Twips(place.top), Twips(place.width), Twips(place.height));
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

// The 32 x 32 application icon (drawn by app/icon/make_icon.py).
QIcon ApplicationIcon();

// A fixed dialog frame: title bar, system menu and close box, no minimize or
// maximize box, not resizable.
inline constexpr Qt::WindowFlags FixedDialogFrame = Qt::Dialog | Qt::CustomizeWindowHint |
        Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
        Qt::MSWindowsFixedSizeDialogHint;

// Creates the controls of `description` in `window`, which takes its name, icon
// and fixed client size from it. Returns them in the description's order.
std::vector<QWidget *> BuildWindow(QWidget *window, const ui::Window &description);

// A label's caption; a label that sizes itself takes the size of its text.
void SetCaption(QLabel *label, const QString &caption);

// A single-line text box. Read-only ones still show where the caret is while they
// have the focus, so Tab and clicks are seen to land on them.
class TextBox : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace velbrin
