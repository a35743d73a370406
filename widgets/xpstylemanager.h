#pragma once
// The process-wide register of the XP-style painters.
//
// It exists while at least one painter exists: the first painter creates
// it, the last one to go destroys it. A painter registers when its window
// has been loaded and unregisters when it is destroyed. The first active
// painter to register becomes the ActivePainter, which also restyles the
// windows of the program that have no painter of their own: they wait in
// PendingWindows and are restyled, and recorded in HandledWindows, when the
// event loop next runs.
#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "widgets/xpstylepainter.h"

class TXPStyleManager : public QObject
{
    Q_OBJECT

public:
    // The manager, or none.
    static TXPStyleManager *instance();
    // The manager, created if there is none.
    static TXPStyleManager *create();
    ~TXPStyleManager() override;

    QList<TXPStylePainter *> Painters() const;
    QList<QWidget *> PendingWindows() const;
    QList<QWidget *> HandledWindows() const;
    TXPStylePainter *ActivePainter() const { return m_activePainter; }

    void registerPainter(TXPStylePainter *painter);
    void unregisterPainter(TXPStylePainter *painter);
    // A component was inserted into or removed from a painter's window.
    void Notification(QObject *component, TOperation operation);
    // Makes the first registered active painter the ActivePainter when the
    // present one is gone or inactive.
    void electActivePainter();
    // Restyles the pending windows with the ActivePainter.
    void AppWindowHook();

protected:
    bool event(QEvent *event) override;

private:
    TXPStyleManager();
    void schedule();

    QList<QPointer<TXPStylePainter>> m_painters;
    QList<QPointer<QWidget>> m_pendingWindows;
    QList<QPointer<QWidget>> m_handledWindows;
    QPointer<TXPStylePainter> m_activePainter;
    bool m_scheduled = false;
};
