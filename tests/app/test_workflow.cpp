// The main window driven as a user drives it: typing, Enter, the clearing
// buttons, pages, closing and starting again, settings files that fail,
// and the nomogram crosshair.
#include "app/application.h"
#include "app/hintcontroller.h"
#include "core/sizing.h"
#include "tests/app/boxrecorder.h"
#include "tests/ordinaryuser.h"
#include "tests/app/workflowfixture.h"
#include "tests/paintcounter.h"
#include "ui/crosshair.h"
#include "widgets/flathint.h"

#include <QAbstractEventDispatcher>
#include <QFileSystemWatcher>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStyle>

#include <csignal>

class TestWorkflow : public WorkflowFixture {
    Q_OBJECT

private slots:
    void firstStartWithoutSettings()
    {
        openWindow();
        QCOMPARE(m_form->settingsPath(), settingsFile());
        QCOMPARE(readFile(settingsFile()), kZeroSettings);
        for (const char *name : {"FlEdt_dPr1", "FlEdt_dPf1", "FlEdt_dPppr1", "FlEdt_dPs", "FlEdt_dPtr1",
                                 "FlEdt_dPdr1", "FlEdt_dPn", "FlEdt_Q1", "FlEdt_dPr2", "FlEdt_dPf2",
                                 "FlEdt_dPppr2", "FlEdt_dPt", "FlEdt_dPtr2", "FlEdt_dPdr2", "FlEdt_Q2"})
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
        QCOMPARE(line("L_dPklReal1"),
                 QStringLiteral("Действительные гидравлические потери на клапане dPкл = ??? атм"));
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
        const QStringList dependent = {"FlEdt_dPr1", "FlEdt_dPf1", "FlEdt_dPppr1", "FlEdt_dPs",
                                       "FlEdt_dPtr1", "FlEdt_dPdr1", "FlEdt_dPn", "FlEdt_Q1",
                                       "FlEdt_Kvy1", "FlEdt_dPr1"};
        const QStringList independent = {"FlEdt_dPr2", "FlEdt_dPf2", "FlEdt_dPppr2", "FlEdt_dPt",
                                         "FlEdt_dPtr2", "FlEdt_dPdr2", "FlEdt_Q2", "FlEdt_Kvy2",
                                         "FlEdt_dPr2"};
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
        QCOMPARE(line("L_dPklReal1"),
                 QStringLiteral("Действительные гидравлические потери на клапане dPкл = ??? атм"));
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

    // A settings file at start: the page, what the window shows and what
    // a close writes back.
    void storedValues_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("lastSysAfterShow");
        // "FlEdt_… text": a field's text; "L_… number": a result line's
        // number; "key value": the SizingState field of a settings key
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("saved");
        QTest::newRow("LastSys 255") << QByteArray("[Main]\nLastSys=255\n[Values]\ndPr1=5\n") << 2 << 2
                                     << QStringList{"FlEdt_dPr1 5.00", "dPr1 5"}
                                     << QStringList{"LastSys=2", "dPr1=5"};
        QTest::newRow("LastSys 1") << QByteArray("[Main]\nLastSys=1\n") << 1 << 1
                                   << QStringList{"FlEdt_dPr1 0.00", "dPr1 0"} << QStringList{"LastSys=1", "dPr1=0"};
        QTest::newRow("dPr1 150") << QByteArray("[Main]\nLastSys=0\n[Values]\ndPr1=150\n") << 0 << 0
                                  << QStringList{"FlEdt_dPr1 100.00", "dPr1 100"}
                                  << QStringList{"LastSys=0", "dPr1=100"};
        // the stored Kvy goes into its field before the inputs: the
        // recomputations then keep the user's larger valve
        QTest::newRow("Kvy1 above the suggestion")
            << QByteArray("[Values]\nQ1=2\ndPr1=1\ndPf1=0.1\nKvy1=5\n") << 0 << 0
            << QStringList{"L_dPkl1 0.80", "L_Kv1 2.24", "FlEdt_Kvy1 5.0", "L_dPklReal1 0.16"}
            << QStringList{"Kvy1=5", "Q1=2", "dPr1=1", "dPf1=0.1"};
        QTest::newRow("Kvy2 above the suggestion")
            << QByteArray("[Values]\nQ2=3\ndPr2=2\nKvy2=5\n") << 0 << 0
            << QStringList{"L_dPkl2 2.00", "L_Kv2 2.12", "FlEdt_Kvy2 5.0", "L_dPklReal2 0.36"}
            << QStringList{"Kvy2=5", "Q2=3", "dPr2=2"};
    }

