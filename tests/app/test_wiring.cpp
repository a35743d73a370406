// Every input of both circuits, the clearing buttons and the close of the
// main window, each tied to the values it stands for: the result line a
// field moves and the key it is saved under, the values a button zeroes,
// and a close that cannot save leaving the program running.
#include "app/application.h"
#include "app/mainwindowfactory.h"
#include "tests/app/workflowfixture.h"

#include <QTimer>

namespace {

// Both circuits with every value set and distinct; each Kvy is its
// suggestion (Kv 2.92 and 2.25), so rewriting the fields changes nothing.
const QByteArray kBothCircuits = "[Values]\nQ1=9\ndPr1=10\ndPf1=0.5\ndPppr1=0.4\ndPs=0.3\ndPtr1=0.2\ndPdr1=0.1\n"
                                 "dPn=1.5\nKvy1=2\nQ2=9\ndPr2=20\ndPf2=0.6\ndPppr2=0.7\ndPt=0.8\ndPtr2=0.9\n"
                                 "dPdr2=1\nKvy2=2\n";

// The fields in the order a close reads them back.
const QStringList kPullOrder = {"FlEdt_Q1",    "FlEdt_dPr1",  "FlEdt_dPf1",   "FlEdt_dPppr1", "FlEdt_dPs",
                                "FlEdt_dPtr1", "FlEdt_dPdr1", "FlEdt_dPn",    "FlEdt_Kvy1",   "FlEdt_Q2",
                                "FlEdt_dPr2",  "FlEdt_dPf2",  "FlEdt_dPppr2", "FlEdt_dPt",    "FlEdt_dPtr2",
                                "FlEdt_dPdr2", "FlEdt_Kvy2"};

QString fieldOf(int key) { return QStringLiteral("FlEdt_") + QLatin1String(kKeys[key]); }

// "key value" of every settings key in the SizingState.
QStringList stateValues()
{
    QStringList out;
    for (int i = 0; i < kKeyCount; ++i)
        out << QStringLiteral("%1 %2").arg(QLatin1String(kKeys[i])).arg(sizing().*kFields[i]);
    return out;
}

// "key value" of every settings key in an INI text; a missing key is 0.
QStringList savedValues(const QByteArray &file)
{
    QStringList out;
    for (int i = 0; i < kKeyCount; ++i) {
        const QByteArray value = iniValue(file, kKeys[i]);
        out << QStringLiteral("%1 %2").arg(QLatin1String(kKeys[i]),
                                           value.isNull() ? QStringLiteral("0") : QString::fromLatin1(value));
    }
    return out;
}

} // namespace

class TestWiring : public WorkflowFixture
{
    Q_OBJECT

    // "FlEdt_… text" of the field of every settings key.
    QStringList fieldTexts() const
    {
        QStringList out;
        for (int i = 0; i < kKeyCount; ++i)
            out << fieldOf(i) + QLatin1Char(' ') + shownValue(fieldOf(i));
        return out;
    }

private slots:
    // One value typed into each input, from dPr1 = dPr2 = 4: the line it
    // moves, the SizingState field it goes to and the key it is saved under.
    void everyInputWired_data()
    {
        QTest::addColumn<QString>("key"); // of the field FlEdt_<key>
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("moved");      // "L_… number"
        QTest::addColumn<QStringList>("values"); // every key not zero: "key=value"
        const QStringList start = {"dPr1=4", "dPr2=4"};
        QTest::newRow("dPr1") << "dPr1"
                              << "6"
                              << "L_dPkl1 6.00" << QStringList{"dPr1=6", "dPr2=4"};
        QTest::newRow("dPf1") << "dPf1"
                              << "0.5"
                              << "L_dPkl1 3.00" << start + QStringList{"dPf1=0.5"};
        QTest::newRow("dPppr1") << "dPppr1"
                                << "0.25"
                                << "L_dPkl1 3.75" << start + QStringList{"dPppr1=0.25"};
        QTest::newRow("dPs") << "dPs"
                             << "1.5"
                             << "L_dPkl1 2.50" << start + QStringList{"dPs=1.5"};
        QTest::newRow("dPtr1") << "dPtr1"
                               << "0.75"
                               << "L_dPkl1 3.25" << start + QStringList{"dPtr1=0.75"};
        QTest::newRow("dPdr1") << "dPdr1"
                               << "2"
                               << "L_dPkl1 2.00" << start + QStringList{"dPdr1=2"};
        QTest::newRow("dPn") << "dPn"
                             << "1.25"
                             << "L_dPkl1 5.25" << start + QStringList{"dPn=1.25"};
        QTest::newRow("Q1") << "Q1"
                            << "3"
                            << "L_Kv1 1.50" << start + QStringList{"Q1=3", "Kvy1=1"};
        QTest::newRow("dPr2") << "dPr2"
                              << "5"
                              << "L_dPkl2 5.00" << QStringList{"dPr1=4", "dPr2=5"};
        QTest::newRow("dPf2") << "dPf2"
                              << "0.5"
                              << "L_dPkl2 3.50" << start + QStringList{"dPf2=0.5"};
        QTest::newRow("dPppr2") << "dPppr2"
                                << "0.25"
                                << "L_dPkl2 3.75" << start + QStringList{"dPppr2=0.25"};
        QTest::newRow("dPt") << "dPt"
                             << "1.5"
                             << "L_dPkl2 2.50" << start + QStringList{"dPt=1.5"};
        QTest::newRow("dPtr2") << "dPtr2"
                               << "0.75"
                               << "L_dPkl2 3.25" << start + QStringList{"dPtr2=0.75"};
        QTest::newRow("dPdr2") << "dPdr2"
                               << "2"
                               << "L_dPkl2 2.00" << start + QStringList{"dPdr2=2"};
        QTest::newRow("Q2") << "Q2"
                            << "3"
                            << "L_Kv2 1.50" << start + QStringList{"Q2=3", "Kvy2=1"};
    }

