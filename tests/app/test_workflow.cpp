// The main window driven as a user drives it: typing, the results, Enter,
// the clearing buttons, pages and starting again, and a program that waits
// for input without timers.

#include "app/application.h"
#include "app/hintcontroller.h"
#include "app/hinttimer.h"
#include "core/sizing.h"
#include "tests/app/workflowfixture.h"
#include "widgets/flathint.h"

#include <QAbstractEventDispatcher>
#include <QSignalSpy>

class TestWorkflow : public WorkflowFixture
{
    Q_OBJECT

private slots:
    void firstStartWithoutSettings()
    {
        openWindow();
        QCOMPARE(m_form->settingsPath(), settingsFile());
        QCOMPARE(readFile(settingsFile()), kZeroSettings);
        for (const char *name : {"FlEdt_dPr1", "FlEdt_dPf1", "FlEdt_dPppr1", "FlEdt_dPs", "FlEdt_dPtr1", "FlEdt_dPdr1",
                                 "FlEdt_dPn", "FlEdt_Q1", "FlEdt_dPr2", "FlEdt_dPf2", "FlEdt_dPppr2", "FlEdt_dPt",
                                 "FlEdt_dPtr2", "FlEdt_dPdr2", "FlEdt_Q2"})
            QCOMPARE(field(name)->text(), QStringLiteral("0.00"));
        QCOMPARE(field("FlEdt_Kvy1")->text(), QStringLiteral("0.0"));
        QCOMPARE(field("FlEdt_Kvy2")->text(), QStringLiteral("0.0"));
        // no text changed, so no handler ran: the lines keep their
        // design-time captions (a recomputation would show Kv as "???")
        for (const char *suffix : {"1", "2"}) {
            QCOMPARE(line(qPrintable(QStringLiteral("L_dPkl") + suffix)), kDropZero);
            QCOMPARE(line(qPrintable(QStringLiteral("L_Kv") + suffix)), kKvZero);
            QCOMPARE(line(qPrintable(QStringLiteral("L_dPklReal") + suffix)), kLossZero);
        }
        // page 0, its first field focused with the text selected
        QCOMPARE(m_form->ui->PgCtrl_Sys->currentIndex(), 0);
        QCOMPARE(focusName(), QStringLiteral("FlEdt_dPr1"));
        QCOMPARE(field("FlEdt_dPr1")->selectedText(), QStringLiteral("0.00"));
        QVERIFY(m_boxes->boxes.isEmpty());
    }

    void sizingExample()
    {
        openWindow();
        typeInto("FlEdt_dPr1", QStringLiteral("1.00"));
        QCOMPARE(line("L_dPkl1"), dropLine("1.00"));
        QCOMPARE(line("L_Kv1"), kvLine("0.00"));
        pressEnter();
        typeInto("FlEdt_dPf1", QStringLiteral("0.10"));
        pressEnter();
        typeInto("FlEdt_Q1", QStringLiteral("2.00"));
        pressEnter();
        QCOMPARE(line("L_dPkl1"), dropLine("0.80"));
        QCOMPARE(line("L_Kv1"), kvLine("2.24"));
        QCOMPARE(field("FlEdt_Kvy1")->text(), QStringLiteral("2.0"));
        QCOMPARE(line("L_dPklReal1"), lossLine("1.00"));
        QCOMPARE(focusName(), QStringLiteral("FlEdt_Kvy1"));

        // a valve of a larger capacity
        typeInto("FlEdt_Kvy1", QStringLiteral("4.0"));
        pressEnter();
        QCOMPARE(line("L_dPklReal1"), lossLine("0.25"));
        QCOMPARE(field("FlEdt_Kvy1")->text(), QStringLiteral("4.0"));

        // a smaller flow: the suggestion falls, the choice stays, and the
        // actual loss keeps the old flow until the Kvy field changes
        typeInto("FlEdt_Q1", QStringLiteral("1.50"));
        QCOMPARE(line("L_Kv1"), kvLine("1.68"));
        QCOMPARE(field("FlEdt_Kvy1")->text(), QStringLiteral("4.0"));
        QCOMPARE(field("FlEdt_Kvy1")->MinValueL(), 1.0L);
        QCOMPARE(line("L_dPklReal1"), lossLine("0.25"));
        // the other circuit is untouched
        QCOMPARE(line("L_dPkl2"), kDropZero);
        QVERIFY(m_boxes->boxes.isEmpty());
    }