    void storedValues()
    {
        QFETCH(QByteArray, settings);
        QFETCH(int, page);
        QFETCH(int, lastSysAfterShow);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, saved);
        QVERIFY(writeFile(settingsFile(), settings));
        openWindow();
        QCOMPARE(m_form->ui->PgCtrl_Sys->currentIndex(), page);
        QCOMPARE(int(sizing().LastSys), lastSysAfterShow);
        for (const QString &item : shown) {
            const QString name = item.section(QLatin1Char(' '), 0, 0);
            QCOMPARE(name + QLatin1Char(' ') + shownValue(name), item);
        }
        QVERIFY(m_form->close());
        const QByteArray file = readFile(settingsFile());
        for (const QString &item : saved) {
            const QByteArray key = item.section(QLatin1Char('='), 0, 0).toLatin1();
            QCOMPARE(key + '=' + iniValue(file, key), item.toLatin1());
        }
    }

    void readOnlySettingsAtClose()
    {
        openWindow();
        typeInto("FlEdt_dPr1", QStringLiteral("4.5"));
        const QByteArray path = QFile::encodeName(settingsFile());
        QCOMPARE(::chmod(path.constData(), 0444), 0);

        QVERIFY(!m_form->close());
        QVERIFY(m_form->isVisible());
        QVERIFY(!m_form->close());   // every attempt saves again
        QVERIFY(m_form->isVisible());
        const QString message = QStringLiteral("Unable to write to %1.").arg(settingsFile());
        QCOMPARE(m_boxes->texts(), (QStringList{message, message}));
        QCOMPARE(m_boxes->boxes[0].caption, QStringLiteral("Подбор Zelton"));
        QCOMPARE(m_boxes->boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(iniValue(readFile(settingsFile()), "dPr1"), QByteArray("0"));

        QCOMPARE(::chmod(path.constData(), 0644), 0);
        QVERIFY(m_form->close());
        QVERIFY(!m_form->isVisible());
        QCOMPARE(iniValue(readFile(settingsFile()), "dPr1"), QByteArray("4.5"));
        QCOMPARE(m_boxes->boxes.size(), 2);
    }

    void overflowInSettings()
    {
        QVERIFY(writeFile(settingsFile(), "[Main]\nLastSys=1\n[Values]\nQ1=2\ndPr1=1E400\ndPf1=3\n"));
        openWindow();
        QCOMPARE(m_boxes->texts(), QStringList{QStringLiteral("Floating point overflow.")});
        QCOMPARE(m_boxes->boxes[0].caption, QStringLiteral("Подбор Zelton"));
        QVERIFY(m_form->isVisible());
        // the load stopped at dPr1 and nothing was pushed into the fields
        QCOMPARE(sizing().Q1, 2.0);
        QCOMPARE(sizing().dPf1, 0.0);
        QCOMPARE(field("FlEdt_Q1")->text(), QStringLiteral("0.00"));
        // the window works
        typeInto("FlEdt_dPr1", QStringLiteral("2"));
        QCOMPARE(line("L_dPkl1"), dropLine("2.00"));
    }

    void unwritableDirectoryAtStart()
    {
        // a directory that cannot hold the file: a path through a regular file
        QVERIFY(writeFile(m_dir->filePath(QStringLiteral("file")), "x"));
        setExecutableDirectoryOverride(m_dir->filePath(QStringLiteral("file/sub")));
        openWindow();
        QCOMPARE(m_boxes->texts(),
                 QStringList{QStringLiteral("Unable to write to %1.")
                                 .arg(m_dir->filePath(QStringLiteral("file/sub/settings.ini")))});
        QVERIFY(m_form->isVisible());
        QCOMPARE(field("FlEdt_dPr1")->text(), QStringLiteral("0.00"));
        QCOMPARE(line("L_Kv1"), kKvZero);
        QCOMPARE(sizing().dPr1, 0.0);
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

    void noTimersWhileWaiting();
    void crosshairFollowsTheMouse();
    void crosshairErasedOnceOverThePage();
    void sessionEndSavesInputs();
    void programFolderNotWritable_data();
    void programFolderNotWritable();
    void pageSwitchWaitsForFieldExit_data();
    void pageSwitchWaitsForFieldExit();
};

namespace {

// A child program starts, writes its file and ends well within this (ms),
// sanitizers included; a failing wait gives up then.
constexpr int kChildWait = 8000;

// A mouse move as the window system delivers it: to the window, which
// finds the widget under the pointer.
void moveMouse(QWidget *over, QPoint pos)
{
    QWidget *top = over->window();
    QTest::mouseMove(top->windowHandle(), over->mapTo(top, pos));
}

QImage grabPicture(QWidget *page)
{
    return page->grab(QRect(0, 0, 423, 557)).toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

void TestWorkflow::noTimersWhileWaiting()
{
    // Waiting for input, the program runs no timer: the only one is the
    // caret blink of the focused field; not even after a hint has come and
    // gone.
    openWindow();
    enterExample();
    clickPage(2);
    moveMouse(m_form->ui->L_Top, QPoint(50, 50));
    clickPage(0);
    HintController *hints = TApplication::instance()->hintController();
    // The pointer rests on a hot zone (short delays: no test waits long).
    // The hint stays until the toolkit's one-shot tooltip wake-up after the
    // last move has passed (it finds no tooltip text and shows nothing).
    hints->setShowDelay(1);
    hints->setDisplayTime(m_form->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay) + 300);
    QWidget *zone = m_form->ui->L__dPn;
    QCursor::setPos(zone->mapToGlobal(zone->rect().center()));
    QTRY_VERIFY_WITH_TIMEOUT(hints->hintWindow() && hints->hintWindow()->isVisible(), 3000);
    QTRY_VERIFY_WITH_TIMEOUT(!hints->hintWindow()->isVisible(), 3000);
    QCOMPARE(hints->state(), HintController::State::TimedOut);
    hints->setShowDelay(TFlatHint::kShowDelay);
    hints->setDisplayTime(TFlatHint::kDisplayTime);
    QCoreApplication::processEvents();
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    QList<QObject *> objects = m_form->findChildren<QObject *>();
    objects << m_form.get() << qApp << hints << hints->findChildren<QObject *>();
    for (QWidget *top : QApplication::topLevelWidgets())
        objects << top << top->findChildren<QObject *>();
    QStringList withTimers;
    for (QObject *o : std::as_const(objects)) {
        if (dispatcher->registeredTimers(o).isEmpty())
            continue;
        const bool caret = o->parent() == QApplication::focusWidget()
                           && QByteArray(o->metaObject()->className()) == "QWidgetLineControl";
        if (!caret)
            withTimers << QStringLiteral("%1 (%2)").arg(o->objectName(),
                                                        QLatin1String(o->metaObject()->className()));
    }
    QVERIFY2(withTimers.isEmpty(), qPrintable(withTimers.join(QLatin1String(", "))));
}

void TestWorkflow::crosshairFollowsTheMouse()
{
    openWindow();
    clickPage(2);
    QWidget *page = m_form->ui->Sht_Dia;
    QWidget *overlay = m_form->ui->L_Top;
    const QImage clean = grabPicture(page);
    const QRgb red = qRgb(255, 0, 0);

    const int X = 100, Y = 200;
    moveMouse(overlay, QPoint(X, Y));
    const QImage drawn = grabPicture(page);
    int redInColumn = 0, redInRow = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) {
            if (drawn.pixel(x, y) == clean.pixel(x, y))
                continue;
            QVERIFY2(x == X || y == Y, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            QCOMPARE(drawn.pixel(x, y), red);
            redInColumn += x == X;
            redInRow += y == Y;
        }
    // dashed lines across the whole picture
    QVERIFY(redInColumn > 557 / 3 && redInColumn < 557);
    QVERIFY(redInRow > 423 / 3 && redInRow < 423);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(drawn.pixel(X, i), red);
        QCOMPARE(drawn.pixel(i, Y), red);
    }
    QCOMPARE(drawn.pixel(X, 4), clean.pixel(X, 4));
    QCOMPARE(drawn.pixel(5, Y), clean.pixel(5, Y));
    // the end point is not painted: column 422 falls on a dash, 421 is red
    QCOMPARE(drawn.pixel(421, Y), red);
    QCOMPARE(drawn.pixel(422, Y), clean.pixel(422, Y));

    // the next move draws it at the new place only
    moveMouse(overlay, QPoint(300, 50));
    const QImage moved = grabPicture(page);
    QCOMPARE(moved.pixel(X, 1), clean.pixel(X, 1));
    QCOMPARE(moved.pixel(300, 1), red);
    QCOMPARE(moved.pixel(1, 50), red);

    // the panel has no handler: the crosshair stays
    moveMouse(m_form->ui->Pan_Dia, QPoint(10, 10));
    moveMouse(m_form->ui->L_Dia, QPoint(10, 10));
    // nor does a drag over it, which the panel leaves to the page
    QTest::mousePress(m_form->ui->Pan_Dia, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(m_form->ui->Pan_Dia, QPoint(20, 20));
    QTest::mouseRelease(m_form->ui->Pan_Dia, Qt::LeftButton, {}, QPoint(20, 20));
    QCoreApplication::processEvents();
    QCOMPARE(grabPicture(page), moved);

    // over the bare page it goes, and the picture is its own again
    moveMouse(page, QPoint(440, 30));
    QCoreApplication::processEvents();
    QCOMPARE(grabPicture(page), clean);

    // a crosshair left on the page goes when another page is shown
    moveMouse(overlay, QPoint(X, Y));
    QCOMPARE(grabPicture(page), drawn);
    clickPage(0);
    clickPage(2);
    QCOMPARE(grabPicture(page), clean);
}

void TestWorkflow::crosshairErasedOnceOverThePage()
{
    openWindow();
    clickPage(2);
    QWidget *page = m_form->ui->Sht_Dia;
    PaintCounter counter;
    m_form->ui->L_Top->installEventFilter(&counter);
    QCoreApplication::processEvents();
    counter.paints = 0;

    // no crosshair was ever drawn; the first move over the page repaints
    // the overlay once (the update is delivered with the posted events),
    // the next ones not at all
    moveMouse(page, QPoint(440, 30));
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints, 1);
    moveMouse(page, QPoint(450, 40));
    moveMouse(page, QPoint(460, 500));
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints, 1);

    // a move over the picture repaints it at once, and arms the erase again
    moveMouse(m_form->ui->L_Top, QPoint(10, 10));
    QCOMPARE(counter.paints, 2);
    moveMouse(page, QPoint(440, 30));
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints, 3);
    moveMouse(page, QPoint(441, 30));
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints, 3);
}

