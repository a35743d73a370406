#include "app/platformchoice.h"

#include <QtGlobal>

PlatformEnvironment currentPlatformEnvironment()
{
    return {qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"), qgetenv("XDG_SESSION_TYPE")};
}

QByteArray chosenPlatform(const PlatformEnvironment &env)
{
    if (!env.qpaPlatform.isEmpty() || env.display.isEmpty())
        return {};
    if (!env.waylandDisplay.isEmpty() || env.sessionType == "wayland")
        return QByteArrayLiteral("xcb;wayland");
    return QByteArrayLiteral("xcb");
}
