// The program's command line, run as a user runs it: with no display and
// no platform set, in a directory of its own with its settings file.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/sheet/pdftools.h"
#include "tests/testfiles.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

class TestCommandLine : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString exe() const { return m_dir.filePath(QStringLiteral("zelton")); }

    // Starts the program as a user starts it: no display, no platform set,
    // in the directory of its settings file.
    void start(QProcess &zelton, const QStringList &args) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        zelton.setProcessEnvironment(env);
        zelton.setWorkingDirectory(m_dir.path());
        zelton.start(exe(), args);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QFile::copy(QStringLiteral(ZELTON_EXE), exe()));
        QFile settings(m_dir.filePath(QStringLiteral("settings.ini")));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[Main]\nLastSys=2\n[Values]\nQ1=2\ndPr1=1\ndPf1=0.1\nKvy1=4\nQ2=3\ndPr2=1\n"
                       "[Checks]\nHeatLoad2=0.5\nt1_2=130\nt2_2=70\n");
        settings.close();
        QFile plain(m_dir.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        QVERIFY(writeFile(m_dir.filePath(QStringLiteral("sub.zelton")),
                          "[Main]\nLastSys=1\n[Values]\nQ2=4\ndPr2=2\nKvy2=4\n"));
    }

    // Exit code, what stdout and stderr say, and what lands in the file.
    // "@" in an argument stands for the test's directory.
    void run_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");    // -1: ended by the toolkit's fatal error
        QTest::addColumn<QString>("out");     // expected in stdout
        QTest::addColumn<QString>("err");     // stderr starts with this ("" = empty stderr)
        QTest::addColumn<QString>("pdfText"); // expected in the PDF's text ("" = no file)

        const char *unit = "dPкл = 0.25 атм";
        const auto row = [](const char *name, const QStringList &args, int exitCode, const char *out, const char *err,
                            const char *pdfText) {
            QTest::newRow(name) << args << exitCode << QString(out) << QString(err) << QString(pdfText);
        };
        // clang-format off
        row("sheet", {"--sheet", "@/a.pdf"}, 0, "", "", unit);
        row("sheet=, circuit 2", {"--sheet=@/b.pdf", "--circuit", "2"},
            0, "", "", "Система с НЕЗАВИСИМЫМ присоединением потребителя");
        row("circuit 2 with its check", {"--sheet", "@/h.pdf", "--circuit", "2"},
            0, "", "", "(свойства воды при 6 атм: P1 не задано)");
        row("relative name", {"--circuit=1", "--sheet", "c.pdf"},
            0, "", "", "Система с ЗАВИСИМЫМ присоединением потребителя");
        row("path through a file", {"--sheet", "@/plain/d.pdf"},
            2, "", "zelton: Unable to write to @/plain/d.pdf: ", "");
        row("no such folder", {"--sheet", "@/none/e.pdf"}, 2, "", "zelton: Unable to write to @/none/e.pdf: ", "");
        row("circuit 3", {"--sheet", "@/f.pdf", "--circuit", "3"},
            2, "", "zelton: the circuit is 1 (dependent) or 2 (independent), not '3'", "");
        row("no file name", {"--sheet"}, 2, "", "zelton: option '--sheet' needs a value", "");
        row("circuit alone", {"--circuit", "1"}, 2, "", "zelton: option '--circuit' goes with '--sheet'", "");
        row("unknown option", {"--print"}, 2, "", "zelton: unknown option '--print'", "");
        // a sizing file in place of the settings file, its name as the object's
        row("sheet of a sizing file", {"--sheet", "@/j.pdf", "@/sub.zelton"}, 0, "", "", "Объект: sub");
        row("its values, its page", {"sub.zelton", "--sheet=@/k.pdf"}, 0, "", "", "dPкл = 1.00 атм");
        row("not a sizing file", {"--sheet", "@/l.pdf", "@/plain"},
            2, "", "zelton: @/plain is not a sizing file: it has no section [Values].\n", "");
        row("a second file", {"g.zelton", "h.zelton"}, 2, "", "zelton: unexpected argument 'h.zelton'", "");
        row("help", {"--help"}, 0, "Usage: zelton [FILE.zelton]", "", "");
        row("-h", {"-h", "--bogus"}, 0, "--sheet FILE.pdf", "", "");
        // Qt's own options go to Qt; the sheet stays on the offscreen platform
        row("Qt's options", {"-style", "fusion", "--sheet", "@/h.pdf", "--reverse", "-session", "s1", "-platform=xcb"},
            0, "", "", unit);
        row("Qt's option without its value", {"--sheet", "@/i.pdf", "-style"},
            2, "", "zelton: option '-style' needs a value", "");
        row("the window on the platform given", {"-platform", "nosuch"},
            -1, "", "qt.qpa.plugin: Could not find the Qt platform plugin \"nosuch\"", "");
        row("version", {"--version"}, 0, "zelton (Подбор Zelton) v1.02 (1.2.0.8)\n", "", "");
        // clang-format on
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
        start(zelton, args);
        QVERIFY(zelton.waitForFinished(30000));
        const QString stdOut = QString::fromUtf8(zelton.readAllStandardOutput());
        const QString stdErr = QString::fromUtf8(zelton.readAllStandardError());
        QCOMPARE(zelton.exitStatus(), exitCode < 0 ? QProcess::CrashExit : QProcess::NormalExit);
        QVERIFY2(exitCode < 0 || zelton.exitCode() == exitCode, qPrintable(stdErr));
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
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).size(), 4);
    }

    // The sheet onto whatever the path names. What was there stays what it
    // was; the PDF arrives, or exit 2 names the path, and nothing else is
    // left. "@" is the row's own directory; the row makes its target @/t.
    void targets_data()
    {
        QTest::addColumn<QString>("target"); // what the row makes, or how it runs the program
        QTest::addColumn<QString>("arg");    // of --sheet
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("err");   // stderr starts with this ("" = empty stderr)
        QTest::addColumn<QString>("pdfIn"); // where the PDF lands: a file in @, "-" stdout, "" nowhere
        QTest::addColumn<QString>("after"); // what is at @/t afterwards; "old": the old file, whole

        const auto row = [](const char *name, const char *target, const char *arg, int exitCode, const char *err,
                            const char *pdfIn, const char *after) {
            QTest::newRow(name) << QString(target) << QString(arg) << exitCode << QString(err) << QString(pdfIn)
                                << QString(after);
        };
        const char *unable = "zelton: Unable to write to @/t: ";
        row("FIFO with a reader", "fifo", "@/t", 0, "", "read", "fifo");
        row("FIFO without a reader: waited on, then given up", "lonely fifo", "@/t", 2, unable, "", "fifo");
        row("FIFO whose reader goes away", "gone fifo", "@/t", 2, unable, "", "fifo");
        row("full device of our own", "full", "@/t", 2, unable, "", "device");
        row("standard output", "", "-", 0, "", "-", "none");
        row("standard output, a pipe nobody reads", "closed", "-", 2,
            "zelton: Unable to write to standard output: ", "", "none");
        row("link to a file", "link", "@/t", 0, "", "real", "link");
        row("folder in its place", "folder", "@/t", 2, unable, "", "folder");
        row("full disk, new file", "fsize", "@/t", 2, unable, "", "none");
        row("full disk, older file", "fsize old", "@/t", 2, unable, "", "old");
        row("full file system", "tmpfs", "@/t", 2, unable, "", "none");
    }

    void targets()
    {
        QFETCH(QString, target);
        QFETCH(QString, arg);
        QFETCH(QString, err);
        QFETCH(QString, pdfIn);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t"));
        const QByteArray t = QFile::encodeName(path);
        arg.replace(QLatin1Char('@'), dir.path());
        err.replace(QLatin1Char('@'), dir.path());
        QProcess reader;
        int readEnd = -1;
        bool mounted = false;
        const auto unmount = qScopeGuard([&] {
            if (mounted)
                ::umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH);
        });
        if (target.endsWith(QLatin1String("fifo")))
            QCOMPARE(::mkfifo(t.constData(), 0666), 0);
        if (target == "gone fifo") { // a pipe of one page, which the sheet overflows
            readEnd = ::open(t.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            QVERIFY(readEnd >= 0 && ::fcntl(readEnd, F_SETPIPE_SZ, 4096) >= 0);
        } else if (target == "fifo") {
            reader.setStandardOutputFile(dir.filePath(QStringLiteral("read")));
            reader.start(QStringLiteral("cat"), {path});
        } else if (target == "full" && ::mknod(t.constData(), S_IFCHR | 0666, ::makedev(1, 7)) != 0) {
            QSKIP("mknod refused: not root");
        } else if (target == "link") {
            QVERIFY(writeFile(dir.filePath(QStringLiteral("real")), "old"));
            QCOMPARE(::symlink("real", t.constData()), 0);
        } else if (target == "folder") {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("t")));
        } else if (target == "fsize old") {
            QVERIFY(writeFile(path, "old"));
        } else if (target == "tmpfs") {
            mounted = ::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0, "size=16k") == 0;
            if (!mounted)
                QSKIP("mounting a small tmpfs is refused here");
        }

        QProcess zelton;
        const bool fullDisk = target.startsWith(QLatin1String("fsize")), closedOutput = target == "closed";
        zelton.setChildProcessModifier([fullDisk, closedOutput] {
            std::signal(SIGPIPE, SIG_DFL); // as a shell starts it: a SIGPIPE would end it
            if (fullDisk) {                // files end at 16 KiB, as on a full disk
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{16384, 16384};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            }
            int ends[2];
            if (closedOutput && ::pipe(ends) == 0) {
                ::close(ends[0]);
                ::dup2(ends[1], STDOUT_FILENO);
            }
        });
        start(zelton, {QStringLiteral("--sheet"), arg});
        if (readEnd >= 0) { // reads the start, then goes away
            pollfd ready{readEnd, POLLIN, 0};
            char start[4];
            const bool read = ::poll(&ready, 1, 30000) == 1 && ::read(readEnd, start, 4) == 4;
            ::close(readEnd);
            QVERIFY(read && QByteArray(start, 4) == "%PDF");
        }
        QVERIFY(zelton.waitForFinished(30000));
        const QByteArray stdOut = zelton.readAllStandardOutput();
        const QString stdErr = QString::fromUtf8(zelton.readAllStandardError());
        QCOMPARE(zelton.exitStatus(), QProcess::NormalExit);
        QVERIFY2(err.isEmpty() ? stdErr.isEmpty() : stdErr.startsWith(err), qPrintable(stdErr));
        QTEST(zelton.exitCode(), "exitCode");
        if (reader.state() != QProcess::NotRunning && !reader.waitForFinished(5000))
            reader.kill();

        QStringList left;
        if (pdfIn == "-") {
            QVERIFY2(stdOut.startsWith("%PDF-"), stdOut.left(40).constData());
            QVERIFY(writeFile(dir.filePath(QStringLiteral("stdout")), stdOut));
            pdfIn = QStringLiteral("stdout");
        } else {
            QVERIFY2(stdOut.isEmpty(), stdOut.left(40).constData());
        }
        if (!pdfIn.isEmpty()) {
            QVERIFY(pdfText(dir.filePath(pdfIn)).contains(QStringLiteral("dPкл = 0.25 атм")));
            left << pdfIn;
        }
        struct stat st {};
        QString after = QStringLiteral("none");
        if (::lstat(t.constData(), &st) == 0) {
            after = S_ISFIFO(st.st_mode)      ? "fifo"
                    : S_ISCHR(st.st_mode)     ? "device"
                    : S_ISLNK(st.st_mode)     ? "link"
                    : S_ISDIR(st.st_mode)     ? "folder"
                    : readFile(path) == "old" ? "old"
                                              : "file";
            left << QStringLiteral("t");
        }
        QTEST(after, "after");
        left.sort();
        QCOMPARE(QDir(dir.path())
                     .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
                 left);
    }

    // The manual page documents exactly the options that --help lists.
    void manualMatchesHelp()
    {
        QProcess zelton;
        start(zelton, {QStringLiteral("--help")});
        QVERIFY(zelton.waitForFinished(30000));
        const QString help = QString::fromUtf8(zelton.readAllStandardOutput());
        QString manual = QString::fromUtf8(readFile(QStringLiteral(ZELTON_MANUAL)));
        manual.replace(QLatin1String("\\-"), QLatin1String("-")).remove(QRegularExpression("\\\\f[BIRP]"));
        const auto options = [](const QString &text, const QString &from, const QString &to) {
            const qsizetype begin = text.indexOf(from);
            QStringList found;
            auto it = QRegularExpression(QStringLiteral("(?<![\\w-])--?[a-z][a-z-]*"))
                          .globalMatch(text.mid(begin, text.indexOf(to, begin) - begin));
            while (it.hasNext())
                found << it.next().captured();
            found.removeDuplicates();
            found.sort();
            return found;
        };
        const QStringList inHelp = options(help, QStringLiteral("Options:"), QStringLiteral("Exit status"));
        QCOMPARE(inHelp, QStringList({"--circuit", "--format", "--help", "--report", "--schedule", "--sheet",
                                      "--version", "-h"}));
        QCOMPARE(options(manual, QStringLiteral(".SH OPTIONS"), QStringLiteral(".SH FILES")), inHelp);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
