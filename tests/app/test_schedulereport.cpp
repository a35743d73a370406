// The valve schedule and the report from the command line, run as a user
// runs them (no display), read back with poppler-utils and parsers.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/sheet/pdftools.h"
#include "tests/testfiles.h"

namespace {

// Sizing files: the worked case (dependent), an independent circuit with
// its check, a dependent one with its check and a Kvy above the
// suggestion, a dependent one whose suggestion is larger than the worked
// case's Kvy, one with every value set, and files that are not sizing
// files.
const struct {
    const char *name;
    QByteArray text;
} kFiles[] = {
    {"a.zelton", "[Main]\nLastSys=0\n[Values]\nQ1=2\ndPr1=1\ndPf1=0.1\nKvy1=4\n"},
    {"b.zelton", "[Main]\nLastSys=1\n[Values]\nQ2=3\ndPr2=1\ndPf2=0.2\n[Checks]\nHeatLoad2=0.5\nt1_2=130\nt2_2=70\n"
                 "P1_2=4\n"},
    {"c.zelton", "[Values]\nQ1=10\ndPr1=1.5\ndPn=0.3\nKvy1=16\n[Checks]\nHeatLoad1=1\nt1_1=150\nt2_1=70\nP1_1=6\n"},
    {"big.zelton", "[Values]\nQ1=10\ndPr1=1\n"},
    {"all.zelton", "[Main]\nLastSys=2\n[Values]\nQ1=12.34\ndPr1=3.21\ndPf1=0.07\ndPppr1=0.11\ndPs=0.13\ndPtr1=0.17\n"
                   "dPdr1=0.19\ndPn=0.23\nKvy1=99.9\nQ2=5.67\ndPr2=2.29\ndPf2=0.31\ndPppr2=0.37\ndPt=0.41\ndPtr2=0.43\n"
                   "dPdr2=0.47\nKvy2=19.7\n[Checks]\nHeatLoad1=1.234\nt1_1=150.5\nt2_1=70.1\nP1_1=6.03\nz1=0.35\n"
                   "HeatLoad2=0.567\nt1_2=130.3\nt2_2=69.9\nP1_2=4.71\nz2=0.85\n"},
    {"novalues.zelton", "[Main]\nLastSys=0\n"},
    {"binary.zelton", QByteArray("[Values]\nQ1=1\n\0\0\x01\x02", 18)},
};

// A table row as the schedule's page draws it, cell by cell: number,
// object, scheme, Q, dPкл, Kv, Kvy, actual loss, then the check's cells.
const QRegularExpression
    kRow(QStringLiteral("(\\d+) (\\S+) (зависимая|независимая) (\\S+) (\\S+) (\\S+) (\\S+) (\\S+) (\\S+)"));

} // namespace

