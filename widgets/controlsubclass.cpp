#include "widgets/controlsubclass.h"

#include <QCoreApplication>
#include <QDynamicPropertyChangeEvent>
#include <QGroupBox>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "widgets/panel.h"
#include "widgets/xppaint.h"
#include "widgets/xpstylepainter.h"

namespace {

// The installed hook of each hooked control (user-interface thread only).
QHash<const QWidget *, TControlSubClass *> &hooks()
{
    static QHash<const QWidget *, TControlSubClass *> hooks;
    return hooks;
}

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return true;
    default:
        return false;
    }
}

} // namespace

TControlSubClass::TControlSubClass(TXPStylePainter *painter, QWidget *control)
    : QObject(painter), m_control(control), m_controlKey(control), m_controlClass(control->metaObject()),
      m_painter(painter)
{
    if (qobject_cast<QPushButton *>(control))
        m_look = Look::Button;
    else if (qobject_cast<TPanel *>(control))
        m_look = Look::Panel;
    else if (qobject_cast<QGroupBox *>(control))
        m_look = Look::GroupBox;
    hooks().insert(control, this);
    control->installEventFilter(this);
    connect(control, &QObject::destroyed, this, &TControlSubClass::controlDestroyed);
}

TControlSubClass::~TControlSubClass()
{
    if (m_control)
        m_control->removeEventFilter(this);
    if (m_controlKey && hooks().value(m_controlKey) == this)
        hooks().remove(m_controlKey);
}

TControlSubClass *TControlSubClass::hookOf(const QWidget *control) { return hooks().value(control, nullptr); }

QEvent::Type TControlSubClass::invalidatedEvent()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void TControlSubClass::invalidate(QWidget *control)
{
    QEvent invalidated(invalidatedEvent());
    QCoreApplication::sendEvent(control, &invalidated);
    control->update();
}

void TControlSubClass::ReleaseHook()
{
    // Buttons, group boxes and panels keep no settings of their own to
    // restore: taking the hook off gives them back their own look.
    delete this;
}

bool TControlSubClass::painterInactive() const { return m_painter && !m_painter->Active(); }

void TControlSubClass::controlDestroyed()
{
    // The control's window is gone. With a repaint pending the record stays
    // (the painter frees it); otherwise it goes now.
    hooks().remove(m_controlKey);
    m_controlKey = nullptr;
    if (!m_repaintPending)
        delete this;
}

bool TControlSubClass::acts(QEvent::Type type)
{
    switch (type) {
    case QEvent::Paint:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::LayoutRequest:
    case QEvent::ChildAdded:
    case QEvent::ChildRemoved:
    case QEvent::DynamicPropertyChange:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:
    case QEvent::Enter:
    case QEvent::Leave:
        return true;
    default:
        return type == invalidatedEvent();
    }
}

bool TControlSubClass::eventFilter(QObject *watched, QEvent *event)
{
    // While the control is destroyed its own class is gone already: its
    // last events pass by.
    if (watched != m_control || watched->metaObject() != m_controlClass)
        return false;
    if (painterInactive()) {
        ReleaseHook();
        return false; // the control handles the event on its own
    }
    if (!acts(event->type()) || (isInput(event->type()) && !m_control->isEnabled()))
        return false;
    // The control first, exactly as without the hook. Its handling may end
    // the hook (a handler switching the painter off).
    const QPointer<TControlSubClass> self(this);
    watched->event(event);
    if (self && m_control)
        act(event);
    return true;
}

void TControlSubClass::act(QEvent *event)
{
    const QEvent::Type type = event->type();
    m_lastMessage = type;
    switch (type) {
    case QEvent::Paint:
        m_repaintPending = false;
        m_painting = true;
        RefreshXPLook();
        m_painting = false;
        break;
    case QEvent::FocusIn:
        setHot(true);
        break;
    case QEvent::FocusOut:
    case QEvent::EnabledChange:
        setHot(false);
        break;
    case QEvent::PaletteChange:
        RefreshXPLook();
        break;
    case QEvent::Enter:
    case QEvent::Leave:
        if (m_control->isEnabled())
            setHot(type == QEvent::Enter);
        break;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space) {
            m_spaceDown = true;
            if (!m_spaceSeen) // auto-repeat repaints nothing
                RefreshXPLook();
            m_spaceSeen = true;
        }
        break;
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Space && !key->isAutoRepeat()) {
            m_spaceDown = false;
            m_spaceSeen = false;
            RefreshXPLook();
        }
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // A double click on a push button counts as a press.
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton
            && (type == QEvent::MouseButtonPress || m_look == Look::Button)) {
            m_mouseDown = true;
            RefreshXPLook();
        }
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            m_mouseDown = false;
            RefreshXPLook();
        }
        break;
    case QEvent::MouseMove: {
        // While the left button is held the toolkit sends no enter or leave:
        // crossing the control's edge stands for them.
        const auto *move = static_cast<QMouseEvent *>(event);
        if (m_mouseDown && (move->buttons() & Qt::LeftButton)) {
            const bool inside = m_control->rect().contains(move->position().toPoint());
            if (inside != m_hot)
                setHot(inside);
        }
        break;
    }
    case QEvent::DynamicPropertyChange:
        if (static_cast<QDynamicPropertyChangeEvent *>(event)->propertyName() == "Ctl3D")
            m_repaintPending = true;
        break;
    default: // moved, resized, shown, hidden, laid out, children, invalidated
        m_repaintPending = true;
        break;
    }
}

void TControlSubClass::setHot(bool hot)
{
    m_hot = hot;
    RefreshXPLook();
}

void TControlSubClass::focusChangedInWindow()
{
    if (!m_control)
        return;
    if (painterInactive()) {
        ReleaseHook();
        return;
    }
    RefreshXPLook();
}

void TControlSubClass::RefreshXPLook()
{
    m_hasFocus = m_control->hasFocus();
    if (!m_painter)
        return;
    if (!m_painting) {
        if (m_look == Look::Button)
            m_control->update();
        return;
    }
    QPainter p(m_control);
    switch (m_look) {
    case Look::Button: {
        XPButtonState state;
        state.scheme = &m_painter->XPColorScheme();
        state.FaceLightenNormal = m_painter->FaceLightenNormal();
        state.FaceLightenHot = m_painter->FaceLightenHot();
        state.Hot = m_hot;
        state.HasFocus = m_hasFocus;
        state.MouseDown = m_mouseDown;
        state.SpaceDown = m_spaceDown;
        DrawXPButton(p, static_cast<QPushButton *>(m_control.data()), state);
        break;
    }
    case Look::Panel:
        DrawXPPanel(p, static_cast<TPanel *>(m_control.data()));
        break;
    case Look::GroupBox:
        DrawXPGroupBox(p, static_cast<QGroupBox *>(m_control.data()));
        break;
    case Look::None:
        break;
    }
}
