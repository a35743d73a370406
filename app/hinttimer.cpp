#include "app/hinttimer.h"

#include <QTimer>

HintTimer::HintTimer(QObject *parent) : QObject(parent), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    // The delays are exact: a coarse timer may fire 5 % of the interval late
    // (250 ms of the display time).
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &HintTimer::expired);
}

HintTimer::~HintTimer() = default;

bool HintTimer::start(int ms)
{
    m_timer->start(ms);
    // The toolkit reports a refused timer only by leaving it inactive.
    return m_timer->isActive();
}

void HintTimer::stop() { m_timer->stop(); }

bool HintTimer::isActive() const { return m_timer->isActive(); }