class TestScheduleReport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString at(QString path) const { return path.replace(QLatin1Char('@'), m_dir.path()); }

    // Runs the program as a user does (no display) in the test's folder:
    // exit code, stdout and stderr.
    int run(const QStringList &args, QByteArray &out, QString &err) const
    {
        QProcess zelton;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        zelton.setProcessEnvironment(env);
        zelton.setWorkingDirectory(m_dir.path());
        zelton.start(m_dir.filePath(QStringLiteral("zelton")), args);
        if (!zelton.waitForFinished(60000) || zelton.exitStatus() != QProcess::NormalExit)
            return -1;
        out = zelton.readAllStandardOutput();
        err = QString::fromUtf8(zelton.readAllStandardError());
        return zelton.exitCode();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QFile::copy(QStringLiteral(ZELTON_EXE), m_dir.filePath(QStringLiteral("zelton"))));
        QVERIFY(writeFile(m_dir.filePath(QStringLiteral("settings.ini")), "[Values]\nQ1=7\ndPr1=2\n"));
        for (const auto &file : kFiles)
            QVERIFY(writeFile(m_dir.filePath(QLatin1String(file.name)), file.text));
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.zelton")));
    }

    // The table's rows, each with the numbers its sheet shows; the sheets
    // follow the table's pages, one a row.
    void schedule_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("rows"); // what the table shows of each row, from the object on
        QTest::addColumn<int>("tablePages");
        const QString a = "a зависимая 2.00 0.80 2.24 4.0 0.25 — —";
        QTest::newRow("three files, one circuit each")
            << QStringList{"a.zelton", "b.zelton", "c.zelton"}
            << QStringList{a,
                           "b независимая 3.00 0.80 3.35 3.0 1.00 клапан мал: расчётный расход не будет "
                           "достигнут нет кавитации",
                           "c зависимая 10.00 1.80 7.45 16.0 0.39 0.22: авторитет низкий опасность кавитации "
                           "при закрытии"}
            << 1;
        QTest::newRow("a file after one with a larger Kvy")
            << QStringList{"big.zelton", "a.zelton"} << QStringList{"big зависимая 10.00 1.00 10.00 10.0 1.00 — —", a}
            << 1;
        QTest::newRow("both circuits of a file, then forty more rows: the table goes on")
            << (QStringList{"all.zelton"} << QStringList(40, "a.zelton")) << QStringList{} << 2;
    }

    void schedule()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, rows);
        QFETCH(int, tablePages);
        const QString pdf = m_dir.filePath(QStringLiteral("schedule.pdf"));
        QByteArray out;
        QString err;
        QCOMPARE(run(QStringList{"--schedule", pdf} + files, out, err), 0);
        QVERIFY2(err.isEmpty(), qPrintable(err));
        const auto removePdf = qScopeGuard([&pdf] { QFile::remove(pdf); });

        const QStringList pages = QString::fromUtf8(runTool("pdftotext", {"-raw", "-enc", "UTF-8", pdf, "-"}).output)
                                      .split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QString table;
        for (int page = 0; page < tablePages; ++page) {
            QVERIFY(pages[page].contains(QStringLiteral("Объект")));
            table += pages[page].simplified() + QLatin1Char(' ');
        }
        for (const QString &row : rows)
            QVERIFY2(table.contains(row), qPrintable(table));
        auto match = kRow.globalMatch(table);
        int count = 0;
        while (match.hasNext()) {
            const QRegularExpressionMatch r = match.next();
            QCOMPARE(r.captured(1).toInt(), ++count);
            const QString sheet = pages.value(tablePages + count - 1).simplified();
            QVERIFY2(sheet.contains(QStringLiteral("Объект: ") + r.captured(2)), qPrintable(sheet));
            const bool dependent = r.captured(3) == QStringLiteral("зависимая");
            QVERIFY(sheet.contains(dependent ? QStringLiteral("с ЗАВИСИМЫМ") : QStringLiteral("с НЕЗАВИСИМЫМ")));
            QVERIFY(sheet.contains(QStringLiteral("Q Расход теплоносителя через клапан, м3/ч %1").arg(r.captured(4))));
            QVERIFY(sheet.contains(QStringLiteral("открытом клапане dPкл = %1 атм").arg(r.captured(5))));
            QVERIFY(sheet.contains(QStringLiteral("клапана Кv = %1 м3/ч").arg(r.captured(6))));
            QVERIFY(sheet.contains(QStringLiteral("клапана Kvy: %1 м3/ч").arg(r.captured(7))));
            QVERIFY(sheet.contains(QStringLiteral("на клапане dPкл = %1 атм").arg(r.captured(8))));
            if (r.captured(9).endsWith(QLatin1Char(':'))) // the authority's number
                QVERIFY(sheet.contains(QStringLiteral("a = ") + r.captured(9)));
        }
        QCOMPARE(count, rows.isEmpty() ? 42 : rows.size());
        QVERIFY(pdfInfo(pdf).contains(QRegularExpression(QStringLiteral("Pages: +%1\n").arg(tablePages + count))));
    }

    // What stops with exit 2 and the reason on stderr, before anything is
    // written or printed.
    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("err");
        const QStringList schedule{"--schedule", "@/refused.pdf", "a.zelton"};
        const auto row = [](const char *name, const QStringList &args, const char *err) {
            QTest::newRow(name) << args << QString(err);
        };
        // clang-format off
        row("no Values section", schedule + QStringList{"novalues.zelton", "b.zelton"},
            "zelton: @/novalues.zelton is not a sizing file: ");
        row("binary", schedule + QStringList{"binary.zelton"}, "zelton: @/binary.zelton is not a sizing file: ");
        row("folder", schedule + QStringList{"folder.zelton"}, "zelton: @/folder.zelton is not a sizing file: ");
        row("missing", schedule + QStringList{"none.zelton"}, "zelton: Unable to read @/none.zelton: ");
        row("report of a missing file", {"--report", "a.zelton", "none.zelton"},
            "zelton: Unable to read @/none.zelton: ");
        row("schedule without files", {"--schedule", "@/refused.pdf"},
            "zelton: option '--schedule' needs sizing files: --schedule FILE.pdf FILE.zelton...");
        row("unknown format", {"--report", "--format", "xml"}, "zelton: the format is text, csv or json, not 'xml'");
        row("format alone", {"--format=csv", "a.zelton"}, "zelton: option '--format' goes with '--report'");
        row("sheet and schedule", {"--sheet", "@/x.pdf", "--schedule", "@/y.pdf", "a.zelton"},
            "zelton: options '--sheet', '--schedule' and '--report' go one at a time");
        row("schedule to a folder", {"--schedule", "@/folder.zelton", "a.zelton"},
            "zelton: Unable to write to @/folder.zelton: ");
        // clang-format on
    }

    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, err);
        for (QString &arg : args)
            arg = at(arg);
        QByteArray out;
        QString stdErr;
        QCOMPARE(run(args, out, stdErr), 2);
        QVERIFY2(stdErr.startsWith(at(err)), qPrintable(stdErr));
        QVERIFY(out.isEmpty());
        QCOMPARE(QDir(m_dir.path()).entryList({"*.pdf"}), QStringList());
    }

    // Every value of a file reads back from the JSON report bit for bit;
    // CSV and text carry the window's numbers and words.
    void report_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("expected"); // in the output; for JSON, the values of all.zelton
        QTest::newRow("json") << QStringList{"--report", "--format", "json", "all.zelton", "a.zelton"} << QStringList{};
        QTest::newRow("csv") << QStringList{"--report", "--format=csv", "a.zelton", "b.zelton"}
                             << QStringList{"file,circuit,scheme,dPr,",
                                            "\r\na.zelton,1,зависимая,1.00,0.10,0.00,0.00,,0.00,0.00,0.00,2.00,0.80,"
                                            "2.24,4.00,0.25,0.000,0.0,0.0,0.00,0.50,,нет расхода:",
                                            "\r\nb.zelton,2,независимая,1.00,0.20,0.00,,0.00,0.00,0.00,,3.00,0.80,3.35,"
                                            "3.00,1.00,0.500,130.0,70.0,4.00,0.50,8.46,,1.00,,2.36,"};
        QTest::newRow("text") << QStringList{"--report", "c.zelton"}
                              << QStringList{"c.zelton\n  Система с ЗАВИСИМЫМ присоединением потребителя\n",
                                             "      Действительные гидравлические потери на клапане dPкл = 0.39 атм\n",
                                             "Kvy 16 м3/ч (выбранный): потери 0.39 атм; a = 0.22: авторитет низкий\n"};
        QTest::newRow("no file: the settings file")
            << QStringList{"--report"}
            << QStringList{"@/settings.ini\n", "Пропускная способность регулирующего клапана Кv = 4.95 м3/ч"};
    }

    void report()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, expected);
        QByteArray out;
        QString err;
        QCOMPARE(run(args, out, err), 0);
        QVERIFY2(err.isEmpty(), qPrintable(err));
        const QString text = QString::fromUtf8(out);
        for (const QString &part : expected)
            QVERIFY2(text.contains(at(part)), qPrintable(text));
        if (!args.contains(QStringLiteral("json")))
            return;
        const QJsonObject all = QJsonDocument::fromJson(out)["files"][0].toObject();
        QCOMPARE(all["file"].toString(), QStringLiteral("all.zelton"));
        // the file's key for each value: its name in the report, the
        // circuit's digit after it
        const QString file = QString::fromUtf8(kFiles[4].text);
        auto keys = QRegularExpression(QStringLiteral("\\n(\\w+?)(_?[12])?=(\\S+)")).globalMatch(file);
        int compared = 0;
        while (keys.hasNext()) {
            const QRegularExpressionMatch key = keys.next();
            const QString name = key.captured(1);
            if (name == QLatin1String("LastSys"))
                continue;
            const int circuit = key.captured(2).isEmpty() ? (name == "dPt" ? 2 : 1) : key.captured(2).right(1).toInt();
            const QJsonObject c = all["circuits"][circuit - 1].toObject();
            const QJsonValue value = name == "Kvy"                           ? c["results"]["Kvy"]
                                     : c["inputs"].toObject().contains(name) ? c["inputs"][name]
                                                                             : c["check"]["inputs"][name];
            QVERIFY2(value.isDouble(), qPrintable(name));
            QCOMPARE(value.toDouble(), key.captured(3).toDouble());
            ++compared;
        }
        QCOMPARE(compared, 27);
    }
};

QTEST_GUILESS_MAIN(TestScheduleReport)
#include "test_schedulereport.moc"
