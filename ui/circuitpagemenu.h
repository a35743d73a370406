#pragma once
// The right-click menu of the circuit pages: the window's own actions, in
// the order they were added to it. Each part of the program that offers
// something there (the sizing files, the sizing sheet, …) adds its actions
// through here; they also serve as the window's shortcuts. The menus are
// those of ui/pagemenus.h, which also lists what other pages offer.
#include <QList>

class QAction;
class QWidget;

// Adds `actions` to the main window `window` after those added before, a
// separator between the groups, with their shortcuts working anywhere in
// the window and shown in the menu.
void addCircuitPageActions(QWidget *window, const QList<QAction *> &actions);
