#pragma once
// The folders the program's file dialogs start in: the user's documents
// folder at first, then the folder last used. They are kept per user, in
// dialogs.ini of the per-user configuration folder
// ($XDG_CONFIG_HOME/zelton, ui/settingslocation.h), never in settings.ini,
// which travels with the program and its inputs.
#include <QString>

// The user's documents folder, or his home folder when there is none.
QString documentsFolder();

// The folder the dialog `dialog` starts in: the one last remembered for
// it, while it exists; otherwise documentsFolder().
QString dialogFolder(const QString &dialog);

// Remembers `folder` for the dialog `dialog`. A configuration that cannot
// be written loses only that memory.
void rememberDialogFolder(const QString &dialog, const QString &folder);
