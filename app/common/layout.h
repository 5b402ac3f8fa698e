// Helpers both windows use to place controls and show multi-line text.
//
// Layouts are written in twips (1440 to the logical inch). Qt lays out in
// device-independent pixels (96 to the logical inch) and scales those for high
// DPI screens itself, so a twip is 1/15 of a pixel here and nothing multiplies by
// the device pixel ratio.
#pragma once

#include <QIcon>
#include <QRect>
#include <QString>
#include <QWidget>

namespace velbrin {

constexpr int Twips(int twips)
{
    return twips >= 0 ? (twips + 7) / 15 : -((-twips + 7) / 15);
}

constexpr QRect TwipsRect(int left, int top, int width, int height)
{
    return QRect(Twips(left), Twips(top), Twips(width), Twips(height));
}

// A fixed dialog frame: title bar, system menu and close box, no minimize or
// maximize box, not resizable.
inline constexpr Qt::WindowFlags FixedDialogFrame = Qt::Dialog | Qt::CustomizeWindowHint |
        Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
        Qt::MSWindowsFixedSizeDialogHint;

// Names a window, gives it the icon and fixes its client area (in twips).
inline void SetUpFixedWindow(QWidget *window, const char *name, const QIcon &icon, int width,
                             int height)
{
    window->setObjectName(QString::fromLatin1(name));
    window->setWindowIcon(icon);
    window->setFixedSize(Twips(width), Twips(height));
}

// The program's texts break lines with CR LF; Qt's text widgets break at LF and
// would draw the CR as a glyph of its own.
inline QString WithQtLineBreaks(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace velbrin
