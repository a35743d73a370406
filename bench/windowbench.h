#pragma once
// What the benchmarks of the main window share: the application prepared
// as the program prepares it, on the offscreen platform unless another one
// is set, with the window's settings.ini in a temporary folder of its own.
#include <QTemporaryDir>

#include "app/application.h"
#include "ui/settingslocation.h"

class WindowBench
{
public:
    WindowBench(int &argc, char **argv) : m_platformChosen(chooseOffscreenUnlessSet()), m_app(argc, argv)
    {
        prepareApplication(m_app);
        setExecutableDirectoryOverride(m_dir.path());
    }

    TApplication &app() { return m_app; }

private:
    // Before the application object: it picks its platform when created.
    static bool chooseOffscreenUnlessSet()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return true;
    }

    bool m_platformChosen;
    TApplication m_app;
    QTemporaryDir m_dir;
};