void TestWorkflow::sessionEndSavesInputs()
{
    // The real program in a directory of its own, ended by SIGTERM as at
    // the end of a desktop session: what the window holds is saved.
    const QString exe = m_dir->filePath(QStringLiteral("zelton"));
    QVERIFY(QFile::copy(QStringLiteral(ZELTON_EXE), exe));
    QVERIFY(QFile::setPermissions(exe, QFile::permissions(exe) | QFile::ExeOwner));

    QFileSystemWatcher watcher({m_dir->path()});
    QSignalSpy changed(&watcher, &QFileSystemWatcher::directoryChanged);
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(exe, {});
    QVERIFY(child.waitForStarted(kChildWait));
    // the first start writes the file of zeros
    const QDeadlineTimer started(kChildWait);
    while (readFile(settingsFile()) != kZeroSettings)
        QVERIFY2(changed.wait(started.remainingTime()), "no settings file written");

    // The test changes the file under the running program: a save rewrites
    // dPr1 from the window and keeps the foreign section.
    QByteArray edited = kZeroSettings;
    edited.replace("dPr1=0", "dPr1=7");
    edited += "[Extra]\r\nkeep=1\r\n";
    const QString temp = m_dir->filePath(QStringLiteral("edited.tmp"));
    QVERIFY(writeFile(temp, edited));
    QCOMPARE(::rename(QFile::encodeName(temp).constData(),
                      QFile::encodeName(settingsFile()).constData()), 0);

    QCOMPARE(::kill(pid_t(child.processId()), SIGTERM), 0);
    QVERIFY(child.waitForFinished(kChildWait));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    const QByteArray saved = readFile(settingsFile());
    QCOMPARE(iniValue(saved, "dPr1"), QByteArray("0"));
    QVERIFY(saved.contains("[Extra]\r\nkeep=1"));
}

