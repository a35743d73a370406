// Which control a point of the real main window yields for hints: every
// control with a hint yields itself, the bare pictures, unit labels, result
// captions without a hint and the containers yield none, and a hot zone lies
// over the picture beneath it.
#include "app/hintcontroller.h"
#include "ui/lookandfeel.h"
#include "ui/mainwindow.h"
#include "ui/settingslocation.h"
#include "ui_Form_Main.h"

#include <QTemporaryDir>
#include <QtTest>

class TestHintLookup : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    TForm_Main *m_form = nullptr;

    QWidget *control(const QString &name) const { return m_form->findChild<QWidget *>(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setExecutableDirectoryOverride(m_dir.path());
        installLookAndFeel();
        m_form = new TForm_Main;
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
    }

    void cleanupTestCase()
    {
        delete m_form;
        setExecutableDirectoryOverride({});
    }

    void everyControlWithAHintYieldsItself()
    {
        int checked = 0;
        for (QWidget *w : m_form->findChildren<QWidget *>()) {
            if (w->property("Hint").toString().isEmpty())
                continue;
            // the page it is on
            for (QWidget *p = w; p; p = p->parentWidget()) {
                const int page = m_form->ui->PgCtrl_Sys->indexOf(p);
                if (page >= 0)
                    m_form->ui->PgCtrl_Sys->setCurrentIndex(page);
            }
            const QRect r = w->rect();
            for (QPoint at : {r.center(), r.topLeft(), r.bottomRight()}) {
                const QPoint global = w->mapToGlobal(at);
                QVERIFY2(HintController::hintControlAt(global) == w, qPrintable(w->objectName()));
            }
            QVERIFY(!HintController::hintControlAt(w->mapToGlobal(r.topLeft() - QPoint(1, 1)))
                    || HintController::hintControlAt(w->mapToGlobal(r.topLeft() - QPoint(1, 1))) != w);
            ++checked;
        }
        // 14 hot zones, 15 caption labels and 15 fields, 2 buttons, the
        // Kvy labels and fields, the actual-loss lines and L_Kv2.
        QCOMPARE(checked, 14 + 15 + 15 + 2 + 4 + 2 + 1);
    }

    void noHintControl_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("at");     // (-1, -1): the centre
        QTest::addColumn<QString>("under"); // the control under the point
        const QPoint centre(-1, -1);
        QTest::newRow("bare picture 1") << 0 << "Img1" << QPoint(5, 5) << "Img1";
        QTest::newRow("bare picture 2") << 1 << "Img2" << QPoint(600, 40) << "Img2";
        QTest::newRow("nomogram overlay") << 2 << "L_Top" << centre << "L_Top";
        for (const char *unit : {"L_dPr1unit", "L_dPf1unit", "L_Q1unit", "L_Kvy1unit"})
            QTest::newRow(unit) << 0 << unit << centre << unit;
        for (const char *unit : {"L_dPtunit", "L_Q2unit", "L_Kvy2unit"})
            QTest::newRow(unit) << 1 << unit << centre << unit;
        QTest::newRow("L_dPkl1") << 0 << "L_dPkl1" << centre << "L_dPkl1";
        QTest::newRow("L_Kv1") << 0 << "L_Kv1" << centre << "L_Kv1";
        QTest::newRow("L_dPkl2") << 1 << "L_dPkl2" << centre << "L_dPkl2";
        QTest::newRow("group box") << 0 << "GrBox_Sys1" << QPoint(250, 140) << "GrBox_Sys1";
        QTest::newRow("panel margin") << 0 << "Pan_dPklReal1" << QPoint(3, 3) << "Pan_dPklReal1";
        QTest::newRow("nomogram panel") << 2 << "Pan_Dia" << QPoint(3, 3) << "Pan_Dia";
        QTest::newRow("nomogram caption") << 2 << "L_Dia" << centre << "L_Dia";
        QTest::newRow("page") << 0 << "Sht_Sys1" << QPoint(270, 540) << "Sht_Sys1";
        // the tab row, right of the last tab (the row has no name)
        QTest::newRow("tab row") << 0 << "PgCtrl_Sys" << QPoint(790, 12) << "";
    }

    void noHintControl()
    {
        QFETCH(int, page);
        QFETCH(QString, name);
        QFETCH(QPoint, at);
        QFETCH(QString, under);
        m_form->ui->PgCtrl_Sys->setCurrentIndex(page);
        QWidget *w = control(name);
        QVERIFY2(w, qPrintable(name));
        const QPoint global = w->mapToGlobal(at.x() < 0 ? w->rect().center() : at);
        QWidget *found = HintController::controlAt(global);
        QVERIFY(found);
        QCOMPARE(found->objectName(), under);
        QCOMPARE(HintController::hintControlAt(global), nullptr);
    }

    void hotZoneLiesOverItsPicture()
    {
        for (const char *zone : {"L__dPf1a", "L__dPkl1", "L__dPn", "L__dPtr1"}) {
            QWidget *z = control(QLatin1String(zone));
            QCOMPARE(HintController::controlAt(z->mapToGlobal(z->rect().center())), z);
        }
        QWidget *picture = control(QStringLiteral("Img1"));
        QCOMPARE(HintController::controlAt(picture->mapToGlobal(QPoint(5, 5))), picture);
        // Outside every window of the program there is no control.
        QCOMPARE(HintController::controlAt(QPoint(-1000, -1000)), nullptr);
    }
};

QTEST_MAIN(TestHintLookup)
#include "test_hintlookup.moc"
