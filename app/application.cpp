#include "app/application.h"

#include "app/errordisplay.h"
#include "app/hintcontroller.h"
#include "app/platformchoice.h"
#include "app/toolkittranslations.h"
#include "core/errors.h"
#include "core/numtext.h"
#include "ui/handlererrors.h"
#include "ui/lookandfeel.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QSocketNotifier>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace {

// [0] is written by the signal handler, [1] is read by the event loop.
int g_signalFds[2] = {-1, -1};

extern "C" void writeSignalByte(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalFds[0], &byte, 1);
    errno = savedErrno;
}

const int kTerminationSignals[] = {SIGTERM, SIGHUP};

// Runs `body`; an error escaping it goes to `report`, one of no standard
// kind as the Exception "Unknown error". True when nothing escaped.
template <class Body, class Report>
bool catchErrors(Body &&body, Report &&report)
{
    try {
        body();
        return true;
    } catch (const std::exception &error) {
        report(error);
    } catch (...) {
        report(Exception("Unknown error"));
    }
    return false;
}

void reportSessionEndError(const QString &message)
{
    const QString line =
        QStringLiteral("%1: %2\n")
            .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName(), withFinalPeriod(message));
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

} // namespace

void installTerminationSignalHandlers()
{
    if (g_signalFds[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_signalFds) != 0) {
        g_signalFds[0] = g_signalFds[1] = -1;
        std::perror("socketpair");
        return;
    }
    struct sigaction action = {};
    action.sa_handler = writeSignalByte;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : kTerminationSignals)
        ::sigaction(sig, &action, nullptr);
}

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    // The main window's close is followed up in notify(); no other window
    // ends the program.
    setQuitOnLastWindowClosed(false);
    if (g_signalFds[1] >= 0) {
        m_signalNotifier = new QSocketNotifier(g_signalFds[1], QSocketNotifier::Read, this);
        connect(m_signalNotifier, &QSocketNotifier::activated, this, &TApplication::onTerminationSignal);
    }
    // The session manager's commit request comes before the log-off, which
    // the user may still cancel: the inputs are saved, the program goes on.
    connect(this, &QGuiApplication::commitDataRequest, this, &TApplication::commitSessionData, Qt::DirectConnection);
    // The window's handlers hand their errors to the error display.
    setHandlerErrorReporter([](const std::exception &error) { ShowErrorMessage(error); });
    m_hintController = new HintController(this);
}

TApplication::~TApplication()
{
    // The controller owns the hint window, which must go before the
    // application object does. Events sent while it goes (the window's,
    // its own removal as a child) no longer reach it.
    delete std::exchange(m_hintController, nullptr);
    setHandlerErrorReporter({});
    delete m_signalNotifier;
    m_signalNotifier = nullptr;
}

TApplication *TApplication::instance() { return qobject_cast<TApplication *>(QCoreApplication::instance()); }

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    // At the real end of the session the toolkit hands the session
    // manager's "die" to the application as a quit request, which would
    // close every window and so run the closing handler, boxes included.
    if (receiver == this && event->type() == QEvent::Quit) {
        endSession();
        return true;
    }
    const bool closingMainWindow = event->type() == QEvent::Close && receiver && receiver == m_mainWindow.data();
    bool result = false;
    catchErrors(
        [&] {
            // The hint controller sees every event before it is handled:
            // user input cancels a hint.
            if (m_hintController)
                m_hintController->filterEvent(receiver, event);
            // The program shows no tooltip of the toolkit: a pointer move
            // that would start the toolkit's tooltip timer goes on as a
            // sent event (this function sees it once more).
            if (HintController::startsToolkitToolTipTimer(receiver, event))
                result = QCoreApplication::sendEvent(receiver, event);
            else
                result = QApplication::notify(receiver, event);
            if (closingMainWindow && event->isAccepted())
                terminate();
        },
        [event](const std::exception &error) {
            if (event->type() == QEvent::Close)
                event->ignore();
            ShowErrorMessage(error);
        });
    return result;
}

