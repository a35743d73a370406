// The application frame: the program's own window ended by its close, by
// the end of the desktop session and by signals, an error in its creation
// handler and one before the loop, and the exit codes and signals of a
// real program.
#include "app/application.h"
#include "app/errordisplay.h"
#include "app/mainwindowfactory.h"
#include "core/errors.h"
#include "core/sizing.h"
#include "tests/app/boxrecorder.h"
#include "tests/testfiles.h"
#include "ui/mainwindow.h"
#include "ui/settingslocation.h"
#include "ui_Form_Main.h"

#include <QAbstractButton>
#include <QEventLoop>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <stdexcept>
#include <sys/stat.h>

namespace {

// A child program starts and ends well within this (ms), sanitizers
// included; a failing wait gives up then. A run of the window in this
// process that has not ended within it is ended.
constexpr int kChildWait = 8000;

// Runs the program's main window through the frame, with `script` once the
// loop runs. True when the run ended by itself in time.
bool runProgramWindow(int &code, const std::function<void(TForm_Main *)> &script)
{
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, &TerminateApplication);
    watchdog.start(kChildWait);
    code = runMainWindow(*TApplication::instance(), [&](MainWindowHandlers &h) {
        std::unique_ptr<QWidget> window = createMainWindow(h);
        auto *form = static_cast<TForm_Main *>(window.get());
        QTimer::singleShot(0, form, [form, &script] { script(form); });
        return window;
    });
    return watchdog.isActive();
}

// The session manager's commit request as the toolkit raises it (its
// manager object cannot be made here; the program's handler takes none).
void raiseCommitDataRequest()
{
    const QMetaObject &meta = QGuiApplication::staticMetaObject;
    const int index = QMetaMethod::fromSignal(&QGuiApplication::commitDataRequest).methodIndex();
    void *args[] = {nullptr, nullptr};
    QMetaObject::activate(TApplication::instance(), &meta, index - meta.methodOffset(), args);
}

} // namespace

class TestFrame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // over the test library's crash handlers, which take them for crashes
        installTerminationSignalHandlers();
    }
    void init()
    {
        setExecutableDirectoryOverride(m_dir.path());
        QFile::remove(settingsFile());
        sizing() = SizingState{};
    }
    void windowEnds_data();
    void windowEnds();
    void creationErrorShownAndStartupGoesOn();
    void startupErrorExitsWithOne_data();
    void startupErrorExitsWithOne();
    void childExitCodes_data();
    void childExitCodes();
    void childSignal_data();
    void childSignal();

private:
    QString settingsFile() const { return m_dir.filePath(QStringLiteral("settings.ini")); }

    QTemporaryDir m_dir;
};

void TestFrame::windowEnds_data()
{
    // Once the loop runs, dPr1 is set to 4.5 and settings.ini made read-only
    // unless `writable`; then `ending`: a close, a signal, the session
    // manager's commit request (the program goes on) and its "die" (a quit
    // request to the application), or its die alone. A box ends the session.
    QTest::addColumn<QString>("ending");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<QByteArray>("saved"); // dPr1 in settings.ini at the end
    QTest::newRow("close") << "close" << true << 0 << QByteArray("4.5");
    QTest::newRow("close fails, SIGTERM in its box") << "close" << false << 1 << QByteArray("4.5");
    QTest::newRow("SIGTERM") << "SIGTERM" << true << 0 << QByteArray("4.5");
    QTest::newRow("SIGHUP") << "SIGHUP" << true << 0 << QByteArray("4.5");
    QTest::newRow("SIGTERM, save fails") << "SIGTERM" << false << 0 << QByteArray("0");
    QTest::newRow("commit request") << "commit" << true << 0 << QByteArray("4.5");
    QTest::newRow("commit request, save fails") << "commit" << false << 0 << QByteArray("0");
    QTest::newRow("end of the session") << "end" << true << 0 << QByteArray("4.5");
    QTest::newRow("end of the session, save fails") << "end" << false << 0 << QByteArray("0");
}

void TestFrame::windowEnds()
{
    QFETCH(QString, ending);
    QFETCH(bool, writable);
    QFETCH(QByteArray, saved);
    const QByteArray path = QFile::encodeName(settingsFile());
    BoxRecorder recorder;
    recorder.onBox = [&](const MessageBoxRequest &) {
        ::chmod(path.constData(), 0644);
        QEventLoop boxLoop;
        QTimer::singleShot(0, &boxLoop, [] { std::raise(SIGTERM); });
        boxLoop.exec();
    };
    const auto endOfSession = [] {
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(TApplication::instance(), &quit);
    };
    bool runningAfterCommit = false;
    QByteArray atCommit;
    int code = -1;
    QVERIFY(runProgramWindow(code, [&](TForm_Main *form) {
        form->ui->FlEdt_dPr1->setValueL(4.5);
        ::chmod(path.constData(), writable ? 0644 : 0444);
        if (ending == QLatin1String("close"))
            form->close();
        else if (ending.startsWith(QLatin1String("SIG")))
            std::raise(ending == QLatin1String("SIGTERM") ? SIGTERM : SIGHUP);
        else if (ending == QLatin1String("end"))
            endOfSession();
        else {
            raiseCommitDataRequest();
            atCommit = readFile(settingsFile());
            // a later turn of the loop: it runs only if the loop goes on
            QTimer::singleShot(0, form, [&, form] {
                runningAfterCommit = !TApplication::instance()->isTerminated() && form->isVisible();
                endOfSession();
            });
        }
    }));
    QCOMPARE(code, 0);
    QTEST(int(recorder.boxes.size()), "boxes");
    QVERIFY(readFile(settingsFile()).contains("\ndPr1=" + saved + "\r\n"));
    QCOMPARE(TApplication::instance()->mainWindow(), nullptr);
    if (ending == QLatin1String("commit"))
        QVERIFY(runningAfterCommit && atCommit.contains("\ndPr1=" + saved + "\r\n"));
}

