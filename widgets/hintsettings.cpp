#include "widgets/hintsettings.h"

#include "widgets/hintwindow.h"

namespace {

HintSettings *g_application = nullptr;

} // namespace

HintSettings::HintSettings(QObject *parent) : QObject(parent), m_hintWindowClass(&THintWindow::staticMetaObject)
{
    if (!g_application)
        g_application = this;
}

HintSettings::~HintSettings()
{
    if (g_application == this)
        g_application = nullptr;
}

HintSettings *HintSettings::application() { return g_application; }

void HintSettings::setHintWindowClass(const QMetaObject *windowClass)
{
    if (windowClass && windowClass->inherits(&THintWindow::staticMetaObject))
        m_hintWindowClass = windowClass;
}

void HintSettings::setHintsEnabled(bool enabled)
{
    if (m_hintsEnabled == enabled)
        return;
    m_hintsEnabled = enabled;
    hintsEnabledChanged(enabled);
}

void HintSettings::hintsEnabledChanged(bool) {}
