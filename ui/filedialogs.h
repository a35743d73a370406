#pragma once
// The program's file dialogs: the toolkit's own (in Russian, with its
// translation loaded at start-up), made when they are asked.
#include <QString>
#include <QStringList>

class QWidget;

// Asks for a file to write, proposing `proposedPath` (folder and name);
// `suffix` is added to a name typed without one. An empty text when the
// user cancels.
QString askFileToSave(QWidget *owner, const QString &title, const QString &proposedPath, const QString &filters,
                      const QString &suffix);

// Asks for one existing file (or several, with `several`) in `folder`.
// None when the user cancels.
QStringList askFilesToOpen(QWidget *owner, const QString &title, const QString &folder, const QString &filters,
                           bool several);