    void capacityNotComputed()
    {
        openWindow();
        enterExample();
        // a drop larger than the inlet leaves nothing for the valve
        typeInto("FlEdt_dPf1", QStringLiteral("0.5"));
        QCOMPARE(line("L_dPkl1"), dropLine("0.00"));
        QCOMPARE(line("L_Kv1"), QStringLiteral("Пропускная способность регулирующего клапана Кv = ??? м3/ч"));
        QCOMPARE(field("FlEdt_Kvy1")->text(), QStringLiteral("0.0"));
        QCOMPARE(field("FlEdt_Kvy1")->MinValueL(), 0.0L);
        QCOMPARE(line("L_dPklReal1"), QStringLiteral("Действительные гидравлические потери на клапане dPкл = ??? атм"));
        typeInto("FlEdt_dPf1", QStringLiteral("0.6"));
        QCOMPARE(line("L_dPkl1"), dropLine("-0.20"));
    }

    void kvyBelowSuggestion()
    {
        openWindow();
        enterExample();
        typeInto("FlEdt_Kvy1", QStringLiteral("4.0"));
        pressEnter();
        QCOMPARE(focusName(), QStringLiteral("FlEdt_dPr1"));

        // entered at 4.0; every keystroke runs the handler with the typed,
        // unclamped number
        typeInto("FlEdt_Kvy1", QStringLiteral("1"));
        QCOMPARE(field("FlEdt_Kvy1")->text(), QStringLiteral("1"));
        QCOMPARE(line("L_dPklReal1"), lossLine("4.00"));
        QCOMPARE(sizing().Kvy1, 1.0);

        // leaving it: rejected, the entry value comes back (not the
        // suggestion 2.0), selected, and the focus stays
        pressEnter();
        QCoreApplication::processEvents();
        QCOMPARE(focusName(), QStringLiteral("FlEdt_Kvy1"));
        QCOMPARE(field("FlEdt_Kvy1")->text(), QStringLiteral("4.0"));
        QCOMPARE(field("FlEdt_Kvy1")->selectedText(), QStringLiteral("4.0"));
        QCOMPARE(line("L_dPklReal1"), lossLine("0.25"));
    }

