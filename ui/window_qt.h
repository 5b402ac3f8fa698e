// The Qt side of a window (window.h): a QWidget, or a QDialog for a dialog, whose
// controls are Qt's own widgets, built from the description; the dialog keys go
// through the shared rules.
//
// Layouts are written in twips. Qt lays out in device-independent pixels (96 to
// the logical inch) and scales those for high-DPI screens itself, so positions
// are converted at 96 DPI and nothing multiplies by the device pixel ratio.
#pragma once

#include "ui/dialog_rules.h"
#include "ui/window.h"

#include <QIcon>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

namespace velbrin {

inline QString ToQt(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar *>(text.data()), qsizetype(text.size()));
}

// The application icon, handed over by the program before it builds a window: the
// windows' icon and what a picture box shows.
void SetApplicationIcon(const QIcon &icon);

} // namespace velbrin

struct velbrin::ui::Window::Native
{
    Native(const WindowDescription &description, Frame frame);

    std::function<void(int, Event)> events;
    std::function<void()> closing;
    const View *view = nullptr; // what the dialog rules read
    std::unique_ptr<QWidget> window;
    std::vector<QWidget *> controls; // in the description's order; null for a line
    DialogRules rules;

    int IndexOf(const QObject *control) const;
};