namespace {

// Runs the program child as an ordinary user would run it: root becomes
// nobody (whom file permissions bind); another user stays who he is. Its
// home and configuration folder are the given ones (none: the default).
struct ChildRun {
    int exitCode = -1;
    QString output;
    QString errors;
    // for failure messages
    QByteArray all() const { return (output + errors).toLocal8Bit(); }
};

ChildRun runAsOrdinaryUser(const QString &exe, const QStringList &args, const QString &home,
                           const QString &configHome)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    if (configHome.isEmpty())
        env.remove(QStringLiteral("XDG_CONFIG_HOME"));
    else
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    env.remove(QStringLiteral("XDG_RUNTIME_DIR")); // root's, not ours
    // the leak checker's suppressions, where nobody can read them
    QString lsan = env.value(QStringLiteral("LSAN_OPTIONS"));
    static const QRegularExpression suppressions(QStringLiteral("suppressions=([^:]*)"));
    const QRegularExpressionMatch match = suppressions.match(lsan);
    if (match.hasMatch()) {
        const QString copy = home + QStringLiteral("/lsan.supp");
        QFile::remove(copy);
        QFile::copy(match.captured(1), copy);
        QFile::setPermissions(copy, QFile::permissions(copy) | QFile::ReadOther);
        const QString quoted = QLatin1Char('"') + copy + QLatin1Char('"'); // the path may hold blanks
        env.insert(QStringLiteral("LSAN_OPTIONS"), lsan.replace(match.capturedStart(1), match.capturedLength(1), quoted));
    }
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.setChildProcessModifier([] {
        if (!becomeOrdinaryUser())
            ::_exit(97);
    });
    child.start(exe, args);
    ChildRun run;
    if (!child.waitForStarted(10000) || !child.waitForFinished(30000)) {
        child.kill();
        child.waitForFinished(5000);
        return run;
    }
    run.output = QString::fromUtf8(child.readAllStandardOutput());
    run.errors = QString::fromUtf8(child.readAllStandardError());
    if (child.exitStatus() == QProcess::NormalExit)
        run.exitCode = child.exitCode();
    return run;
}

