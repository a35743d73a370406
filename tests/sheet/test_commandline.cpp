// The program's command line, run as a user runs it: with no display and
// no platform set, in a directory of its own with its settings file.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/sheet/pdftools.h"

class TestCommandLine : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString exe() const { return m_dir.filePath(QStringLiteral("zelton")); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QFile::copy(QStringLiteral(ZELTON_EXE), exe()));
        QFile settings(m_dir.filePath(QStringLiteral("settings.ini")));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[Main]\nLastSys=2\n[Values]\nQ1=2\ndPr1=1\ndPf1=0.1\nKvy1=4\nQ2=3\ndPr2=1\n");
        settings.close();
        QFile plain(m_dir.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
    }

    // Exit code, what stdout and stderr say, and what lands in the file.
    // "@" in an argument stands for the test's directory.
    void run_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");     // expected in stdout
        QTest::addColumn<QString>("err");     // stderr starts with this ("" = empty stderr)
        QTest::addColumn<QString>("pdfText"); // expected in the PDF's text ("" = no file)

        const QString unit = QStringLiteral("dPкл = 0.25 атм");
        QTest::newRow("sheet") << QStringList{"--sheet", "@/a.pdf"} << 0 << ""
                               << "" << unit;
        QTest::newRow("sheet=, circuit 2") << QStringList{"--sheet=@/b.pdf", "--circuit", "2"} << 0 << ""
                                           << ""
                                           << "Система с НЕЗАВИСИМЫМ присоединением потребителя";
        QTest::newRow("relative name") << QStringList{"--circuit=1", "--sheet", "c.pdf"} << 0 << ""
                                       << ""
                                       << "Система с ЗАВИСИМЫМ присоединением потребителя";
        QTest::newRow("path through a file") << QStringList{"--sheet", "@/plain/d.pdf"} << 2 << ""
                                             << "zelton: Unable to write to @/plain/d.pdf: "
                                             << "";
        QTest::newRow("no such folder") << QStringList{"--sheet", "@/none/e.pdf"} << 2 << ""
                                        << "zelton: Unable to write to @/none/e.pdf: "
                                        << "";
        QTest::newRow("circuit 3") << QStringList{"--sheet", "@/f.pdf", "--circuit", "3"} << 2 << ""
                                   << "zelton: the circuit is 1 (dependent) or 2 (independent), not '3'"
                                   << "";
        QTest::newRow("no file name") << QStringList{"--sheet"} << 2 << ""
                                      << "zelton: option '--sheet' needs a value"
                                      << "";
        QTest::newRow("circuit alone") << QStringList{"--circuit", "1"} << 2 << ""
                                       << "zelton: option '--circuit' goes with '--sheet'"
                                       << "";
        QTest::newRow("unknown option") << QStringList{"--print"} << 2 << ""
                                        << "zelton: unknown option '--print'"
                                        << "";
        QTest::newRow("stray argument") << QStringList{"g.pdf"} << 2 << ""
                                        << "zelton: unexpected argument 'g.pdf'"
                                        << "";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: zelton [--sheet FILE.pdf [--circuit 1|2]]"
                              << ""
                              << "";
        QTest::newRow("-h") << QStringList{"-h", "--bogus"} << 0 << "--sheet FILE.pdf"
                            << ""
                            << "";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "zelton (Подбор Zelton) v1.02 (1.2.0.8)\n"
                                 << ""
                                 << "";
    }

    void run()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QString, pdfText);
        for (QString &arg : args)
            arg.replace(QLatin1Char('@'), m_dir.path());
        err.replace(QLatin1Char('@'), m_dir.path());

        QProcess zelton;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        zelton.setProcessEnvironment(env);
        zelton.setWorkingDirectory(m_dir.path());
        zelton.start(exe(), args);
        QVERIFY(zelton.waitForFinished(30000));
        const QString stdOut = QString::fromUtf8(zelton.readAllStandardOutput());
        const QString stdErr = QString::fromUtf8(zelton.readAllStandardError());
        QCOMPARE(zelton.exitStatus(), QProcess::NormalExit);
        QVERIFY2(zelton.exitCode() == exitCode, qPrintable(stdErr));
        QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.contains(out), qPrintable(stdOut));
        QVERIFY2(err.isEmpty() ? stdErr.isEmpty() : stdErr.startsWith(err), qPrintable(stdErr));
        if (exitCode == 2 && args.size() > 1 && args[0] == QLatin1String("--sheet"))
            QVERIFY(!QFileInfo::exists(args[1]));

        const QStringList written = QDir(m_dir.path()).entryList({"*.pdf"}, QDir::Files);
        if (pdfText.isEmpty()) {
            QVERIFY2(written.isEmpty(), qPrintable(written.join(' ')));
        } else {
            QCOMPARE(written.size(), 1);
            const QString pdf = m_dir.filePath(written[0]);
            QVERIFY(::pdfText(pdf).contains(pdfText));
            QVERIFY(QFile::remove(pdf));
        }
        // nothing else is left in the directory (no temporary files)
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