    void enterCycles_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("cycle");
        QTest::addColumn<int>("key");
        const QStringList dependent = {"FlEdt_dPr1",  "FlEdt_dPf1", "FlEdt_dPppr1", "FlEdt_dPs",  "FlEdt_dPtr1",
                                       "FlEdt_dPdr1", "FlEdt_dPn",  "FlEdt_Q1",     "FlEdt_Kvy1", "FlEdt_dPr1"};
        const QStringList independent = {"FlEdt_dPr2",  "FlEdt_dPf2", "FlEdt_dPppr2", "FlEdt_dPt", "FlEdt_dPtr2",
                                         "FlEdt_dPdr2", "FlEdt_Q2",   "FlEdt_Kvy2",   "FlEdt_dPr2"};
        QTest::newRow("dependent, Enter") << 0 << dependent << int(Qt::Key_Return);
        QTest::newRow("dependent, keypad Enter") << 0 << dependent << int(Qt::Key_Enter);
        QTest::newRow("independent, Enter") << 1 << independent << int(Qt::Key_Return);
        QTest::newRow("independent, keypad Enter") << 1 << independent << int(Qt::Key_Enter);
    }

    void enterCycles()
    {
        QFETCH(int, page);
        QFETCH(QStringList, cycle);
        QFETCH(int, key);
        openWindow();
        if (page != 0)
            clickPage(page);
        QCOMPARE(focusName(), cycle.first());
        for (qsizetype i = 1; i < cycle.size(); ++i) {
            pressEnter(Qt::Key(key));
            QCOMPARE(focusName(), cycle[i]);
            // entered by Enter: the whole text is selected
            QCOMPARE(field(qPrintable(cycle[i]))->selectedText(), field(qPrintable(cycle[i]))->text());
        }
        // another key moves nothing
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab == key ? Qt::Key_Space : Qt::Key_Right);
        QCOMPARE(focusName(), cycle.last());
    }

    void enterStopsAtRejectedField_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("above the maximum") << "150";
        QTest::newRow("exponent out of range") << "1E5";
    }

    void enterStopsAtRejectedField()
    {
        QFETCH(QString, typed);
        openWindow();
        typeInto("FlEdt_dPr1", QStringLiteral("2.5"));
        pressEnter();
        typeInto("FlEdt_dPf1", typed);
        pressEnter();
        QCoreApplication::processEvents();
        QCOMPARE(focusName(), QStringLiteral("FlEdt_dPf1"));
        QCOMPARE(field("FlEdt_dPf1")->text(), QStringLiteral("0.00"));
        QCOMPARE(line("L_dPkl1"), dropLine("2.50"));
        // a good number lets the cycle go on
        typeInto("FlEdt_dPf1", QStringLiteral("0.25"));
        pressEnter();
        QCOMPARE(focusName(), QStringLiteral("FlEdt_dPppr1"));
        QCOMPARE(line("L_dPkl1"), dropLine("2.00"));
    }

    void clearingButtons()
    {
        openWindow();
        enterExample();
        typeInto("FlEdt_dPn", QStringLiteral("0.5"));
        pressEnter();
        clickPage(1);
        typeInto("FlEdt_dPr2", QStringLiteral("2"));
        pressEnter();
        typeInto("FlEdt_Q2", QStringLiteral("3"));
        pressEnter();
        // Kv2 = 3 / sqrt(2) = 2.12, suggestion 2.0; choose 5.0
        QCOMPARE(field("FlEdt_Kvy2")->text(), QStringLiteral("2.0"));
        typeInto("FlEdt_Kvy2", QStringLiteral("5"));
        pressEnter();
        QCOMPARE(line("L_dPklReal2"), lossLine("0.36"));
        // a new flow keeps the choice in the field, the suggestion in the state
        typeInto("FlEdt_Q2", QStringLiteral("3.5"));
        pressEnter();
        QCOMPARE(field("FlEdt_Kvy2")->text(), QStringLiteral("5.0"));
        QCOMPARE(sizing().Kvy2, 2.0);

        clickPage(0);
        QTest::mouseClick(m_form->ui->Btn_Clear1, Qt::LeftButton);
        for (const char *name : {"FlEdt_dPr1", "FlEdt_dPf1", "FlEdt_dPn", "FlEdt_Q1"})
            QCOMPARE(field(name)->text(), QStringLiteral("0.00"));
        QCOMPARE(field("FlEdt_Kvy1")->text(), QStringLiteral("0.0"));
        QCOMPARE(line("L_dPkl1"), dropLine("0.00"));
        QCOMPARE(line("L_Kv1"), QStringLiteral("Пропускная способность регулирующего клапана Кv = ??? м3/ч"));
        QCOMPARE(line("L_dPklReal1"), QStringLiteral("Действительные гидравлические потери на клапане dPкл = ??? атм"));
        QCOMPARE(focusName(), QStringLiteral("FlEdt_dPr1"));
        QCOMPARE(field("FlEdt_dPr1")->selectedText(), QStringLiteral("0.00"));
        // the other circuit is rewritten from the state: its Kvy field falls
        // back from the choice to the suggestion; its inputs stay
        QCOMPARE(field("FlEdt_Kvy2")->text(), QStringLiteral("2.0"));
        QCOMPARE(field("FlEdt_Q2")->text(), QStringLiteral("3.50"));
        QCOMPARE(field("FlEdt_dPr2")->text(), QStringLiteral("2.00"));
        QCOMPARE(m_form->ui->PgCtrl_Sys->currentIndex(), 0);

        clickPage(1);
        QTest::mouseClick(m_form->ui->Btn_Clear2, Qt::LeftButton);
        QCOMPARE(field("FlEdt_dPr2")->text(), QStringLiteral("0.00"));
        QCOMPARE(field("FlEdt_Q2")->text(), QStringLiteral("0.00"));
        QCOMPARE(field("FlEdt_Kvy2")->text(), QStringLiteral("0.0"));
        QCOMPARE(focusName(), QStringLiteral("FlEdt_dPr2"));
        QCOMPARE(m_form->ui->PgCtrl_Sys->currentIndex(), 1);
        QCOMPARE(sizing().dPr2, 0.0);
        QCOMPARE(sizing().Q2, 0.0);
    }

    void pagesAndRestart()
    {
        openWindow();
        typeInto("FlEdt_dPr1", QStringLiteral("3"));
        clickPage(1);
        QCOMPARE(sizing().LastSys, 1);
        QCOMPARE(focusName(), QStringLiteral("FlEdt_dPr2"));
        QCOMPARE(field("FlEdt_dPr2")->selectedText(), QStringLiteral("0.00"));
        typeInto("FlEdt_Q2", QStringLiteral("7"));
        clickPage(2);
        QCOMPARE(sizing().LastSys, 2);
        // page 2 moves the focus to no field (the toolkit takes it off the
        // hidden page)
        QVERIFY2(!focusName().startsWith(QLatin1String("FlEdt_")), qPrintable(focusName()));
        QCOMPARE(field("FlEdt_Q2")->text(), QStringLiteral("7.00"));

        QVERIFY(m_form->close());
        QVERIFY(m_boxes->boxes.isEmpty());
        const QByteArray saved = readFile(settingsFile());
        QCOMPARE(iniValue(saved, "LastSys"), QByteArray("2"));
        QCOMPARE(iniValue(saved, "dPr1"), QByteArray("3"));
        QCOMPARE(iniValue(saved, "Q2"), QByteArray("7"));
        m_form.reset();

        sizing() = SizingState{};
        openWindow();
        QCOMPARE(m_form->ui->PgCtrl_Sys->currentIndex(), 2);
        QCOMPARE(field("FlEdt_dPr1")->text(), QStringLiteral("3.00"));
        QCOMPARE(field("FlEdt_Q2")->text(), QStringLiteral("7.00"));
        QCOMPARE(line("L_dPkl1"), dropLine("3.00"));
    }

    void overflowTypedIntoField()
    {
        openWindow();
        typeInto("FlEdt_dPr1", QStringLiteral("1E40"));
        const QString before = line("L_dPkl1");
        QVERIFY(before != kDropZero);
        QVERIFY(m_boxes->boxes.isEmpty());
        QTest::keyClick(field("FlEdt_dPr1"), Qt::Key_0);
        // this keystroke's handler failed: one box, the line stays, the
        // program goes on
        QCOMPARE(m_boxes->texts(), QStringList{QStringLiteral("Floating point overflow.")});
        QCOMPARE(field("FlEdt_dPr1")->text(), QStringLiteral("1E400"));
        QCOMPARE(line("L_dPkl1"), before);
        QCOMPARE(sizing().dPr1, 1e40);
        QTest::keyClick(field("FlEdt_dPr1"), Qt::Key_Escape);
        QCOMPARE(field("FlEdt_dPr1")->text(), QStringLiteral("0.00"));
        QCOMPARE(line("L_dPkl1"), dropLine("0.00"));
        QCOMPARE(m_boxes->boxes.size(), 1);
    }

    void noTimersWhileWaiting_data();
    void noTimersWhileWaiting();
    void pageSwitchWaitsForFieldExit_data();
    void pageSwitchWaitsForFieldExit();
};