void TApplication::setMainWindow(QWidget *window, MainWindowHandlers handlers)
{
    m_mainWindow = window;
    m_handlers = std::move(handlers);
    if (m_hintController)
        m_hintController->setMainWindow(window);
}

void TApplication::terminate()
{
    m_terminated = true;
    // exit() ends every running loop at once; quit() would first try to
    // close the windows, running their closing handlers again.
    exit(0);
}

void TApplication::commitSessionData()
{
    if (m_mainWindow && m_handlers.sessionEnd)
        catchErrors(m_handlers.sessionEnd,
                    [](const std::exception &error) { reportSessionEndError(errorMessage(error)); });
}

void TApplication::endSession()
{
    if (m_sessionEnding)
        return;
    m_sessionEnding = true;
    // Saved again: the log-off may have been cancelled after a commit
    // request and the inputs changed since. An unchanged file is not
    // rewritten.
    commitSessionData();
    terminate();
}

void TApplication::onTerminationSignal()
{
    char buffer[64];
    while (::read(g_signalFds[1], buffer, sizeof buffer) > 0) {
    }
    endSession();
}

void TerminateApplication()
{
    if (TApplication *app = TApplication::instance())
        app->terminate();
    else
        QCoreApplication::exit(0);
}

void prepareApplication(TApplication &app)
{
    // The application name is also the display name the desktop shows; it
    // is not set as an explicit display name, which some platforms would
    // append to every window caption.
    app.setApplicationName(applicationTitle());
    app.setDesktopFileName(QStringLiteral("zelton"));

    const QIcon icon = programIcon();
    if (!icon.isNull())
        app.setWindowIcon(icon);

    installLookAndFeel();
    installToolkitTranslations(app);
}

int runMainWindow(TApplication &app, const MainWindowFactory &factory)
{
    app.resetTermination();
    std::unique_ptr<QWidget> window;
    const bool started = catchErrors(
        [&] {
            MainWindowHandlers handlers;
            window = factory(handlers);
            app.setMainWindow(window.get(), handlers);
            if (!app.isTerminated())
                window->show();
        },
        [&](const std::exception &error) {
            app.setMainWindow(nullptr, {});
            window.reset();
            showApplicationError(error);
        });
    if (!started)
        return 1;

    if (!app.isTerminated())
        app.exec();

    app.setMainWindow(nullptr, {});
    window.reset();
    return 0;
}

ToolkitArguments::ToolkitArguments(const QString &program, const QStringList &options)
{
    m_texts.push_back(QFile::encodeName(program));
    for (const QString &option : options)
        m_texts.push_back(option.toLocal8Bit());
    for (QByteArray &text : m_texts)
        m_argv.push_back(text.data());
    m_argc = int(m_texts.size());
    m_argv.push_back(nullptr);
}

int RunApplication(int argc, char **argv, const MainWindowFactory &factory, const QStringList &toolkitOptions)
{
    setDecimalSeparator('.');
    installTerminationSignalHandlers();

    // The platform the user named comes first; otherwise the program's
    // choice, which the environment may leave to the toolkit.
    QStringList options = toolkitOptions;
    if (!options.contains(QStringLiteral("-platform"))) {
        const QByteArray platform = chosenPlatform(currentPlatformEnvironment());
        if (!platform.isEmpty())
            options << QStringLiteral("-platform") << QString::fromLatin1(platform);
    }
    ToolkitArguments arguments(argc > 0 ? QFile::decodeName(argv[0]) : QStringLiteral("zelton"), options);
    TApplication app(arguments.argc(), arguments.argv());
    // The toolkit adopts the user's locale for the C library; numbers keep
    // the "." separator whatever the locale says.
    std::setlocale(LC_NUMERIC, "C");

    prepareApplication(app);
    return runMainWindow(app, factory);
}
