#include "ui/circuitpagemenu.h"

#include <QAction>
#include <QStringList>
#include <QWidget>

#include "ui/pagemenus.h"

namespace {

// The circuit pages, which offer the menu on a right-click.
const QStringList kCircuitPages = {QStringLiteral("Sht_Sys1"), QStringLiteral("Sht_Sys2")};

} // namespace

void addCircuitPageActions(QWidget *window, const QList<QAction *> &actions)
{
    // Each call is a group of its own: the menu separates it from the
    // groups before.
    const QString group = QStringLiteral("circuit pages %1").arg(window->actions().size());
    for (QAction *action : actions) {
        action->setShortcutContext(Qt::WindowShortcut);
        action->setShortcutVisibleInContextMenu(true);
        window->addAction(action);
        offerOnPages(window, action, kCircuitPages, group);
    }
}
