#include "ui/circuitpagemenu.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace {

// The circuit pages, which offer the menu on a right-click.
const char *const kCircuitPages[] = {"Sht_Sys1", "Sht_Sys2"};
// Set on the window once its pages have the menu.
constexpr const char *kMenuInstalled = "circuitPageMenu";

void showMenu(QWidget *window, QWidget *page, const QPoint &pos)
{
    QMenu menu(page);
    menu.addActions(window->actions());
    menu.exec(page->mapToGlobal(pos));
}

} // namespace

void addCircuitPageActions(QWidget *window, const QList<QAction *> &actions)
{
    if (!window->actions().isEmpty()) {
        auto *separator = new QAction(window);
        separator->setSeparator(true);
        window->addAction(separator);
    }
    for (QAction *action : actions) {
        action->setShortcutContext(Qt::WindowShortcut);
        action->setShortcutVisibleInContextMenu(true);
        window->addAction(action);
    }
    if (window->property(kMenuInstalled).toBool())
        return;
    window->setProperty(kMenuInstalled, true);
    for (const char *name : kCircuitPages) {
        QWidget *page = window->findChild<QWidget *>(QLatin1String(name));
        if (!page)
            continue;
        page->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(page, &QWidget::customContextMenuRequested, window,
                         [window, page](const QPoint &pos) { showMenu(window, page, pos); });
    }
}
