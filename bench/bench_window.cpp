// Start-up of the main window (construct, load, show, first paint) beside a bare
// QWidget window in the same process, and the time from the identifier's last
// key to its summary being set. Prints medians; the start-up ratio says what
// twenty real controls cost over none, the key-to-summary time is meant to stay
// at 1 ms or less.
#include "main_window/frm_velbrin.h"
#include "main_window/main_window_model.h"
#include "ui/window_qt.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

class FirstPaint : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

double MedianMicroseconds(int runs, const std::function<qint64()> &run)
{
    std::vector<qint64> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(run());
    std::sort(times.begin(), times.end());
    return times[times.size() / 2] / 1000.0;
}

QWidget &Widget(QWidget &window)
{
    return window;
}

QWidget &Widget(velbrin::frmVelbrin &window)
{
    return *window.window().native().window;
}

template<typename Window> qint64 StartUp(const std::function<void(Window &)> &load)
{
    QElapsedTimer timer;
    timer.start();
    Window window;
    load(window);
    FirstPaint paint;
    Widget(window).installEventFilter(&paint);
    Widget(window).show();
    while (!paint.painted)
        QCoreApplication::processEvents();
    const qint64 elapsed = timer.nsecsElapsed();
    Widget(window).removeEventFilter(&paint);
    return elapsed;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    constexpr int runs = 41;

    // Warm up fonts, styles and the platform once for both.
    StartUp<velbrin::frmVelbrin>([](velbrin::frmVelbrin &w) { w.Form_Load(); });
    StartUp<QWidget>([](QWidget &w) { w.resize(412, 252); });

    double bare = 0;
    double main = 0;
    std::vector<double> ratios;
    for (int round = 0; round < 5; ++round) {
        bare = MedianMicroseconds(
                runs, [] { return StartUp<QWidget>([](QWidget &w) { w.resize(412, 252); }); });
        main = MedianMicroseconds(runs, [] {
            return StartUp<velbrin::frmVelbrin>([](velbrin::frmVelbrin &w) { w.Form_Load(); });
        });
        ratios.push_back(main / bare);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("start-up: main window %.0f us, bare window %.0f us, ratio %.2f "
                "(median of 5 rounds)\n",
                main, bare, ratios[ratios.size() / 2]);

    velbrin::frmVelbrin form;
    form.Form_Load();
    form.Show();
    const auto &controls = form.window().native().controls;
    auto *imei = static_cast<QLineEdit *>(controls[velbrin::main_window::txtImei]);
    auto *summary = static_cast<QPlainTextEdit *>(controls[velbrin::main_window::txtImeiGlobal]);
    const double keyToSummary = MedianMicroseconds(201, [&] {
        imei->setText(QStringLiteral("44505107987654"));
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(imei, Qt::Key_3);
        const qint64 elapsed = timer.nsecsElapsed();
        if (!summary->toPlainText().startsWith(QStringLiteral("Model: Motorola")))
            std::abort();
        summary->clear();
        return elapsed;
    });
    std::printf("key to summary: %.1f us (median of 201; target <= 1000)\n", keyToSummary);
}
