// One typed key in FlEdt_dPr1 through every handler (field change, the
// dependent circuit, the Kvy field and its actual loss) and the repaint of
// the changed controls; then the same with the valve check window open on
// the worked case's check inputs, which follows every key. Keys alternate
// between the digit 1 and Backspace with Q = 20, so that every key changes
// all three result lines and the Kvy field, and in the check window every
// row: they come (dPр 1) and go (dPр 0, no Kv) with every key, the most an
// update of that window does.
#include "app/application.h"
#include "bench/benchstats.h"
#include "bench/windowbench.h"
#include "check/checkactions.h"
#include "check/valvecheckwindow.h"
#include "core/checkinputs.h"
#include "tests/paintcounter.h"
#include "ui/mainwindow.h"
#include "ui/settingslocation.h"
#include "ui_Form_Main.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>

namespace {

void typeKeys(Ui::Form_Main &ui, const char *what)
{
    using Clock = std::chrono::steady_clock;
    std::vector<double> handlersOnly, withPaint;
    for (int i = 0; i < 4000; ++i) {
        const Qt::Key key = i % 2 == 0 ? Qt::Key_1 : Qt::Key_Backspace;
        const Clock::time_point t0 = Clock::now();
        QTest::keyClick(ui.FlEdt_dPr1, key);
        const Clock::time_point t1 = Clock::now();
        // what the event loop does next: every event the key posted, the
        // repaint of the controls it changed, in every window, among them
        QCoreApplication::sendPostedEvents();
        const Clock::time_point t2 = Clock::now();
        handlersOnly.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        withPaint.push_back(std::chrono::duration<double, std::milli>(t2 - t0).count());
    }
    std::printf("-- %s\n", what);
    printTimings("key press + release through every handler", handlersOnly);
    printTimings("... and the repaint of the changed controls", withPaint);
}

} // namespace

int main(int argc, char **argv)
{
    WindowBench bench(argc, argv);

    TForm_Main form;
    CheckActions actions(&form);
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

    PaintCounter lineCounter;
    ui.L_Kv1->installEventFilter(&lineCounter);
    typeKeys(ui, "the main window alone");
    if (ui.L_Kv1->text().contains(QLatin1String("???")) == false
        && ui.L_Kv1->text().contains(QLatin1String("20.00")) == false)
        std::printf("unexpected result line: %s\n", qPrintable(ui.L_Kv1->text()));
    std::printf("result line painted %d times\n", lineCounter.paints);

    // The worked case's check inputs; the window opened as Ctrl+K opens it.
    checkInputs(1) = CheckInputs{1, 150, 70, 6, 0.5};
    actions.openCheck();
    QCoreApplication::processEvents();
    if (!actions.checkWindow() || !actions.checkWindow()->isVisible() || QApplication::focusWidget() != ui.FlEdt_dPr1)
        std::printf("the check window is not open beside the focused field\n");
    PaintCounter verdictCounter;
    QLabel *closing = actions.checkWindow()->findChild<QLabel *>(QStringLiteral("L_Closing1"));
    closing->installEventFilter(&verdictCounter);
    typeKeys(ui, "with the valve check window open");
    std::printf("a verdict of the check window painted %d times\n", verdictCounter.paints);
    form.hide();
    return 0;
}
