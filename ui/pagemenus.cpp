#include "ui/pagemenus.h"

#include <QAction>
#include <QMenu>
#include <QVariant>
#include <QWidget>

namespace {

// What an action carries: the pages offering it and its group.
constexpr char kPagesProperty[] = "PageMenuPages";
constexpr char kGroupProperty[] = "PageMenuGroup";
// Set on a page once its menu is connected.
constexpr char kMenuProperty[] = "PageMenuConnected";

void showPageMenu(QWidget *window, QWidget *page, const QPoint &pos)
{
    QMenu menu(page);
    for (QAction *action : pageMenuEntries(*window, page->objectName())) {
        if (action)
            menu.addAction(action);
        else
            menu.addSeparator();
    }
    if (!menu.isEmpty())
        menu.exec(page->mapToGlobal(pos));
}

} // namespace

void offerOnPages(QWidget *window, QAction *action, const QStringList &pages, const QString &group)
{
    action->setProperty(kPagesProperty, pages);
    action->setProperty(kGroupProperty, group);
    for (const QString &name : pages) {
        QWidget *page = window->findChild<QWidget *>(name);
        if (!page || page->property(kMenuProperty).toBool())
            continue;
        page->setProperty(kMenuProperty, true);
        page->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(page, &QWidget::customContextMenuRequested, page,
                         [window, page](const QPoint &pos) { showPageMenu(window, page, pos); });
    }
}

QList<QAction *> pageMenuEntries(const QWidget &window, const QString &page)
{
    QList<QAction *> entries;
    QString group;
    for (QAction *action : window.actions()) {
        if (!action->property(kPagesProperty).toStringList().contains(page))
            continue;
        const QString actionGroup = action->property(kGroupProperty).toString();
        if (!entries.isEmpty() && actionGroup != group)
            entries.append(nullptr);
        group = actionGroup;
        entries.append(action);
    }
    return entries;
}
