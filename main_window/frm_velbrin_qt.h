// The main window in Qt, built from the shared description; typing is handled by
// the shared entry logic, whose results this only applies.
#pragma once

#include "app/app_info.h"
#include "main_window/main_window_model.h"

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
    const std::vector<QWidget *> &controls() const { return m_controls; }
    template<typename T = QWidget> T *control(main_window::ControlIndex index) const
    {
        return static_cast<T *>(m_controls[index]);
    }

    // True once the program has been told to end (Close, Esc, the close box...).
    bool hasEnded() const { return m_ended; }
    // The About dialog, once the About button has created it.
    frmAbout *aboutDialog() const { return m_about.get(); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void txtImei_Change();
    void txtMsn_Change();
    void EntryChanged(const main_window::Side &side);
    void ShowCounter(const main_window::Side &side, const main_window::EntryUpdate &update);
    void cmdAbout_Click();
    void cmdExit_Click();
    void Form_Unload();
    void EndApplication();

    AppInfo m_info;
    std::vector<QWidget *> m_controls;
    std::unique_ptr<frmAbout> m_about;
    bool m_ended = false;
};

} // namespace velbrin
