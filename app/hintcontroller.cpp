#include "app/hintcontroller.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QMouseEvent>

#include "app/hinttimer.h"
#include "widgets/hintwindow.h"

HintController::HintController(QObject *parent) : HintSettings(parent)
{
    setTimer(new HintTimer);
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &HintController::idle);
    replaceWindow();
}

HintController::~HintController()
{
    cancel();
    setHintsEnabled(false);
}

void HintController::setTimer(HintTimer *timer)
{
    if (!timer || timer == m_timer)
        return;
    delete m_timer;
    m_timer = timer;
    m_timer->setParent(this);
    m_countdown = Countdown::None;
    connect(m_timer, &HintTimer::expired, this, &HintController::countdownExpired);
}

void HintController::setPointerSource(std::function<QPoint()> source) { m_pointerSource = std::move(source); }

QPoint HintController::pointerPos() const { return m_pointerSource ? m_pointerSource() : QCursor::pos(); }

void HintController::filterEvent(QObject *receiver, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        // Every move reaches the platform window first; the widget beneath
        // gets it only when it tracks the mouse.
        if (receiver->isWindowType())
            pointerMoved(static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
        break;
    case QEvent::Leave:
        // The pointer has left a window of the program (leaving a widget
        // for its neighbour is no leave of the platform window).
        if (receiver->isWindowType())
            cancel();
        break;
    case QEvent::WindowStateChange:
        // A window minimised (or maximised, restored).
        if (receiver->isWidgetType() && static_cast<QWidget *>(receiver)->isWindow())
            cancel();
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::ApplicationStateChange:
        cancel();
        break;
    default:
        break;
    }
}

void HintController::idle()
{
    if (hintsEnabled() && m_hasCurrent && !controlAt(pointerPos()))
        cancel();
}

void HintController::cancel()
{
    if (!m_hasCurrent)
        return;
    if (m_window && m_window->isVisible())
        m_window->hide();
    m_current = nullptr;
    m_hasCurrent = false;
    m_hintActive = false;
    stopCountdown();
}

HintController::State HintController::state() const
{
    if (!m_hasCurrent)
        return State::Idle;
    switch (m_countdown) {
    case Countdown::Show:
        return m_hintActive ? State::WaitingForNext : State::Waiting;
    case Countdown::Hide:
        return State::Shown;
    case Countdown::None:
        break;
    }
    return State::TimedOut;
}

void HintController::pointerMoved(QPoint global)
{
    QWidget *control = hintControlAt(global);
    if (!control) {
        cancel();
        return;
    }
    // Over the control whose hint was shown last: a hint on screen stays
    // where it is, a wait goes on.
    if (m_hasCurrent && control == m_current && m_hintRect.contains(global))
        return;
    const bool wasActive = m_hintActive;
    cancel();
    m_hintActive = wasActive;
    m_current = control;
    m_hasCurrent = true;
    if (!startCountdown(Countdown::Show, wasActive ? nextHintDelay() : showDelay()))
        cancel();
}

void HintController::countdownExpired()
{
    switch (m_countdown) {
    case Countdown::Show:
        showCountdownExpired();
        break;
    case Countdown::Hide:
        // The hint goes; the control, the flag and the rectangle stay, so
        // that it does not come back within the same control.
        stopCountdown();
        if (m_window)
            m_window->hide();
        break;
    case Countdown::None:
        break;
    }
}

void HintController::showCountdownExpired()
{
    stopCountdown();
    const QPoint pointer = pointerPos();
    m_hintActive = false;
    QWidget *control = m_current;
    if (hintsEnabled() && control && QApplication::activeWindow() && hintControlAt(pointer) == control) {
        QString text = shortHint(hintOf(control));
        bool canShow = true;
        THintInfo info{control, control->mapFromGlobal(pointer), control->rect()};
        // A copy: the hook may install another one.
        if (const TShowHintEvent hook = showHintHook())
            hook(text, canShow, info);
        if (canShow && control == m_current) {
            m_hintActive = true;
            if (!text.isEmpty()) {
                if (!m_window || m_window->metaObject() != hintWindowClass())
                    replaceWindow();
                m_hintRect = QRect(control->mapToGlobal(QPoint(0, 0)), control->size());
                m_window->setMainWindow(m_mainWindow ? m_mainWindow.data() : control->window());
                m_window->activateHint(m_hintRect, text);
                if (startCountdown(Countdown::Hide, displayTime()))
                    return;
            }
        }
    }
    cancel();
}

bool HintController::startCountdown(Countdown kind, int ms)
{
    m_countdown = kind;
    if (m_timer->start(ms))
        return true;
    m_countdown = Countdown::None;
    return false;
}

void HintController::stopCountdown()
{
    m_countdown = Countdown::None;
    m_timer->stop();
}

void HintController::hintsEnabledChanged(bool enabled)
{
    if (enabled) {
        replaceWindow();
    } else {
        cancel();
        delete m_window;
    }
}

void HintController::replaceWindow()
{
    delete m_window;
    QObject *created = hintWindowClass()->newInstance();
    auto *window = qobject_cast<THintWindow *>(created);
    if (!window) {
        delete created;
        window = new THintWindow;
    }
    window->setColor(hintColor());
    window->setPointerSource([this] { return pointerPos(); });
    m_window = window;
}

QWidget *HintController::controlAt(QPoint global)
{
    QWidget *window = QApplication::topLevelAt(global);
    if (qobject_cast<THintWindow *>(window)) {
        // Hint windows let the mouse through to the window beneath.
        window = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->isVisible() && !qobject_cast<THintWindow *>(top) && top->geometry().contains(global)) {
                window = top;
                break;
            }
        }
    }
    QWidget *control = window;
    while (control) {
        QWidget *above = nullptr;
        const QPoint local = control->mapFromGlobal(global);
        const QObjectList &children = control->children();
        // The children list runs from the bottom of the stack to the top.
        for (auto it = children.crbegin(); it != children.crend() && !above; ++it) {
            if (!(*it)->isWidgetType())
                continue;
            auto *child = static_cast<QWidget *>(*it);
            if (!child->isWindow() && !child->isHidden() && child->geometry().contains(local))
                above = child;
        }
        if (!above)
            break;
        control = above;
    }
    return control;
}

QWidget *HintController::hintControlOf(QWidget *control)
{
    for (QWidget *w = control; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        if (showsHint(w))
            return w;
    }
    return nullptr;
}

bool HintController::showsHint(const QWidget *control)
{
    for (const QWidget *w = control; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        const QVariant own = w->property(kShowHintProperty);
        if (own.isValid())
            return own.toBool();
        const QVariant fromParent = w->property(kParentShowHintProperty);
        if (fromParent.isValid() && !fromParent.toBool())
            return false;
    }
    return false;
}

QString HintController::hintOf(const QWidget *control)
{
    for (const QWidget *w = control; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        const QString hint = w->property(kHintProperty).toString();
        if (!hint.isEmpty())
            return hint;
    }
    return QString();
}

bool HintController::startsToolkitToolTipTimer(const QObject *receiver, const QEvent *event)
{
    return event->type() == QEvent::MouseMove && event->spontaneous() && receiver && receiver->isWidgetType()
           && static_cast<const QMouseEvent *>(event)->buttons() == Qt::NoButton;
}

QString HintController::shortHint(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}
