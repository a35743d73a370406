// The application frame: error display, escaping errors, start-up order,
// close refusal, end of session and exit codes.
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

// One typed character, delivered as an event of its own. (An error thrown
// through the toolkit's key and mouse event code would skip the cleanups
// of that code, which is built without exception support; the frame's
// last-resort catching is tested on events that do not pass through it.)
const QEvent::Type kCharEvent = QEvent::Type(QEvent::User + 1);

class CharEvent : public QEvent {
public:
    explicit CharEvent(QChar c) : QEvent(kCharEvent), ch(c) {}
    QChar ch;
};

void typeChars(QObject *receiver, const QString &text)
{
    for (QChar c : text) {
        CharEvent event(c);
        QCoreApplication::sendEvent(receiver, &event);
    }
}

// Raises `typed` with its text after every character.
class CharSignalWidget : public QWidget {
    Q_OBJECT
signals:
    void typed(const QString &text);

protected:
    bool event(QEvent *e) override
    {
        if (e->type() != kCharEvent)
            return QWidget::event(e);
        text += static_cast<CharEvent *>(e)->ch;
        emit typed(text);
        return true;
    }

public:
    QString text;
};

// Fails on the character "x"; with `grab` set, takes the mouse first.
class CharThrowingWidget : public QWidget {
protected:
    bool event(QEvent *e) override
    {
        if (e->type() != kCharEvent)
            return QWidget::event(e);
        if (static_cast<CharEvent *>(e)->ch == QLatin1Char('x')) {
            if (grab) {
                grabMouse();
                grabbed = QWidget::mouseGrabber() == this;
            }
            throw std::runtime_error("bad key");
        }
        ++chars;
        return true;
    }

public:
    bool grab = false;
    bool grabbed = false;
    int chars = 0;
};

} // namespace

class TestFrame : public QObject {
    Q_OBJECT

private slots:
    // the test library installs its own handlers when it starts
    void init() { installTerminationSignalHandlers(); }

    void periodRule_data();
    void periodRule();
    void errorClassName();
    void applicationErrorText_data();
    void applicationErrorText();
    void applicationIdentity();

    void slotErrorReachesErrorDisplay();
    void eventHandlerErrorReachesErrorDisplay();
    void errorReleasesMouseGrab();
    void realMessageBox();

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

void TestFrame::periodRule_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "abc" << "abc.";
    QTest::newRow("period") << "abc." << "abc.";
    QTest::newRow("exclamation") << "x!" << "x!";
    QTest::newRow("parenthesis") << "ok)" << "ok)";
    QTest::newRow("minus") << "a-" << "a-";
    QTest::newRow("blank") << "a " << "a ";
    QTest::newRow("cyrillic") << QStringLiteral("Файл") << QStringLiteral("Файл.");
    QTest::newRow("question") << "what?" << "what?.";
    QTest::newRow("colon") << "x:" << "x:.";
    QTest::newRow("digit") << "1" << "1.";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("comma") << "a," << "a,";
    QTest::newRow("slash") << "a/" << "a/.";
    QTest::newRow("write error")
        << "Unable to write to /home/u/settings.ini"
        << "Unable to write to /home/u/settings.ini.";
}

void TestFrame::periodRule()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(withFinalPeriod(message), shown);

    // the same rule through the error display, from UTF-8 error text
    BoxRecorder recorder;
    ShowErrorMessage(std::runtime_error(message.toStdString()));
    QCOMPARE(recorder.boxes.size(), 1);
    QCOMPARE(recorder.boxes[0].text, shown);
}

void TestFrame::errorClassName()
{
    QCOMPARE(::errorClassName(EOverflow()), QStringLiteral("EOverflow"));
    QCOMPARE(::errorClassName(EIniFileException("/x")), QStringLiteral("EIniFileException"));
    QCOMPARE(::errorClassName(Exception("x")), QStringLiteral("Exception"));
    QCOMPARE(::errorClassName(std::runtime_error("x")), QStringLiteral("std::runtime_error"));
    QCOMPARE(::errorClassName(std::bad_alloc()), QStringLiteral("std::bad_alloc"));
}

void TestFrame::applicationErrorText_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<quint64>("address");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("text");
    QTest::newRow("no period")
        << "EOverflow" << quint64(0) << "Floating point overflow"
        << "Exception EOverflow in module zelton at 00000000.\nFloating point overflow.\n";
    QTest::newRow("period kept")
        << "Exception" << quint64(0x4A3F) << "Out of memory."
        << "Exception Exception in module zelton at 00004A3F.\nOut of memory.\n";
    // this box adds a period after anything but a period
    QTest::newRow("exclamation")
        << "std::bad_alloc" << quint64(0xDEADBEEF) << "x!"
        << "Exception std::bad_alloc in module zelton at DEADBEEF.\nx!.\n";
    QTest::newRow("cyrillic")
        << "EIniFileException" << quint64(0x1b) << QStringLiteral("Файл")
        << QStringLiteral("Exception EIniFileException in module zelton at 0000001B.\nФайл.\n");
}

