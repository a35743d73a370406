// One hint activation on the main window: the flat hint window measures the
// text, moves beside the pointer, shows itself and paints for the first
// time. Texts and pointer positions alternate, so that every activation
// measures anew and the window changes its corner. Also the same activation
// reached through the controller at the end of the show countdown (control
// lookup, show-hint hook, activation, first paint).
#include "app/application.h"
#include "app/hintcontroller.h"
#include "app/hinttimer.h"
#include "bench/benchstats.h"
#include "bench/windowbench.h"
#include "tests/paintcounter.h"
#include "ui/mainwindow.h"
#include "ui/settingslocation.h"
#include "ui_Form_Main.h"
#include "widgets/flathintwindow.h"

#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>

namespace {

// A countdown that expires when told to.
class ManualTimer : public HintTimer
{
public:
    bool start(int) override { return m_active = true; }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }
    void expire()
    {
        m_active = false;
        emit expired();
    }

private:
    bool m_active = false;
};

QtMessageHandler g_defaultHandler = nullptr;

// The offscreen platform warns at every show of a hint window that it
// cannot raise windows; thousands of those lines would bury the results.
void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.contains(QLatin1String("does not support raise")))
        g_defaultHandler(type, context, message);
}

// Runs the event loop until the counter has seen one more paint.
bool waitForPaint(PaintCounter &counter, int before)
{
    for (int guard = 0; guard < 1000 && counter.paints == before; ++guard)
        QCoreApplication::processEvents();
    return counter.paints > before;
}

} // namespace

int main(int argc, char **argv)
{
    g_defaultHandler = qInstallMessageHandler(quietHandler);
    WindowBench bench(argc, argv);
    TApplication &app = bench.app();
    HintController *hints = app.hintController();
    auto *timer = new ManualTimer;
    hints->setTimer(timer);
    QPoint pointer;
    hints->setPointerSource([&pointer] { return pointer; });

    TForm_Main form;
    app.setMainWindow(&form, {});
    form.show();
    QApplication::setActiveWindow(&form);
    if (!QTest::qWaitForWindowActive(&form))
        std::printf("the window did not become active\n");
    form.ui->PgCtrl_Sys->setCurrentIndex(0);
    QCoreApplication::processEvents();

    // The hint window is made at the first hint: one through the controller.
    pointer = form.ui->L__dPn->mapToGlobal(form.ui->L__dPn->rect().center());
    QTest::mouseMove(form.windowHandle(), form.mapFromGlobal(pointer));
    QCoreApplication::processEvents();
    timer->expire();
    hints->cancel();
    auto *window = qobject_cast<TFlatHintWindow *>(hints->hintWindow());
    if (!window) {
        std::printf("no flat hint window\n");
        return 1;
    }
    window->setMainWindow(&form);
    PaintCounter counter;
    window->installEventFilter(&counter);

    const QString texts[] = {
        QStringLiteral("Перепад давления на насосе, атм"),
        QStringLiteral("Суммарный перепад давления на оборудовании, не учтённом в данной схеме, атм")};
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const QPoint places[] = {{screen.width() / 4, screen.height() / 4},
                             {screen.width() * 3 / 4, screen.height() / 4},
                             {screen.width() / 4, screen.height() * 3 / 4},
                             {screen.width() * 3 / 4, screen.height() * 3 / 4}};

    using Clock = std::chrono::steady_clock;
    std::vector<double> activations;
    int missed = 0;
    for (int i = 0; i < 3000; ++i) {
        window->hide();
        QCoreApplication::processEvents();
        pointer = places[i % 4];
        const int before = counter.paints;
        const Clock::time_point t0 = Clock::now();
        window->activateHint(QRect(), texts[i % 2]);
        missed += !waitForPaint(counter, before);
        activations.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    window->hide();

    // Through the controller: the pointer rests on two hot zones in turn.
    QWidget *zones[] = {form.ui->L__dPn, form.ui->L_dPdr1};
    std::vector<double> expiries;
    for (int i = 0; i < 3000; ++i) {
        QWidget *zone = zones[i % 2];
        pointer = zone->mapToGlobal(zone->rect().center() + QPoint(i % 3, 0));
        QTest::mouseMove(form.windowHandle(), form.mapFromGlobal(pointer));
        QCoreApplication::processEvents();
        const int before = counter.paints;
        const Clock::time_point t0 = Clock::now();
        timer->expire();
        missed += !waitForPaint(counter, before);
        expiries.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        hints->cancel();
    }

    printTimings("activation: measure, move, show, first paint", activations);
    printTimings("show countdown expiry to the first paint", expiries);
    if (missed)
        std::printf("%d activations were not painted\n", missed);
    form.hide();
    app.setMainWindow(nullptr, {});
    return 0;
}