// Makes `path` belong to nobody when we are root, so that nobody may write it.
bool giveToOrdinaryUser(const QString &path)
{
    const OrdinaryUserIds nobody = nobodyIds();
    return ::geteuid() != 0 || ::chown(QFile::encodeName(path).constData(), nobody.uid, nobody.gid) == 0;
}

} // namespace

void TestWorkflow::programFolderNotWritable_data()
{
    QTest::addColumn<QByteArray>("beside"); // settings.ini in the program folder; null: none
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("perUser"); // the settings go to the per-user folder
    QTest::addColumn<bool>("xdg");     // XDG_CONFIG_HOME is set
    QTest::addColumn<QString>("q1");   // Q1 as the first start shows it
    QTest::addColumn<bool>("homeWritable");
    QTest::newRow("writable settings.ini") << kZeroSettings << 0666 << false << true << "0.00" << true;
    QTest::newRow("no settings.ini") << QByteArray() << 0 << true << true << "0.00" << true;
    QTest::newRow("no settings.ini, default folder") << QByteArray() << 0 << true << false << "0.00" << true;
    QTest::newRow("read-only settings.ini: site defaults")
        << QByteArray("[Values]\r\nQ1=5\r\n") << 0444 << true << true << "5.00" << true;
    QTest::newRow("no settings.ini, home not writable") << QByteArray() << 0 << true << true << "0.00" << false;
}

