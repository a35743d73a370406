// The application frame: a normal end, a close refused, errors in the
// creation handler and before the loop, the end of the session, and the
// exit codes and signals of a real program.
#include "app/application.h"
#include "app/errordisplay.h"
#include "core/errors.h"
#include "tests/app/boxrecorder.h"

#include <QAbstractButton>
#include <QEventLoop>
#include <QProcess>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <stdexcept>

namespace {

// A child program starts and ends well within this (ms), sanitizers
// included; a failing wait gives up then.
constexpr int kChildWait = 8000;

} // namespace

class TestFrame : public QObject
{
    Q_OBJECT

private slots:
    void normalEndExitsWithZero();
    void failedCloseKeepsWindowOpen();
    void creationErrorShownAndStartupGoesOn();
    void startupErrorExitsWithOne_data();
    void startupErrorExitsWithOne();
    void sessionEndSavesWithoutBox_data();
    void sessionEndSavesWithoutBox();
    void sessionEndWhileBoxIsOpen();
    void childExitCodes_data();
    void childExitCodes();
    void childSignal_data();
    void childSignal();
};

void TestFrame::normalEndExitsWithZero()
{
    BoxRecorder recorder;
    int closings = 0;
    const int code = runMainWindow(*TApplication::instance(), [&](MainWindowHandlers &h) {
        auto window = std::make_unique<QWidget>();
        h.closing = [&] { ++closings; };
        h.shown = [w = window.get()] { QTimer::singleShot(0, w, &QWidget::close); };
        return window;
    });
    QCOMPARE(code, 0);
    QCOMPARE(closings, 1);
    QVERIFY(recorder.boxes.isEmpty());
    QCOMPARE(TApplication::instance()->mainWindow(), nullptr);
}

void TestFrame::failedCloseKeepsWindowOpen()
{
    BoxRecorder recorder;
    bool saveFails = true;
    int saves = 0;
    QList<bool> visibleAfterClose;
    QPointer<QWidget> mainWindow;
    const int code = runMainWindow(*TApplication::instance(), [&](MainWindowHandlers &h) {
        auto window = std::make_unique<QWidget>();
        mainWindow = window.get();
        h.closing = [&] {
            ++saves;
            if (saveFails)
                throw EIniFileException("/ro/settings.ini");
        };
        h.shown = [&] {
            QTimer::singleShot(0, mainWindow, [&] {
                visibleAfterClose << mainWindow->close() << mainWindow->isVisible();
                visibleAfterClose << mainWindow->close() << mainWindow->isVisible();
                saveFails = false;
                visibleAfterClose << mainWindow->close() << mainWindow->isVisible();
            });
        };
        return window;
    });
    QCOMPARE(code, 0);
    QCOMPARE(saves, 3); // every attempt saves again
    QCOMPARE(visibleAfterClose, (QList<bool>{false, true, false, true, true, false}));
    QCOMPARE(recorder.boxes.size(), 2);
    for (const MessageBoxRequest &box : recorder.boxes) {
        QCOMPARE(box.caption, QStringLiteral("Подбор Zelton"));
        QCOMPARE(box.text, QStringLiteral("Unable to write to /ro/settings.ini."));
    }
    QVERIFY(mainWindow.isNull()); // destroyed once the loop ended
}

void TestFrame::creationErrorShownAndStartupGoesOn()
{
    BoxRecorder recorder;
    bool visibleWhenBoxShown = true;
    recorder.onBox = [&](const MessageBoxRequest &) {
        visibleWhenBoxShown = TApplication::instance()->mainWindow()->isVisible();
    };
    bool shown = false;
    int creations = 0;
    const int code = runMainWindow(*TApplication::instance(), [&](MainWindowHandlers &h) {
        auto window = std::make_unique<QWidget>();
        h.created = [&] {
            ++creations;
            throw Exception("Файл");
        };
        h.shown = [&, w = window.get()] {
            shown = w->isVisible();
            QTimer::singleShot(0, w, &QWidget::close);
        };
        return window;
    });
    QCOMPARE(code, 0);
    QCOMPARE(recorder.boxes.size(), 1);
    QCOMPARE(recorder.boxes[0].caption, QStringLiteral("Подбор Zelton"));
    QCOMPARE(recorder.boxes[0].text, QStringLiteral("Файл."));
    QVERIFY(!visibleWhenBoxShown); // the box comes before the window
    QCOMPARE(creations, 1);        // not run again after its error
    QVERIFY(shown);
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
    bool created = false;
    const int code = runMainWindow(*TApplication::instance(), [&](MainWindowHandlers &h) -> std::unique_ptr<QWidget> {
        h.created = [&] { created = true; };
        if (ownError)
            throw EOverflow();
        throw std::bad_alloc();
    });
    QCOMPARE(code, 1);
    QVERIFY(!created);
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

void TestFrame::sessionEndSavesWithoutBox_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("saveFails");
    QTest::newRow("SIGTERM") << int(SIGTERM) << false;
    QTest::newRow("SIGHUP") << int(SIGHUP) << false;
    QTest::newRow("SIGTERM, save fails") << int(SIGTERM) << true;
}

void TestFrame::sessionEndSavesWithoutBox()
{
    QFETCH(int, signal);
    QFETCH(bool, saveFails);
    BoxRecorder recorder;
    int saves = 0, closings = 0;
    const int code = runMainWindow(*TApplication::instance(), [&](MainWindowHandlers &h) {
        auto window = std::make_unique<QWidget>();
        h.closing = [&] { ++closings; };
        h.sessionEnd = [&] {
            ++saves;
            if (saveFails)
                throw EIniFileException("/ro/settings.ini");
        };
        h.shown = [&, w = window.get()] { QTimer::singleShot(0, w, [signal] { std::raise(signal); }); };
        return window;
    });
    QCOMPARE(code, 0);
    QCOMPARE(saves, 1);
    QCOMPARE(closings, 0);
    QVERIFY(recorder.boxes.isEmpty());
}

void TestFrame::sessionEndWhileBoxIsOpen()
{
    // A failed close has its box open when the session ends: the box goes
    // away with the loop, the inputs are saved, and the program ends.
    BoxRecorder recorder;
    recorder.onBox = [](const MessageBoxRequest &) {
        QEventLoop boxLoop;
        QTimer::singleShot(0, &boxLoop, [] { std::raise(SIGTERM); });
        boxLoop.exec();
    };
    int saves = 0;
    const int code = runMainWindow(*TApplication::instance(), [&](MainWindowHandlers &h) {
        auto window = std::make_unique<QWidget>();
        h.closing = [] { throw EIniFileException("/ro/settings.ini"); };
        h.sessionEnd = [&] { ++saves; };
        h.shown = [w = window.get()] { QTimer::singleShot(0, w, &QWidget::close); };
        return window;
    });
    QCOMPARE(code, 0);
    QCOMPARE(recorder.boxes.size(), 1);
    QCOMPARE(saves, 1);
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
