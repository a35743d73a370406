// Start-up to the first painted frame of the main window.
//   in process: build TForm_Main (description, pictures, creation handler
//   with the settings load), show it, run the loop until its first paint;
//   cold process: start the program itself in an empty directory until its
//   creation handler has written settings.ini (before the first paint).
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "app/application.h"
#include "bench/benchstats.h"
#include "bench/windowbench.h"
#include "ui/mainwindow.h"
#include "ui/settingslocation.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileSystemWatcher>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <csignal>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

// Ends `loop` at the first paint of the watched window.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QEventLoop *loop) : m_loop(loop) {}
    bool painted = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            m_loop->quit();
        }
        return false;
    }

private:
    QEventLoop *m_loop;
};

double startInProcess()
{
    const Clock::time_point t0 = Clock::now();
    QEventLoop loop;
    FirstPaint first(&loop);
    TForm_Main form;
    form.installEventFilter(&first);
    form.show();
    if (!first.painted)
        loop.exec();
    const double ms = msSince(t0);
    form.hide();
    return ms;
}

double startColdProcess(const QString &exe, const QString &dir)
{
    const QString ini = dir + QStringLiteral("/settings.ini");
    QFile::remove(ini);
    QFileSystemWatcher watcher({dir});
    QEventLoop loop;
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, [&] {
        QFile f(ini);
        if (f.open(QIODevice::ReadOnly) && f.readAll().contains("Kvy2="))
            loop.quit();
    });
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    QProcess child;
    const Clock::time_point t0 = Clock::now();
    child.start(exe, {});
    loop.exec();
    const double ms = msSince(t0);
    ::kill(pid_t(child.processId()), SIGTERM);
    child.waitForFinished(30000);
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    WindowBench bench(argc, argv);

    std::vector<double> first{startInProcess()};
    std::vector<double> warm;
    for (int i = 0; i < 100; ++i)
        warm.push_back(startInProcess());
    printTimings("in process, first window (cold caches)", first);
    printTimings("in process, window built, shown, first paint", warm);

#ifdef ZELTON_EXE
    QTemporaryDir exeDir;
    const QString exe = exeDir.filePath(QStringLiteral("zelton"));
    if (QFile::copy(QStringLiteral(ZELTON_EXE), exe)) {
        QFile::setPermissions(exe, QFile::permissions(exe) | QFile::ExeOwner);
        std::vector<double> cold;
        for (int i = 0; i < 15; ++i)
            cold.push_back(startColdProcess(exe, exeDir.path()));
        printTimings("new process, to settings.ini written (before paint)", cold);
    }
#endif
    return 0;
}
