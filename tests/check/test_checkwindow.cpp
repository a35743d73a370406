// The valve check window driven as a user drives it: Ctrl+K and the page
// menus open it for the circuit shown, typing in either window updates it,
// its two buttons write the main window's fields through their own path,
// and the settings file keeps its inputs after closing.
#include "app/hintcontroller.h"
#include "check/checkactions.h"
#include "check/valvecheckwindow.h"
#include "core/checkinputs.h"
#include "sheet/sheetactions.h"
#include "sheet/sheetcontent.h"
#include "tests/app/workflowfixture.h"
#include "ui/lookandfeel.h"
#include "widgets/controlsubclass.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>

namespace {

// The worked sizing of the dependent circuit with the check of 1 Гкал/ч at
// 150/70 °C and P1 6 атм: Kv 2.24, rows 1.6, 2.5 and the chosen 2.
const QByteArray kWorked = "[Main]\nLastSys=0\n[Values]\nQ1=2\ndPr1=1\ndPf1=0.1\n"
                           "[Checks]\nHeatLoad1=1\nt1_1=150\nt2_1=70\nP1_1=6\n";

const VerdictTone kGood = VerdictTone::Good, kBad = VerdictTone::Bad, kNeutral = VerdictTone::Neutral;

} // namespace

class TestCheckWindow : public WorkflowFixture
{
    Q_OBJECT

    CheckActions *m_actions = nullptr;

    // The main window on `settings`, with the sheet's and the check's
    // actions as the program adds them.
    void start(const QByteArray &settings)
    {
        clearCheckInputs();
        QVERIFY(writeFile(settingsFile(), settings));
        openWindow();
        new SheetActions(m_form.get());
        m_actions = new CheckActions(m_form.get());
    }
    ValveCheckWindow *checkWindow() const { return m_actions->checkWindow(); }
    template <class T = QWidget>
    T *checkControl(const QString &name) const
    {
        return checkWindow() ? checkWindow()->findChild<T *>(name) : nullptr;
    }
    QString checkText(const QString &name) const
    {
        auto *label = checkControl<QLabel>(name);
        return label ? label->text() : QStringLiteral("(no %1)").arg(name);
    }
    void pressCtrlK()
    {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : m_form.get(), Qt::Key_K, Qt::ControlModifier);
    }
    // Types into a field of either window.
    void typeAnywhere(const QString &name, const QString &text)
    {
        TFlatFloatEdit *f = field(qPrintable(name));
        if (!f)
            f = checkControl<TFlatFloatEdit>(name);
        QVERIFY2(f, qPrintable(name));
        f->selectAll();
        QTest::keyClicks(f, text);
    }