void TestFrame::creationErrorShownAndStartupGoesOn()
{
    // settings.ini cannot be made: its folder is a path through a file
    QVERIFY(writeFile(m_dir.filePath(QStringLiteral("file")), "x"));
    const QString file = m_dir.filePath(QStringLiteral("file/sub/settings.ini"));
    setExecutableDirectoryOverride(m_dir.filePath(QStringLiteral("file/sub")));
    BoxRecorder recorder;
    bool shownAtBox = false, shown = false;
    recorder.onBox = [&](const MessageBoxRequest &) {
        for (QWindow *window : QGuiApplication::topLevelWindows())
            shownAtBox |= window->isVisible();
    };
    int code = -1;
    QVERIFY(runProgramWindow(code, [&](TForm_Main *form) {
        shown = form->isVisible();
        // the folder made possible: the close saves and ends the program
        QFile::remove(m_dir.filePath(QStringLiteral("file")));
        QDir().mkpath(QFileInfo(file).path());
        form->close();
    }));
    QCOMPARE(code, 0);
    QCOMPARE(recorder.texts(), QStringList{QStringLiteral("Unable to write to %1.").arg(file)});
    QVERIFY(!shownAtBox && shown); // the box comes before the window
    QVERIFY(QFileInfo::exists(file));
}

void TestFrame::startupErrorExitsWithOne_data()
{
    QTest::addColumn<bool>("ownError");
    QTest::newRow("EOverflow") << true;
    QTest::newRow("std::bad_alloc") << false;
}

void TestFrame::startupErrorExitsWithOne()
{
    QFETCH(bool, ownError);
    BoxRecorder recorder;
    const int code = runMainWindow(*TApplication::instance(), [&](MainWindowHandlers &) -> std::unique_ptr<QWidget> {
        if (ownError)
            throw EOverflow();
        throw std::bad_alloc();
    });
    QCOMPARE(code, 1);
    QCOMPARE(recorder.boxes.size(), 1);
    const MessageBoxRequest &box = recorder.boxes[0];
    const QString module = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    QCOMPARE(box.caption, QStringLiteral("Application Error"));
    QCOMPARE(box.owner, nullptr);
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.text, ownError ? QStringLiteral("Exception EOverflow in module %1 at 00000000.\n"
                                                 "Floating point overflow.\n")
                                      .arg(module)
                                : QStringLiteral("Exception std::bad_alloc in module %1 at 00000000.\n"
                                                 "std::bad_alloc.\n")
                                      .arg(module));
}

void TestFrame::childExitCodes_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::newRow("normal end") << "normal" << 0 << "";
    QTest::newRow("error before the loop")
        << "startup-error" << 1
        << "box [Application Error]: Exception EOverflow in module frame_child at 00000000.\n"
           "Floating point overflow.\n";
}

void TestFrame::childExitCodes()
{
    QFETCH(QString, mode);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QProcess child;
    child.start(QStringLiteral(FRAME_CHILD), {mode});
    QVERIFY(child.waitForFinished(kChildWait));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), exitCode);
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    QVERIFY2(out.contains(output), qPrintable(out));
    if (exitCode != 0)
        QVERIFY(QString::fromUtf8(child.readAllStandardError())
                    .contains(QStringLiteral("Exception EOverflow in module frame_child at 00000000.")));
}

void TestFrame::childSignal_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void TestFrame::childSignal()
{
    QFETCH(int, signal);
    QProcess child;
    child.start(QStringLiteral(FRAME_CHILD), {QStringLiteral("signal")});
    QVERIFY(child.waitForStarted());
    QByteArray out;
    while (!out.contains("ready\n") && child.waitForReadyRead(kChildWait))
        out += child.readAllStandardOutput();
    QVERIFY2(out.contains("ready\n"), out.constData());
    QCOMPARE(::kill(pid_t(child.processId()), signal), 0);
    QVERIFY(child.waitForFinished(kChildWait));
    out += child.readAllStandardOutput();
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    QVERIFY2(out.contains("saved\n"), out.constData());
    QVERIFY(!out.contains("box"));
}

int main(int argc, char **argv)
{
    installTerminationSignalHandlers();
    TApplication app(argc, argv);
    TestFrame test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_frame.moc"
