// The main window and its settings file: the values a file at start gives,
// a file that cannot be written or read, the end of the desktop session,
// and a program installed where its user cannot write.

#include "app/application.h"
#include "core/sizing.h"
#include "tests/app/workflowfixture.h"
#include "tests/ordinaryuser.h"

#include <QFileSystemWatcher>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>

#include <csignal>

class TestSettingsFile : public WorkflowFixture
{
    Q_OBJECT

private slots:
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
                                     << QStringList{"FlEdt_dPr1 5.00", "dPr1 5"} << QStringList{"LastSys=2", "dPr1=5"};
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
        // a suggestion above 100 stands: the field's minimum is raised (and
        // its maximum with it) before the suggestion is written; a pump drop
        // finer than its field shows leaves that field's text as it is, so
        // only Q1 recomputes the circuit and no second pass hides a clamp
        QTest::newRow("Kvy1 suggested above 100")
            << QByteArray("[Values]\nQ1=10\ndPn=0.0036\n") << 0 << 0
            << QStringList{"L_dPkl1 0.00", "L_Kv1 166.67", "FlEdt_Kvy1 166.0", "L_dPklReal1 0.00"}
            << QStringList{"Kvy1=166", "Q1=10", "dPn=0"};
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
        QVERIFY(!m_form->close()); // every attempt saves again
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
        QCOMPARE(m_boxes->texts(), QStringList{QStringLiteral("Unable to write to %1.")
                                                   .arg(m_dir->filePath(QStringLiteral("file/sub/settings.ini")))});
        QVERIFY(m_form->isVisible());
        QCOMPARE(field("FlEdt_dPr1")->text(), QStringLiteral("0.00"));
        QCOMPARE(line("L_Kv1"), kKvZero);
        QCOMPARE(sizing().dPr1, 0.0);
    }

    void sessionEndSavesInputs();
    void programFolderNotWritable_data();
    void programFolderNotWritable();
};

namespace {

// A child program starts, writes its file and ends well within this (ms),
// sanitizers included; a failing wait gives up then.
constexpr int kChildWait = 8000;

} // namespace

void TestSettingsFile::sessionEndSavesInputs()
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
    QCOMPARE(::rename(QFile::encodeName(temp).constData(), QFile::encodeName(settingsFile()).constData()), 0);

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

ChildRun runAsOrdinaryUser(const QString &exe, const QStringList &args, const QString &home, const QString &configHome)
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
        env.insert(QStringLiteral("LSAN_OPTIONS"),
                   lsan.replace(match.capturedStart(1), match.capturedLength(1), quoted));
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

void TestSettingsFile::programFolderNotWritable_data()
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
void TestSettingsFile::programFolderNotWritable()
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
    QVERIFY(QFile::setPermissions(exe, QFile::permissions(exe) | QFile::ExeOwner | QFile::ExeOther | QFile::ReadOther));
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

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    prepareApplication(app);
    TestSettingsFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_settingsfile.moc"