// Installed system-wide: the program's folder takes no new files for its
// user. A settings.ini there that the user may write is written in place;
// otherwise the settings live in the per-user folder, starting from the
// site's file when there is one. Either way no box, the close ends the
// program with 0, and the next start shows the value back. Where even the
// per-user folder cannot be made, the write error names that file.
void TestWorkflow::programFolderNotWritable()
{
    QFETCH(QByteArray, beside);
    QFETCH(int, mode);
    QFETCH(bool, perUser);
    QFETCH(bool, xdg);
    QFETCH(QString, q1);
    QFETCH(bool, homeWritable);
    const QString prog = m_dir->filePath(QStringLiteral("prog"));
    const QString home = m_dir->filePath(QStringLiteral("home"));
    const QString config = home + (xdg ? QStringLiteral("/config") : QStringLiteral("/.config"));
    const QString besideFile = prog + QStringLiteral("/settings.ini");
    const QString userFile = config + QStringLiteral("/zelton/settings.ini");
    const QString exe = prog + QStringLiteral("/zelton");
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("prog")));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("home")));
    QVERIFY(QFile::copy(QStringLiteral(PROGRAM_CHILD), exe));
    QVERIFY(QFile::setPermissions(exe, QFile::permissions(exe) | QFile::ExeOwner | QFile::ExeOther
                                           | QFile::ReadOther));
    if (!beside.isNull()) {
        QVERIFY(writeFile(besideFile, beside));
        QCOMPARE(::chmod(QFile::encodeName(besideFile).constData(), mode_t(mode)), 0);
    }
    if (homeWritable)
        QVERIFY(giveToOrdinaryUser(home));
    QCOMPARE(::chmod(QFile::encodeName(m_dir->path()).constData(), 0755), 0);
    QCOMPARE(::chmod(QFile::encodeName(prog).constData(), 0555), 0);
    QCOMPARE(::chmod(QFile::encodeName(home).constData(), homeWritable ? 0755 : 0555), 0);
    const auto restore = qScopeGuard([&] {
        ::chmod(QFile::encodeName(prog).constData(), 0755);
        ::chmod(QFile::encodeName(home).constData(), 0755);
    });
    const QString used = perUser ? userFile : besideFile;

    ChildRun first = runAsOrdinaryUser(exe, {QStringLiteral("3.5")}, home, xdg ? config : QString());
    if (!homeWritable) {
        // at the start and at the close, and the window stays open
        QCOMPARE(first.output.count(QStringLiteral("box: Unable to write to %1.\n").arg(userFile)), 2);
        QVERIFY2(first.output.endsWith(QLatin1String("close refused\n")), first.all().constData());
        QCOMPARE(first.exitCode, 3);
        return;
    }
    QVERIFY2(first.exitCode == 0, first.all().constData());
    QVERIFY2(!first.output.contains(QLatin1String("box")), first.all().constData());
    QVERIFY2(first.output.contains(QStringLiteral("settings %1\n").arg(used)), first.all().constData());
    QVERIFY2(first.output.contains(QStringLiteral("Q1 %1\n").arg(q1)), first.all().constData());
    QCOMPARE(iniValue(readFile(used), "dPr1"), QByteArray("3.5"));
    if (perUser) {
        QCOMPARE(readFile(besideFile), beside); // the site's file, untouched
        QCOMPARE(iniValue(readFile(userFile), "Q1"), QByteArray(q1 == QLatin1String("5.00") ? "5" : "0"));
    } else {
        QVERIFY(!QFileInfo::exists(config));
    }
    QCOMPARE(QDir(prog).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             beside.isNull() ? QStringList{"zelton"} : (QStringList{"settings.ini", "zelton"}));

    ChildRun second = runAsOrdinaryUser(exe, {}, home, xdg ? config : QString());
    QVERIFY2(second.exitCode == 0, second.all().constData());
    QVERIFY2(!second.output.contains(QLatin1String("box")), second.all().constData());
    QVERIFY2(second.output.contains(QStringLiteral("dPr1 3.50\n")), second.all().constData());
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
