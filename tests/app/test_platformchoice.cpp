// The platform the program starts on, as a function of the environment.
#include "app/platformchoice.h"

#include <QtTest>

class TestPlatformChoice : public QObject
{
    Q_OBJECT

private slots:
    void choice_data()
    {
        // QT_QPA_PLATFORM, DISPLAY, WAYLAND_DISPLAY, XDG_SESSION_TYPE
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("chosen"); // empty: the toolkit's own choice
        QTest::newRow("X11 session") << QStringList{"", ":0", "", "x11"} << "xcb";
        QTest::newRow("Wayland desktop with XWayland")
            << QStringList{"", ":0", "wayland-0", "wayland"} << "xcb;wayland";
        QTest::newRow("Wayland session type only") << QStringList{"", ":1", "", "wayland"} << "xcb;wayland";
        QTest::newRow("Wayland without an X server") << QStringList{"", "", "wayland-0", "wayland"} << "";
        QTest::newRow("the user chose Wayland") << QStringList{"wayland", ":0", "wayland-0", "wayland"} << "";
        QTest::newRow("the user chose offscreen") << QStringList{"offscreen", ":0", "", ""} << "";
        QTest::newRow("no display at all") << QStringList{"", "", "", "tty"} << "";
    }

    void choice()
    {
        QFETCH(QStringList, environment);
        const PlatformEnvironment env{environment[0].toLatin1(), environment[1].toLatin1(), environment[2].toLatin1(),
                                      environment[3].toLatin1()};
        QTEST(QString::fromLatin1(chosenPlatform(env)), "chosen");
    }
};

QTEST_APPLESS_MAIN(TestPlatformChoice)
#include "test_platformchoice.moc"