    void everyInputWired()
    {
        QFETCH(QString, key);
        QFETCH(QString, typed);
        QFETCH(QString, moved);
        QFETCH(QStringList, values);
        QVERIFY(writeFile(settingsFile(), "[Values]\ndPr1=4\ndPr2=4\n"));
        openWindow();
        const int index = keyIndex(key.toStdString());
        QVERIFY(index >= 0);
        const bool first = index < kKeysOfCircuit1;
        if (!first)
            clickPage(1);
        const QString other = QLatin1String(first ? "L_dPkl2" : "L_dPkl1");
        QCOMPARE(shownValue(other), QStringLiteral("4.00"));

        typeInto(qPrintable(fieldOf(index)), typed);
        const QString line = moved.section(QLatin1Char(' '), 0, 0);
        QCOMPARE(line + QLatin1Char(' ') + shownValue(line), moved);
        QCOMPARE(shownValue(other), QStringLiteral("4.00"));

        const QStringList expected = savedValues(values.join(QLatin1Char('\n')).toLatin1());
        QCOMPARE(stateValues(), expected);
        QVERIFY(m_form->close());
        QCOMPARE(savedValues(readFile(settingsFile())), expected);
    }

    // Each button zeroes all of its circuit's values and none of the other's.
    void clearingZeroesItsCircuit_data()
    {
        QTest::addColumn<int>("page");
        QTest::newRow("Btn_Clear1") << 0;
        QTest::newRow("Btn_Clear2") << 1;
    }

    void clearingZeroesItsCircuit()
    {
        QFETCH(int, page);
        QVERIFY(writeFile(settingsFile(), kBothCircuits));
        openWindow();
        if (page != 0)
            clickPage(page);
        const QStringList stored = savedValues(kBothCircuits);
        const QStringList texts = fieldTexts();
        QCOMPARE(stateValues(), stored);

        QTest::mouseClick(page == 0 ? m_form->ui->Btn_Clear1 : m_form->ui->Btn_Clear2, Qt::LeftButton);
        QStringList expectedState = stored, expectedTexts = texts;
        for (int i = 0; i < kKeyCount; ++i)
            if ((i < kKeysOfCircuit1) == (page == 0)) {
                expectedState[i] = QLatin1String(kKeys[i]) + QStringLiteral(" 0");
                const bool kvy = QLatin1String(kKeys[i]).startsWith(QLatin1String("Kvy"));
                expectedTexts[i] = fieldOf(i) + (kvy ? QStringLiteral(" 0.0") : QStringLiteral(" 0.00"));
            }
        QCOMPARE(stateValues(), expectedState);
        QCOMPARE(fieldTexts(), expectedTexts);
        QVERIFY(m_form->close());
        QCOMPARE(savedValues(readFile(settingsFile())), expectedState);
    }

    // Filling the fields from the state goes Kvy first, then dPr, Q and the
    // other drops of a circuit, circuit 1 before circuit 2. Seen through a
    // clearing button, whose push rewrites every field here: its own
    // circuit's to zeros, the other's to values changed in the state.
    void pushOrder_data()
    {
        QTest::addColumn<int>("page");
        QTest::newRow("Btn_Clear1") << 0;
        QTest::newRow("Btn_Clear2") << 1;
    }