void TestFrame::applicationErrorText()
{
    QFETCH(QString, className);
    QFETCH(quint64, address);
    QFETCH(QString, message);
    QFETCH(QString, text);
    QCOMPARE(::applicationErrorText(className, QStringLiteral("zelton"), quintptr(address), message),
             text);
}

void TestFrame::applicationIdentity()
{
    prepareApplication(*TApplication::instance());
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Подбор Zelton"));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Подбор Zelton"));
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("zelton"));
}

void TestFrame::slotErrorReachesErrorDisplay()
{
    BoxRecorder recorder;
    CharSignalWidget widget;
    int changes = 0, completed = 0;
    connect(&widget, &CharSignalWidget::typed, this, [&](const QString &text) {
        ++changes;
        if (text == QLatin1String("12"))
            throw EOverflow();
        ++completed;
    });
    widget.show();
    QApplication::setActiveWindow(&widget);
    QVERIFY(QTest::qWaitForWindowActive(&widget));

    typeChars(&widget, QStringLiteral("123"));
    // the failing handler did not resume, the program went on
    QCOMPARE(changes, 3);
    QCOMPARE(completed, 2);
    QCOMPARE(widget.text, QStringLiteral("123"));
    QCOMPARE(recorder.boxes.size(), 1);
    const MessageBoxRequest &box = recorder.boxes[0];
    QCOMPARE(box.caption, QStringLiteral("Подбор Zelton"));
    QCOMPARE(box.text, QStringLiteral("Floating point overflow."));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.owner, static_cast<QWidget *>(&widget));
}

void TestFrame::eventHandlerErrorReachesErrorDisplay()
{
    BoxRecorder recorder;
    CharThrowingWidget widget;
    widget.show();
    typeChars(&widget, QStringLiteral("axb"));
    QCOMPARE(widget.chars, 2);
    QCOMPARE(recorder.boxes.size(), 1);
    QCOMPARE(recorder.boxes[0].text, QStringLiteral("bad key."));

    // a timer's handler is handled just the same
    bool timerDone = false;
    QTimer::singleShot(0, this, [&] {
        timerDone = true;
        throw EIniFileException("/tmp/dir/settings.ini");
    });
    QTRY_VERIFY(recorder.boxes.size() == 2);
    QVERIFY(timerDone);
    QCOMPARE(recorder.boxes[1].text, QStringLiteral("Unable to write to /tmp/dir/settings.ini."));
}

void TestFrame::errorReleasesMouseGrab()
{
    BoxRecorder recorder;
    QWidget *grabberDuringBox = nullptr;
    recorder.onBox = [&](const MessageBoxRequest &) { grabberDuringBox = QWidget::mouseGrabber(); };
    CharThrowingWidget widget;
    widget.grab = true;
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    typeChars(&widget, QStringLiteral("x"));
    QVERIFY(widget.grabbed);
    QCOMPARE(recorder.boxes.size(), 1);
    QCOMPARE(grabberDuringBox, nullptr);
}

void TestFrame::realMessageBox()
{
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool modal = false;
    int tries = 0;
    std::function<void()> inspect = [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            if (++tries < 100)
                QTimer::singleShot(0, this, inspect);
            return;
        }
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        modal = box->windowModality() == Qt::ApplicationModal;
        box->button(QMessageBox::Ok)->click();
    };
    QTimer::singleShot(0, this, inspect);
    ShowErrorMessage(EIniFileException("/tmp/Подбор/settings.ini"));
    QCOMPARE(title, QStringLiteral("Подбор Zelton"));
    QCOMPARE(text, QStringLiteral("Unable to write to /tmp/Подбор/settings.ini."));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(modal);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

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
    QCOMPARE(saves, 3);   // every attempt saves again
    QCOMPARE(visibleAfterClose, (QList<bool>{false, true, false, true, true, false}));
    QCOMPARE(recorder.boxes.size(), 2);
    for (const MessageBoxRequest &box : recorder.boxes) {
        QCOMPARE(box.caption, QStringLiteral("Подбор Zelton"));
        QCOMPARE(box.text, QStringLiteral("Unable to write to /ro/settings.ini."));
    }
    QVERIFY(mainWindow.isNull());   // destroyed once the loop ended
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
    QVERIFY(!visibleWhenBoxShown);   // the box comes before the window
    QCOMPARE(creations, 1);          // not run again after its error
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
    const int code = runMainWindow(*TApplication::instance(), [&](MainWindowHandlers &h)
                                       -> std::unique_ptr<QWidget> {
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
    QCOMPARE(box.text, ownError
                           ? QStringLiteral("Exception EOverflow in module %1 at 00000000.\n"
                                            "Floating point overflow.\n").arg(module)
                           : QStringLiteral("Exception std::bad_alloc in module %1 at 00000000.\n"
                                            "std::bad_alloc.\n").arg(module));
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
        h.shown = [&, w = window.get()] {
            QTimer::singleShot(0, w, [signal] { std::raise(signal); });
        };
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
