#include "widgets/xpstylemanager.h"

#include <QApplication>

#include "widgets/controlsubclass.h"

namespace {

TXPStyleManager *g_manager = nullptr;

// The event that runs AppWindowHook when the event loop next runs.
QEvent::Type runAppWindowHookEvent()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

template <typename T>
QList<T *> alive(const QList<QPointer<T>> &list)
{
    QList<T *> out;
    for (const QPointer<T> &p : list) {
        if (p)
            out.append(p.data());
    }
    return out;
}

template <typename T>
void addOnce(QList<QPointer<T>> &list, T *item)
{
    if (!list.contains(item))
        list.append(item);
}

// Whether `control` lies outside `window` (a form or a frame).
bool outside(const QWidget *control, const QWidget *window)
{
    return !window || (control != window && !window->isAncestorOf(control));
}

} // namespace

TXPStyleManager::TXPStyleManager() = default;

TXPStyleManager::~TXPStyleManager()
{
    if (g_manager == this)
        g_manager = nullptr;
}

TXPStyleManager *TXPStyleManager::instance() { return g_manager; }

TXPStyleManager *TXPStyleManager::create()
{
    if (!g_manager)
        g_manager = new TXPStyleManager;
    return g_manager;
}

QList<TXPStylePainter *> TXPStyleManager::Painters() const { return alive(m_painters); }

QList<QWidget *> TXPStyleManager::PendingWindows() const { return alive(m_pendingWindows); }

QList<QWidget *> TXPStyleManager::HandledWindows() const { return alive(m_handledWindows); }

void TXPStyleManager::schedule()
{
    if (m_scheduled)
        return;
    m_scheduled = true;
    QCoreApplication::postEvent(this, new QEvent(runAppWindowHookEvent()));
}

bool TXPStyleManager::event(QEvent *event)
{
    if (event->type() != runAppWindowHookEvent())
        return QObject::event(event);
    m_scheduled = false;
    AppWindowHook();
    return true;
}

void TXPStyleManager::registerPainter(TXPStylePainter *painter)
{
    if (!painter || m_painters.contains(painter))
        return;
    m_painters.append(painter);
    if (QWidget *own = painter->OwnerWindow())
        addOnce(m_handledWindows, own);
    if (m_activePainter || !painter->Active())
        return;
    m_activePainter = painter;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (isForm(window) && !m_handledWindows.contains(window) && tagOf(window) != kTagNoXPStyle
            && !window->findChild<TXPStylePainter *>(QString(), Qt::FindDirectChildrenOnly))
            addOnce(m_pendingWindows, window);
    }
    if (!m_pendingWindows.isEmpty())
        schedule();
}

void TXPStyleManager::unregisterPainter(TXPStylePainter *painter)
{
    if (painter && painter == m_activePainter) {
        TXPStylePainter *next = nullptr;
        for (TXPStylePainter *p : Painters()) {
            if (p != painter && p->Active()) {
                next = p;
                break;
            }
        }
        m_activePainter = next;
        const QWidget *own = painter->OwnerWindow();
        for (TControlSubClass *hook : painter->hooks()) {
            QWidget *control = hook->Control();
            if (!control || !outside(control, own))
                continue;
            // The controls the leaving painter restyled for other windows
            // pass to the new active painter, or get their own look back.
            hook->ReleaseHook();
            if (next)
                new TControlSubClass(next, control);
        }
        if (!next) {
            m_pendingWindows.clear();
            m_handledWindows.clear();
        }
    }
    m_painters.removeAll(painter);
    m_painters.removeIf([](const QPointer<TXPStylePainter> &p) { return p.isNull(); });
}

void TXPStyleManager::Notification(QObject *component, TOperation operation)
{
    if (!m_activePainter || !component || !component->isWidgetType())
        return;
    auto *window = static_cast<QWidget *>(component);
    if (operation == opInsert) {
        // Whether it is a window is known once it is built: when the
        // pending windows are restyled.
        addOnce(m_pendingWindows, window);
        schedule();
    } else {
        m_pendingWindows.removeAll(window);
        m_handledWindows.removeAll(window);
    }
}

void TXPStyleManager::electActivePainter()
{
    if (m_activePainter && m_activePainter->Active())
        return;
    m_activePainter = nullptr;
    for (TXPStylePainter *p : Painters()) {
        if (p->Active()) {
            m_activePainter = p;
            return;
        }
    }
}

void TXPStyleManager::AppWindowHook()
{
    const QList<QWidget *> pending = PendingWindows();
    try {
        for (QWidget *window : pending) {
            if (!isForm(window) || m_handledWindows.contains(window))
                continue;
            m_handledWindows.append(window);
            if (m_activePainter)
                m_activePainter->ApplyToOwner(window, true, true);
        }
    } catch (...) {
        // A window that cannot be restyled keeps its own look.
    }
    m_pendingWindows.clear();
}
