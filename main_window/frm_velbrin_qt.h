// The main window in Qt, built from the shared description; its handlers are the
// shared ones, called through the window's view.
#pragma once

#include "main_window/main_window_form.h"
#include "main_window/main_window_model.h"
#include "ui/window_qt.h"

#include <QWidget>

#include <memory>
#include <vector>

namespace velbrin {

class frmAbout;

class frmVelbrin : public QWidget, public main_window::Form
{
    Q_OBJECT

public:
    explicit frmVelbrin(const AppInfo &info = AppInfo::current());
    ~frmVelbrin() override;

    // The control named in the description at `index`.
    const std::vector<QWidget *> &controls() const { return m_view.Controls(); }
    const QtView &view() const { return m_view; }
    template<typename T = QWidget> T *control(main_window::ControlIndex index) const
    {
        return static_cast<T *>(controls()[index]);
    }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void ShowAbout() override;
    void EndProgram() override;

    QtView m_view;
    std::unique_ptr<frmAbout> m_about;
};

} // namespace velbrin
