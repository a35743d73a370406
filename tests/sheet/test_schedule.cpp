// The valve schedule in the window: its entry in the circuit pages' menu,
// the dialogs (answered by the test), the box for a file that is not a
// sizing file, the window's own values kept; and the table's pages.
#include <QTemporaryDir>
#include <QtTest>

#include "app/application.h"
#include "core/checkinputs.h"
#include "core/sizing.h"
#include "sheet/scheduleactions.h"
#include "sheet/schedulepainter.h"
#include "sheet/sheetcontent.h"
#include "tests/app/boxrecorder.h"
#include "tests/sheet/pdftools.h"
#include "tests/testfiles.h"
#include "ui/mainwindow.h"
#include "ui/pagemenus.h"
#include "ui/settingslocation.h"

class TestSchedule : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TForm_Main> m_form;
    ScheduleActions *m_actions = nullptr;

    QString at(QString path) const { return path.replace(QLatin1Char('@'), m_dir.path()); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("HOME", QFile::encodeName(m_dir.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("Documents")));
        QVERIFY(writeFile(at("@/settings.ini"), "[Values]\nQ1=7\ndPr1=2\n"));
        QVERIFY(writeFile(at("@/a.zelton"), "[Values]\nQ1=2\ndPr1=1\ndPf1=0.1\nKvy1=4\n"));
        QVERIFY(writeFile(at("@/b.zelton"), "[Values]\nQ2=3\ndPr2=1\n[Checks]\nHeatLoad2=0.5\nt1_2=130\nt2_2=70\n"));
        QVERIFY(writeFile(at("@/bad.zelton"), "[Main]\nLastSys=1\n"));
        setExecutableDirectoryOverride(m_dir.path());
        m_form = std::make_unique<TForm_Main>();
        m_actions = new ScheduleActions(m_form.get());
    }

    void cleanupTestCase()
    {
        m_form.reset();
        setExecutableDirectoryOverride({});
    }

    // Rows of the heights given laid on pages: each page's first row and
    // count, flattened.
    void pages_data()
    {
        QTest::addColumn<QList<double>>("heights");
        QTest::addColumn<double>("firstSpace");
        QTest::addColumn<QList<int>>("pages");
        QTest::newRow("no rows: one empty page") << QList<double>{} << 20.0 << QList<int>{0, 0};
        QTest::newRow("the first page filled exactly") << QList<double>{10, 10} << 20.0 << QList<int>{0, 2};
        QTest::newRow("a row that does not fit goes on") << QList<double>{10, 11} << 20.0 << QList<int>{0, 1, 1, 1};
        QTest::newRow("the first page holds less") << QList<double>{8, 8, 8, 8} << 10.0 << QList<int>{0, 1, 1, 3};
        QTest::newRow("a row taller than a page") << QList<double>{50, 5} << 20.0 << QList<int>{0, 1, 1, 1};
    }

    void pages()
    {
        QFETCH(QList<double>, heights);
        QFETCH(double, firstSpace);
        QList<int> laid;
        for (const SchedulePage &page : splitIntoPages({heights.begin(), heights.end()}, firstSpace, 30))
            laid << page.firstRow << page.rowCount;
        QTEST(laid, "pages");
    }

    // "Ведомость клапанов…" from the circuit pages' menu: the files, then
    // the PDF's name; the window's values stay as they were.
    void fromTheMenu_data()
    {
        QTest::addColumn<QStringList>("files"); // the files dialog's answer
        QTest::addColumn<QString>("pdf");       // the PDF dialog's answer; "-": never asked
        QTest::addColumn<QString>("box");       // the box shown, "" none
        QTest::addColumn<int>("pages");         // of the PDF written; 0 none
        QTest::addColumn<QString>("folder");    // where the dialogs start: Documents, then where they ended
        QTest::newRow("two files") << QStringList{"@/a.zelton", "@/b.zelton"} << "@/s.pdf"
                                   << "" << 3 << "@/Documents";
        QTest::newRow("a file that is not a sizing file") << QStringList{"@/a.zelton", "@/bad.zelton"} << "-"
                                                          << "@/bad.zelton is not a sizing file: " << 0 << "@";
        QTest::newRow("no files chosen") << QStringList{} << "-"
                                         << "" << 0 << "@";
        QTest::newRow("no PDF chosen") << QStringList{"@/a.zelton"} << ""
                                       << "" << 0 << "@";
    }

    void fromTheMenu()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, pdf);
        QFETCH(QString, box);
        QFETCH(int, pages);
        QVERIFY(pageMenuEntries(*m_form, QStringLiteral("Sht_Sys2")).contains(m_actions->scheduleAction()));
        const QDate today = QDate::currentDate();
        const SheetContent before = readSheetContent(*m_form, 1, today);
        const CheckInputs checksBefore = checkInputs(2);
        QStringList asked;
        m_actions->setFilesAsker([&](QWidget *, const QString &folder) {
            asked << folder;
            QStringList answer;
            for (const QString &file : files)
                answer << at(file);
            return answer;
        });
        m_actions->setPdfAsker([&](QWidget *, const QString &proposed) {
            asked << proposed;
            return at(pdf);
        });
        BoxRecorder boxes;
        m_actions->scheduleAction()->trigger();

        QCOMPARE(boxes.texts().size(), box.isEmpty() ? 0 : 1);
        if (!box.isEmpty())
            QVERIFY2(boxes.texts()[0].startsWith(at(box)), qPrintable(boxes.texts()[0]));
        QFETCH(QString, folder);
        QCOMPARE(asked.value(0), at(folder));
        if (pdf != "-")
            QCOMPARE(asked.value(1), at(folder + "/Ведомость клапанов %1.pdf").arg(today.toString(Qt::ISODate)));
        QCOMPARE(asked.size(), files.isEmpty() ? 1 : pdf == "-" ? 1 : 2);
        const QStringList written = QDir(m_dir.path()).entryList({"*.pdf"});
        QCOMPARE(written.size(), pages ? 1 : 0);
        if (pages) {
            QVERIFY(pdfInfo(at(pdf)).contains(QRegularExpression(QStringLiteral("Pages: +%1\n").arg(pages))));
            QVERIFY(QFile::remove(at(pdf)));
        }
        // the window's values, and the state its handlers and its sheet use
        const SheetContent after = readSheetContent(*m_form, 1, today);
        QCOMPARE(after.resultLines, before.resultLines);
        QCOMPARE(after.valveDrop, before.valveDrop);
        QCOMPARE(sizing().Q1, 7.0);
        QCOMPARE(checkInputs(2).HeatLoad, checksBefore.HeatLoad);
    }
};

int main(int argc, char **argv)
{
    // The application as the program prepares it: its handlers' errors go
    // to the error display's boxes.
    TApplication app(argc, argv);
    prepareApplication(app);
    TestSchedule test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_schedule.moc"
