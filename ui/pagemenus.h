#pragma once
// The right-click menus of the main window's pages, made of the window's
// own actions. An action offered on a page carries the names of the pages
// that offer it and the group it belongs to; a page's menu lists the
// window's actions offered there in the order they were added to the
// window, with a separator wherever the group changes. Whoever adds
// entries from outside the window (the sizing sheet, the valve check)
// adds its actions to the window and offers them; the window itself, its
// layout and its handlers stay as they are.
#include <QList>
#include <QString>
#include <QStringList>

class QAction;
class QWidget;

// Offers `action`, an action of `window`, in the right-click menu of the
// pages of `window` named `pages`, within `group`. A page gets its menu at
// the first action offered on it; a name the window lacks is skipped.
void offerOnPages(QWidget *window, QAction *action, const QStringList &pages, const QString &group);

// The entries of the menu of `page`: the actions in order, a null entry
// for each separator.
QList<QAction *> pageMenuEntries(const QWidget &window, const QString &page);