void TestWorkflow::noTimersWhileWaiting_data()
{
    QTest::addColumn<bool>("hintGone");
    QTest::newRow("a hint has come and gone") << true;
    QTest::newRow("the pointer has just moved onto a hot zone") << false;
}

void TestWorkflow::noTimersWhileWaiting()
{
    // Waiting for input, the program runs no timer but the caret blink of
    // the focused field and, while a hint is pending, the precise countdown
    // of the hints; the toolkit's tooltip wake-up is never started.
    QFETCH(bool, hintGone);
    openWindow();
    enterExample();
    clickPage(2);
    moveMouse(m_form->ui->L_Top, QPoint(50, 50));
    clickPage(0);
    HintController *hints = TApplication::instance()->hintController();
    // (short delays: no test waits long)
    hints->setShowDelay(hintGone ? 1 : TFlatHint::kShowDelay);
    hints->setDisplayTime(hintGone ? 1 : TFlatHint::kDisplayTime);
    // from the bare picture onto a hot zone
    QWidget *zone = m_form->ui->L__dPn;
    QCursor::setPos(m_form->ui->Img1->mapToGlobal(QPoint(5, 5)));
    QCursor::setPos(zone->mapToGlobal(zone->rect().center()));
    QTRY_COMPARE_WITH_TIMEOUT(hints->state(),
                              hintGone ? HintController::State::TimedOut : HintController::State::Waiting, 3000);
    hints->setShowDelay(TFlatHint::kShowDelay);
    hints->setDisplayTime(TFlatHint::kDisplayTime);
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    QList<QObject *> objects = m_form->findChildren<QObject *>();
    objects << m_form.get() << qApp << hints << hints->findChildren<QObject *>();
    for (QWidget *top : QApplication::topLevelWidgets())
        objects << top << top->findChildren<QObject *>();
    QStringList withTimers;
    for (QObject *o : std::as_const(objects)) {
        const QList<QAbstractEventDispatcher::TimerInfo> timers = dispatcher->registeredTimers(o);
        if (timers.isEmpty())
            continue;
        const bool caret = o->parent() == QApplication::focusWidget()
                           && QByteArray(o->metaObject()->className()) == "QWidgetLineControl";
        const bool countdown =
            !hintGone && o->parent() == hints->timer() && timers.size() == 1 && timers[0].timerType == Qt::PreciseTimer;
        if (!caret && !countdown)
            withTimers << QStringLiteral("%1 (%2)").arg(o->objectName(), QLatin1String(o->metaObject()->className()));
    }
    QVERIFY2(withTimers.isEmpty(), qPrintable(withTimers.join(QLatin1String(", "))));
}