    void pushOrder()
    {
        QFETCH(int, page);
        QVERIFY(writeFile(settingsFile(), kBothCircuits));
        openWindow();
        if (page != 0)
            clickPage(page);
        for (int i = 0; i < kKeyCount; ++i)
            if ((i < kKeysOfCircuit1) != (page == 0))
                sizing().*kFields[i] += 1;
        QStringList changed; // each field once, at its first change
        for (TFlatFloatEdit *f : m_form->findChildren<TFlatFloatEdit *>())
            connect(f, &TCustomFlatFloatEdit::OnChange, this, [f, &changed] {
                if (!changed.contains(f->objectName()))
                    changed << f->objectName();
            });

        QTest::mouseClick(page == 0 ? m_form->ui->Btn_Clear1 : m_form->ui->Btn_Clear2, Qt::LeftButton);
        QCOMPARE(changed,
                 (QStringList{"FlEdt_Kvy1", "FlEdt_dPr1", "FlEdt_Q1", "FlEdt_dPf1", "FlEdt_dPppr1", "FlEdt_dPs",
                              "FlEdt_dPtr1", "FlEdt_dPdr1", "FlEdt_dPn", "FlEdt_Kvy2", "FlEdt_dPr2", "FlEdt_Q2",
                              "FlEdt_dPf2", "FlEdt_dPppr2", "FlEdt_dPt", "FlEdt_dPtr2", "FlEdt_dPdr2"}));
    }

    // Reading the fields back at close goes Q first, then the drops, then
    // Kvy, circuit 1 before circuit 2. Seen through a field whose number
    // lies beyond the double range: the reading stops there, with the
    // fields before it read and it and the ones after it not.
    void pullOrder_data()
    {
        QTest::addColumn<int>("place"); // of the field in the order of reading
        const QStringList order = kPullOrder;
        for (int i = 0; i < order.size(); ++i)
            QTest::newRow(qPrintable(order[i])) << i;
    }

    void pullOrder()
    {
        QFETCH(int, place);
        const QStringList order = kPullOrder;
        openWindow();
        if (place >= 9)
            clickPage(1);
        typeInto(qPrintable(order[place]), QStringLiteral("1E400"));
        for (int i = 0; i < kKeyCount; ++i)
            sizing().*kFields[i] = 7;

        QVERIFY(!m_form->close());
        QCOMPARE(m_boxes->texts(), QStringList(2, QStringLiteral("Floating point overflow.")));
        QStringList read, unread;
        for (int i = 0; i < order.size(); ++i)
            (*stateField(order[i].mid(6)) == 7 ? unread : read) << order[i];
        QCOMPARE(read, order.mid(0, place));
        QCOMPARE(unread, order.mid(place));
    }

    // The program's own main window in the running application: a close
    // whose save fails is refused and the loop goes on; the next close,
    // with the file writable again, saves and ends the loop.
    void closeRefusedKeepsTheProgramRunning()
    {
        TApplication *app = TApplication::instance();
        const QByteArray path = QFile::encodeName(settingsFile());
        // the main window, the close's result, the loop asked to end, the
        // window visible: after the failed close, then after the next one
        QList<bool> steps;
        const int code = runMainWindow(*app, [&](MainWindowHandlers &h) {
            std::unique_ptr<QWidget> window = createMainWindow(h);
            QWidget *w = window.get();
            // once the loop runs
            QTimer::singleShot(0, w, [&, w] {
                ::chmod(path.constData(), 0444);
                steps << (app->mainWindow() == w) << w->close() << app->isTerminated() << w->isVisible();
                // a later turn of the loop: it runs only if the loop goes on
                QTimer::singleShot(0, w, [&, w] {
                    ::chmod(path.constData(), 0644);
                    steps << (app->mainWindow() == w) << w->close() << app->isTerminated() << w->isVisible();
                });
            });
            return window;
        });
        QCOMPARE(code, 0);
        QCOMPARE(steps, (QList<bool>{true, false, false, true, true, true, true, false}));
        QCOMPARE(m_boxes->texts(), QStringList{QStringLiteral("Unable to write to %1.").arg(settingsFile())});
        QCOMPARE(app->mainWindow(), nullptr);
    }
};

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    prepareApplication(app);
    TestWiring test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_wiring.moc"
