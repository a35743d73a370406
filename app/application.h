#pragma once
// The application frame: start-up, the message loop, the error display of
// escaping errors, shut-down and the end of the desktop session.
#include <QApplication>
#include <QByteArray>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class HintController;
class QSocketNotifier;

// What the frame calls on the main window; the window's own creation, show
// and close handlers run from its constructor and its show and close events.
struct MainWindowHandlers {
    // Saves the window's inputs at the end of the desktop session. An error
    // is written to stderr: no box may hold up the end of the session.
    std::function<void()> sessionEnd;
};

// Builds the main window (its creation handler runs inside) and fills in
// its handlers. An error raised here is an error before the message loop:
// the "Application Error" box.
using MainWindowFactory = std::function<std::unique_ptr<QWidget>(MainWindowHandlers &handlers)>;

class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);
    ~TApplication() override;

    static TApplication *instance();

    // Every event goes through here. The window's handlers report their own
    // errors (runHandler of ui/handlererrors.h, installed by the constructor);
    // this is the last line: an error that still escapes the handling of an
    // event (an event handler, an event filter, or a slot run by a signal
    // raised within it) goes to the error display and the program goes on.
    // Such an error has passed through the toolkit's code, which skips its
    // cleanups; handlers should not rely on it. A close event whose handling
    // failed is refused; an accepted close of the main window ends the loop.
    // A quit request to the application (what the session manager's "die"
    // at the real end of the session becomes) ends the session.
    bool notify(QObject *receiver, QEvent *event) override;

    void setMainWindow(QWidget *window, MainWindowHandlers handlers);
    QWidget *mainWindow() const { return m_mainWindow; }

    // The hint controller of the application: sees every event before it is
    // delivered and the moments the loop is about to wait.
    HintController *hintController() const { return m_hintController; }

    // The terminate flag: set when the message loop has been asked to end.
    bool isTerminated() const { return m_terminated; }
    // Clears the terminate flag and the session end before a new loop.
    void resetTermination() { m_terminated = m_sessionEnding = false; }
    void terminate();

    // The session manager asks for the inputs before the session ends (its
    // commit request): saves through the main window's session-end handler
    // without any box, and the program goes on, for the user may still
    // cancel the log-off.
    void commitSessionData();
    // The real end of the desktop session (the session manager's end, SIGTERM,
    // SIGHUP): saves as commitSessionData does, then ends the message loop.
    // Runs once.
    void endSession();
    bool isSessionEnding() const { return m_sessionEnding; }

private:
    void onTerminationSignal();

    HintController *m_hintController = nullptr;
    QPointer<QWidget> m_mainWindow;
    MainWindowHandlers m_handlers;
    QSocketNotifier *m_signalNotifier = nullptr;
    bool m_terminated = false;
    bool m_sessionEnding = false;
};

// Routes SIGTERM and SIGHUP into the event loop through a socket pair: the
// signal handler only writes one byte, the loop does the rest. Call before
// the application object is created; calling it again installs the
// handlers again (over ones installed by someone else meanwhile).
void installTerminationSignalHandlers();

// Asks the message loop to end.
void TerminateApplication();

// Application title, desktop file name, icon, style and fonts, and the
// toolkit's own texts in Russian.
void prepareApplication(TApplication &app);

// Start-up steps from the creation of the main window on: build it (its
// creation handler runs inside), show it, run the loop, destroy it. Returns
// the exit code: 0 after a normal end, 1 after an error before the loop.
int runMainWindow(TApplication &app, const MainWindowFactory &factory);

// The arguments the application object is made with: the program's name
// and the toolkit's own options. They live as long as this object, which
// must outlive the application object (the toolkit keeps them).
class ToolkitArguments
{
public:
    ToolkitArguments(const QString &program, const QStringList &options);
    ToolkitArguments(const ToolkitArguments &) = delete;
    ToolkitArguments &operator=(const ToolkitArguments &) = delete;

    int &argc() { return m_argc; }
    char **argv() { return m_argv.data(); }

private:
    std::vector<QByteArray> m_texts;
    std::vector<char *> m_argv;
    int m_argc = 0;
};

// The program: decimal separator, the platform, application object, title,
// the main window and its loop. The toolkit gets the program's name
// (argv[0], "zelton" without one) and `toolkitOptions` (Qt's own options of the command line,
// app/commandline.h); where they choose no platform, the program's choice
// (platformchoice.h) is added.
int RunApplication(int argc, char **argv, const MainWindowFactory &factory, const QStringList &toolkitOptions = {});
