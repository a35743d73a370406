#pragma once
// The application frame: start-up, the message loop, the error display of
// escaping errors, shut-down and the end of the desktop session.
#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class HintController;
class QSessionManager;
class QSocketNotifier;

// What the frame calls on the main window. Each handler may raise errors.
struct MainWindowHandlers {
    // Runs once, after the window has been built and before it is shown.
    // An error is shown by the error display and start-up goes on.
    std::function<void()> created;
    // Runs once, right after the window has been shown.
    std::function<void()> shown;
    // Runs on every attempt to close the window; an error keeps it open.
    std::function<void()> closing;
    // Saves the window's inputs at the end of the desktop session. An error
    // is written to stderr: no box may hold up the end of the session.
    std::function<void()> sessionEnd;
};

// Builds the main window and fills in its handlers. An error raised here
// is an error before the message loop: the "Application Error" box.
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
    bool notify(QObject *receiver, QEvent *event) override;

    void setMainWindow(QWidget *window, MainWindowHandlers handlers);
    QWidget *mainWindow() const { return m_mainWindow; }
    const MainWindowHandlers &mainWindowHandlers() const { return m_handlers; }

    // The hint controller of the application: sees every event before it is
    // delivered and the moments the loop is about to wait.
    HintController *hintController() const { return m_hintController; }

    // The terminate flag: set when the message loop has been asked to end.
    bool isTerminated() const { return m_terminated; }
    // Clears the terminate flag and the session end before a new loop.
    void resetTermination() { m_terminated = m_sessionEnding = false; }
    void terminate();

    // End of the desktop session (session manager, SIGTERM, SIGHUP): saves
    // through the main window's session-end handler without any box, then
    // ends the message loop. Runs once.
    void endSession();
    bool isSessionEnding() const { return m_sessionEnding; }

private:
    void onTerminationSignal();
    void onCommitDataRequest(QSessionManager &manager);

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

// Application title, desktop file name, icon, style and fonts.
void prepareApplication(TApplication &app);

// Start-up steps from the creation of the main window on: build it, run its
// creation handler, show it, run the loop, destroy it. Returns the exit
// code: 0 after a normal end, 1 after an error before the loop.
int runMainWindow(TApplication &app, const MainWindowFactory &factory);

// The program: decimal separator, application object, title, the main
// window and its loop. Reads no options from the command line.
int RunApplication(int &argc, char **argv, const MainWindowFactory &factory);
