// The main window in Qt, built from the shared description; its handlers are the
// shared ones, called through the window's view.
#pragma once

#include "app/app_info.h"
#include "main_window/main_window_model.h"
#include "ui/window_qt.h"

#include <QWidget>

#include <memory>
#include <vector>

namespace velbrin {

class frmAbout;

class frmVelbrin : public QWidget
{
    Q_OBJECT

public:
    explicit frmVelbrin(const AppInfo &info = AppInfo::current());
    ~frmVelbrin() override;

    void Form_Load();

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
    void txtImei_Change();
    void txtMsn_Change();
    void cmdAbout_Click();
    void cmdExit_Click();
    void Form_Unload();
    void EndApplication();

    AppInfo m_info;
    QtView m_view;
    std::unique_ptr<frmAbout> m_about;
    bool m_ended = false;
};

} // namespace velbrin
