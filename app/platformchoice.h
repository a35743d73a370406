#pragma once
// The toolkit platform the program starts on.
//
// On the toolkit's Wayland platform a program can neither read the
// pointer's screen position nor place its own windows, so the hint window's
// placement and the centring of the main window would fail without a word.
// Where the user has chosen no platform and an X server is reachable (a
// Wayland desktop provides one through XWayland), the program starts on X11.
#include <QByteArray>

// What the choice reads of the environment.
struct PlatformEnvironment {
    QByteArray qpaPlatform;    // QT_QPA_PLATFORM: the user's own choice
    QByteArray display;        // DISPLAY: an X server
    QByteArray waylandDisplay; // WAYLAND_DISPLAY
    QByteArray sessionType;    // XDG_SESSION_TYPE
};

PlatformEnvironment currentPlatformEnvironment();

// The platforms to ask the toolkit for, in the order to try them ("xcb",
// or "xcb;wayland" on a Wayland desktop, whose own platform then serves if
// the X server does not answer); empty to leave the choice to the toolkit.
QByteArray chosenPlatform(const PlatformEnvironment &env);
