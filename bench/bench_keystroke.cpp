// One typed key in FlEdt_dPr1 through every handler (field change, the
// dependent circuit, the Kvy field and its actual loss) and the repaint of
// the changed controls. Keys alternate between the digit 1 and Backspace
// with Q = 20, so that every key changes all three result lines and the
// Kvy field.
#include "app/application.h"
#include "bench/benchstats.h"
#include "bench/windowbench.h"
#include "ui/mainwindow.h"
#include "ui/settingslocation.h"
#include "ui_Form_Main.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>

int main(int argc, char **argv)
{
    WindowBench bench(argc, argv);

    TForm_Main form;
    form.show();
    QApplication::setActiveWindow(&form);
    if (!QTest::qWaitForWindowActive(&form))
        std::printf("the window did not become active\n");
    Ui::Form_Main &ui = *form.ui;
    ui.PgCtrl_Sys->setCurrentIndex(0);
    ui.FlEdt_Q1->setValueL(20);
    ui.FlEdt_dPr1->setFocus();
    ui.FlEdt_dPr1->selectAll();
    QCoreApplication::processEvents();

    // Counts the paints of the result lines, to show that every key was
    // painted.
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *e) override
        {
            paints += e->type() == QEvent::Paint;
            return false;
        }
    } counter;
    ui.L_Kv1->installEventFilter(&counter);

    using Clock = std::chrono::steady_clock;
    std::vector<double> handlersOnly, withPaint;
    for (int i = 0; i < 4000; ++i) {
        const Qt::Key key = i % 2 == 0 ? Qt::Key_1 : Qt::Key_Backspace;
        const Clock::time_point t0 = Clock::now();
        QTest::keyClick(ui.FlEdt_dPr1, key);
        const Clock::time_point t1 = Clock::now();
        // the repaint the event loop would do next: one pass over every
        // control the key changed
        QCoreApplication::sendPostedEvents(&form, QEvent::UpdateRequest);
        const Clock::time_point t2 = Clock::now();
        handlersOnly.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        withPaint.push_back(std::chrono::duration<double, std::milli>(t2 - t0).count());
    }
    if (ui.L_Kv1->text().contains(QLatin1String("???")) == false
        && ui.L_Kv1->text().contains(QLatin1String("20.00")) == false)
        std::printf("unexpected result line: %s\n", qPrintable(ui.L_Kv1->text()));
    printTimings("key press + release through every handler", handlersOnly);
    printTimings("... and the repaint of the changed controls", withPaint);
    std::printf("result line painted %d times for %zu keys\n", counter.paints, withPaint.size());
    form.hide();
    return 0;
}