void TestWorkflow::pageSwitchWaitsForFieldExit_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<int>("page");
    QTest::newRow("click on the independent tab") << "click" << 1;
    QTest::newRow("click on the nomogram tab") << "click" << 2;
    QTest::newRow("Ctrl+Tab") << "Ctrl+Tab" << 1;
    QTest::newRow("Ctrl+Shift+Tab") << "Ctrl+Shift+Tab" << 2;
}

// A page switch asks the focused field's exit check first: while the field
// rejects its text, the page does not change even for a moment (no
// page-changed handler, LastSys kept, no other field entered or left).
void TestWorkflow::pageSwitchWaitsForFieldExit()
{
    QFETCH(QString, way);
    QFETCH(int, page);
    openWindow();
    TPageControl *pages = m_form->ui->PgCtrl_Sys;
    const auto switchPage = [&] {
        FlatTabBar *bar = pages->flatTabBar();
        if (way == QLatin1String("click"))
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->buttonRect(page).center());
        else if (way == QLatin1String("Ctrl+Tab"))
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCoreApplication::processEvents();
    };
    typeInto("FlEdt_dPr1", QStringLiteral("150"));
    QSignalSpy shown(pages, &QTabWidget::currentChanged);
    QSignalSpy userSwitches(pages, &TPageControl::OnChange);
    int otherEntries = 0;
    int otherExits = 0;
    struct FocusInCounter : QObject {
        int *count;
        explicit FocusInCounter(int *c) : count(c) {}
        bool eventFilter(QObject *, QEvent *event) override
        {
            *count += event->type() == QEvent::FocusIn;
            return false;
        }
    } focusIns(&otherEntries);
    for (TFlatFloatEdit *f : m_form->findChildren<TFlatFloatEdit *>()) {
        if (f == field("FlEdt_dPr1"))
            continue;
        f->installEventFilter(&focusIns);
        connect(f, &TCustomFlatFloatEdit::OnExit, this, [&otherExits] { ++otherExits; });
    }

    switchPage();
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(shown.count(), 0);
    QCOMPARE(userSwitches.count(), 0);
    QCOMPARE(int(sizing().LastSys), 0);
    QCOMPARE(focusName(), QStringLiteral("FlEdt_dPr1"));
    QCOMPARE(field("FlEdt_dPr1")->text(), QStringLiteral("0.00"));
    QCOMPARE(field("FlEdt_dPr1")->selectedText(), QStringLiteral("0.00"));
    QCOMPARE(otherEntries, 0);
    QCOMPARE(otherExits, 0);

    // an accepted text lets the page change
    typeInto("FlEdt_dPr1", QStringLiteral("50"));
    switchPage();
    QCOMPARE(pages->currentIndex(), page);
    QCOMPARE(userSwitches.count(), 1);
    QCOMPARE(int(sizing().LastSys), page);
    QCOMPARE(field("FlEdt_dPr1")->text(), QStringLiteral("50.00"));
    if (page == 1)
        QCOMPARE(focusName(), QStringLiteral("FlEdt_dPr2"));
    for (TFlatFloatEdit *f : m_form->findChildren<TFlatFloatEdit *>())
        f->removeEventFilter(&focusIns);
}

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    prepareApplication(app);
    TestWorkflow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_workflow.moc"
