#include "ui/filedialogs.h"

#include <QFileDialog>
#include <QFileInfo>

QString askFileToSave(QWidget *owner, const QString &title, const QString &proposedPath, const QString &filters,
                      const QString &suffix)
{
    QFileDialog dialog(owner, title, QFileInfo(proposedPath).absolutePath(), filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(QFileInfo(proposedPath).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QStringList askFilesToOpen(QWidget *owner, const QString &title, const QString &folder, const QString &filters,
                           bool several)
{
    QFileDialog dialog(owner, title, folder, filters);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}
