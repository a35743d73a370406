#include "ui/dialogfolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "ui/settingslocation.h"

namespace {

QString dialogsFile() { return userConfigDirectory() + QStringLiteral("/zelton/dialogs.ini"); }

QString folderKey(const QString &dialog) { return QStringLiteral("Folders/") + dialog; }

} // namespace

QString documentsFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

QString dialogFolder(const QString &dialog)
{
    const QSettings dialogs(dialogsFile(), QSettings::IniFormat);
    const QString folder = dialogs.value(folderKey(dialog)).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : documentsFolder();
}

void rememberDialogFolder(const QString &dialog, const QString &folder)
{
    QSettings dialogs(dialogsFile(), QSettings::IniFormat);
    dialogs.setValue(folderKey(dialog), folder);
}