private slots:
    // Made at the first Ctrl+K, for the circuit on screen (on the nomogram
    // the one shown last); the main window keeps the focus and its field
    // its text (the shortcut, not the field, takes Ctrl+K).
    void opensForTheCircuitShown_data()
    {
        QTest::addColumn<QList<int>>("pages");
        QTest::addColumn<int>("circuit");
        QTest::newRow("dependent page") << QList<int>{} << 1;
        QTest::newRow("independent page") << QList<int>{1} << 2;
        QTest::newRow("nomogram after the independent page") << QList<int>{1, 2} << 2;
    }
    void opensForTheCircuitShown()
    {
        QFETCH(QList<int>, pages);
        start(kWorked);
        for (int page : pages)
            clickPage(page);
        QCOMPARE(m_form->findChildren<ValveCheckWindow *>().size(), 0);
        QWidget *focus = QApplication::focusWidget();
        const QString text = focus ? static_cast<QLineEdit *>(focus)->text() : QString();
        pressCtrlK();
        QVERIFY(checkWindow() && checkWindow()->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(checkWindow()));
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::activeWindow(), m_form.get());
        QTEST(checkWindow()->circuit(), "circuit");
        QCOMPARE(checkText("L_Circuit"), m_form->ui->PgCtrl_Sys->tabText(checkWindow()->circuit() - 1));
        QCOMPARE(QApplication::focusWidget(), focus);
        QVERIFY(!focus || static_cast<QLineEdit *>(focus)->text() == text);
        QVERIFY(checkWindow()->windowFlags().testFlag(Qt::Tool));
    }

    // It follows the page, keeps its place, and comes back where it was.
    void followsThePageInPlace()
    {
        start(kWorked);
        pressCtrlK();
        checkWindow()->move(40, 30);
        const QPoint place = checkWindow()->pos();
        QCOMPARE(checkText("L_Kvy2"), QStringLiteral("2.5"));
        clickPage(1);
        QCOMPARE(checkWindow()->circuit(), 2);
        QCOMPARE(checkText("L_Flow"), QStringLiteral("нет расхода: тепловая нагрузка должна быть больше нуля"));
        clickPage(2);
        QCOMPARE(checkWindow()->circuit(), 2);
        QCOMPARE(checkWindow()->pos(), place);
        checkWindow()->close();
        clickPage(0);
        pressCtrlK();
        QCOMPARE(checkWindow()->circuit(), 1);
        QCOMPARE(checkWindow()->pos(), place);
        QCOMPARE(checkText("L_Flow"), QStringLiteral("Расход через клапан G = 13.47 м3/ч"));
    }

    // Every keystroke in either window shows at once, in words and colour.
    void liveInBothWindows_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<VerdictTone>("tone");
        const auto row = [](const char *name, const char *field, const char *typed, const char *label,
                            const char *shown, VerdictTone tone) {
            QTest::newRow(name) << QString(field) << QString(typed) << QString(label) << QString(shown) << tone;
        };
        // clang-format off
        row("heat load", "FlEdt_HeatLoad", "2", "L_Flow", "Расход через клапан G = 26.95 м3/ч", kNeutral);
        row("no P1: water taken at 6 атм", "FlEdt_P1", "\b", "L_Flow",
            "Расход через клапан G = 13.47 м3/ч (свойства воды при 6 атм: P1 не задано)", kNeutral);
        row("P1 below saturation", "FlEdt_P1", "3", "L_Limit",
            "вода кипит перед клапаном: давление P1 не выше давления насыщения", kBad);
        row("z", "FlEdt_z", "0.9", "L_Limit", "Допустимый перепад ΔPкав = 1.96 атм (z = 0.90, Pнас = 4.85 атм абс.)",
            kNeutral);
        row("dPр in the main window", "FlEdt_dPr1", "2", "L_Series", "Kv = 1.49 м3/ч, располагаемый перепад 2.00 атм",
            kNeutral);
        row("dPр: the authority", "FlEdt_dPr1", "1.3", "L_Authority2", "a = 0.49: авторитет допустимый",
            VerdictTone::Caution);
        row("Q in the main window", "FlEdt_Q1", "13.47", "L_DesignPoint1",
            "опасность кавитации: перепад 1.81 атм больше допустимого 1.09 атм", kBad);
        row("a Kvy of its own", "FlEdt_Kvy1", "2.3", "L_Kvy3", "2.3", kNeutral);
        row("closing", "FlEdt_dPr1", "1", "L_Closing2",
            "нет кавитации: перепад 1.00 атм не больше допустимого 1.09 атм", kGood);
        // clang-format on
    }
    void liveInBothWindows()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, label);
        start(kWorked);
        pressCtrlK();
        typeAnywhere(field, typed);
        QTEST(checkText(label), "shown");
        QFETCH(VerdictTone, tone);
        auto *shown = checkControl<QLabel>(label);
        QCOMPARE(shown->palette().color(QPalette::WindowText), verdictColor(tone));
        QVERIFY(shown->accessibleName().endsWith(shown->text()));
    }

    // The buttons write the main window's fields as typing would, and its
    // result lines follow; a value the field would not take leaves the
    // button disabled with the reason as its hint.
    void buttonsWriteTheMainWindow_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("hint"); // "" when enabled
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("lineText");
        const auto row = [](const char *name, const QByteArray &settings, const char *button, const char *hint,
                            const char *field, const char *text, const char *line, const QString &lineText) {
            QTest::newRow(name) << settings << QString(button) << QString(hint) << QString(field) << QString(text)
                                << QString(line) << lineText;
        };
        // clang-format off
        row("Перенести в Q", kWorked, "Btn_TransferQ", "", "FlEdt_Q1", "13.47", "L_Kv1", kvLine("15.06"));
        row("Принять: the series value above", kWorked, "Btn_Accept2", "", "FlEdt_Kvy1", "2.5", "L_dPklReal1",
            lossLine("0.64"));
        row("below the suggested Kvy", kWorked, "Btn_Accept1",
            "Поле Kvy не примет 1.6 м3/ч: оно не принимает меньше 2.0 м3/ч", "FlEdt_Kvy1", "2.0", "L_dPklReal1",
            lossLine("1.00"));
        row("already chosen", kWorked, "Btn_Accept3", "Kvy 2 м3/ч уже в поле Kvy", "FlEdt_Kvy1", "2.0", "L_dPklReal1",
            lossLine("1.00"));
        row("not kept to one decimal", QByteArray(kWorked).replace("Q1=2", "Q1=0.5"), "Btn_Accept2",
            "Поле Kvy хранит значения с точностью 0.1: 0.63 м3/ч стало бы 0.6 м3/ч", "FlEdt_Kvy1", "0.0", "L_Kv1",
            kvLine("0.56"));
        row("above the field's largest", QByteArray(kWorked).replace("Q1=2", "Q1=100"), "Btn_Accept2",
            "Поле Kvy не примет 160 м3/ч: оно не принимает больше 111.0 м3/ч", "FlEdt_Kvy1", "111.0", "L_Kv1",
            kvLine("111.80"));
        row("no flow", QByteArray(kWorked).replace("HeatLoad1=1", "HeatLoad1=0"), "Btn_TransferQ",
            "нет расхода: тепловая нагрузка должна быть больше нуля", "FlEdt_Q1", "2.00", "L_Kv1", kvLine("2.24"));
        // clang-format on
    }
    void buttonsWriteTheMainWindow()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, button);
        QFETCH(QString, hint);
        start(settings);
        pressCtrlK();
        auto *b = checkControl<QPushButton>(button);
        QVERIFY2(b && b->isVisible(), qPrintable(button));
        QCOMPARE(b->isEnabled(), hint.isEmpty());
        if (!hint.isEmpty()) {
            QCOMPARE(b->property("Hint").toString(), hint);
            QCOMPARE(b->accessibleDescription(), hint);
        }
        QTest::mouseClick(b, Qt::LeftButton);
        QFETCH(QString, field);
        QFETCH(QString, line);
        QTEST(shownValue(field), "text");
        QTEST(this->line(qPrintable(line)), "lineText");
        QVERIFY(m_boxes->boxes.isEmpty());
    }

    // Typed inputs of both circuits are in [Checks] after closing, the
    // original keys as they were.
    void settingsKeepTheInputs()
    {
        start(kWorked);
        pressCtrlK();
        typeAnywhere("FlEdt_z", "0.7");
        clickPage(1);
        for (const auto &[name, text] :
             {std::pair{"FlEdt_HeatLoad", "0.75"}, {"FlEdt_t1", "130"}, {"FlEdt_t2", "65.5"}, {"FlEdt_P1", "4.5"}})
            typeAnywhere(QLatin1String(name), QLatin1String(text));
        QVERIFY(m_form->close());
        const QByteArray saved = readFile(settingsFile());
        QCOMPARE(saved.count("[Checks]"), 1);
        QVERIFY(saved.indexOf("[Checks]") > saved.indexOf("Kvy2="));
        const QByteArrayList expected = {"HeatLoad1=1",    "t1_1=150", "t2_1=70",   "P1_1=6",   "z1=0.7",
                                         "HeatLoad2=0.75", "t1_2=130", "t2_2=65.5", "P1_2=4.5", "z2=0.5"};
        for (const QByteArray &pair : expected)
            QCOMPARE(pair.left(pair.indexOf('=')) + '=' + iniValue(saved, pair.left(pair.indexOf('='))), pair);
        QCOMPARE(iniValue(saved, "Q1"), QByteArray("2"));
    }

    // A sizing file opened while the window is open brings its own check
    // inputs, which no field of the main window shows.
    void followsAnOpenedFile()
    {
        start(kWorked);
        pressCtrlK();
        const QString file = QFileInfo(settingsFile()).dir().filePath(QStringLiteral("b.zelton"));
        QVERIFY(writeFile(file, QByteArray(kWorked).replace("HeatLoad1=1", "HeatLoad1=2")));
        m_form->openSizingFile(file);
        QCOMPARE(checkControl<TFlatFloatEdit>("FlEdt_HeatLoad")->text(), QStringLiteral("2.000"));
        QCOMPARE(checkText("L_Flow"), QStringLiteral("Расход через клапан G = 26.95 м3/ч"));
    }

    // The sizing sheet words the check as the window does, with the Kvy of
    // the Kvy field (the sizing state holds the suggestion 2 here).
    void sheetShowsWhatTheWindowShows()
    {
        start(kWorked);
        pressCtrlK();
        typeAnywhere("FlEdt_Kvy1", "2.3");
        typeAnywhere("FlEdt_Q1", "1.9");
        const SheetContent sheet = readSheetContent(*m_form, 1, QDate::currentDate());
        QVERIFY(sheet.check);
        QStringList onSheet{QString::fromStdString(sheet.check->flow), QString::fromStdString(sheet.check->series),
                            QString::fromStdString(sheet.check->limit)};
        QStringList inWindow{checkText("L_Flow"), checkText("L_Series"), checkText("L_Limit")};
        int n = 0;
        for (const CheckRowTexts &row : sheet.check->rows) {
            ++n;
            onSheet << QString::fromStdString(row.kvy) << QString::fromStdString(row.authority)
                    << QString::fromStdString(row.designPoint) << QString::fromStdString(row.closing);
            for (const char *label : {"L_Kvy%1", "L_Authority%1", "L_DesignPoint%1", "L_Closing%1"})
                inWindow << checkText(QString::fromLatin1(label).arg(n));
        }
        QCOMPARE(inWindow, onSheet);
        QCOMPARE(onSheet.at(11), QStringLiteral("2.3"));
    }

    // The right-click menus: the sheet's entries, a separator, the check.
    void pageMenus_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("items");
        const QStringList all = {"Печать листа подбора…\tCtrl+P", "Сохранить лист подбора в PDF…\tCtrl+S", "",
                                 "Проверка подбора…\tCtrl+K"};
        QTest::newRow("scheme of the dependent circuit") << 0 << "Img1" << all;
        QTest::newRow("result line of the independent circuit") << 1 << "L_Kv2" << all;
        QTest::newRow("nomogram") << 2 << "L_Top" << QStringList{"Проверка подбора…\tCtrl+K"};
    }
    void pageMenus()
    {
        QFETCH(int, page);
        QFETCH(QString, target);
        start(kWorked);
        clickPage(page);
        QWidget *widget = m_form->findChild<QWidget *>(target);
        QStringList items;
        QTimer::singleShot(0, [&] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                for (QAction *action : menu->actions())
                    items << (action->isSeparator()
                                  ? QString()
                                  : action->text() + QLatin1Char('\t') + action->shortcut().toString());
                menu->actions().constLast()->trigger();
                menu->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), widget->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(widget, &event);
        QTRY_VERIFY_WITH_TIMEOUT(checkWindow() && checkWindow()->isVisible(), 3000);
        QTEST(items, "items");
    }

    // The program's own field and look; every hint found by the hint
    // controller and read as the accessible description; every field and
    // verdict named for a screen reader.
    void looksAndReads()
    {
        start(kWorked);
        pressCtrlK();
        ValveCheckWindow *w = checkWindow();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        const QList<TFlatFloatEdit *> fields = w->findChildren<TFlatFloatEdit *>();
        QCOMPARE(fields.size(), 5);
        for (TFlatFloatEdit *f : fields) {
            QVERIFY(f->Flat() && f->ShowBorder() && !f->Activate() && f->BorderColor() == clBtnShadow);
            QVERIFY2(!f->accessibleName().isEmpty(), qPrintable(f->objectName()));
        }
        for (QWidget *c : w->findChildren<QWidget *>()) {
            if (qobject_cast<QPushButton *>(c) || qobject_cast<QGroupBox *>(c))
                QVERIFY2(TControlSubClass::hookOf(c), qPrintable(c->objectName()));
            const QString hint = c->property("Hint").toString();
            if (hint.isEmpty() || !c->isVisible())
                continue;
            QCOMPARE(c->accessibleDescription(), hint);
            QCOMPARE(HintController::hintControlAt(c->mapToGlobal(c->rect().center())), c);
            // the lines the window fills, named with their text
            if (auto *line = qobject_cast<QLabel *>(c); line && !line->objectName().isEmpty())
                QVERIFY2(line->accessibleName().endsWith(line->text()), qPrintable(line->objectName()));
        }
    }
};

QTEST_MAIN(TestCheckWindow)
#include "test_checkwindow.moc"
