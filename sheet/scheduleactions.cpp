#include "sheet/scheduleactions.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QWidget>

#include "sheet/schedulecontent.h"
#include "sheet/schedulewriter.h"
#include "ui/circuitpagemenu.h"
#include "ui/dialogfolders.h"
#include "ui/filedialogs.h"
#include "ui/handlererrors.h"
#include "ui/sizingfileactions.h"

namespace {

QStringList askFilesWithDialog(QWidget *owner, const QString &folder)
{
    return askFilesToOpen(owner, QStringLiteral("Ведомость клапанов: файлы расчёта"), folder,
                          QStringLiteral("Расчёты Zelton (*.zelton);;Все файлы (*)"), true);
}

QString askPdfWithDialog(QWidget *owner, const QString &proposedPath)
{
    return askFileToSave(owner, QStringLiteral("Сохранить ведомость клапанов"), proposedPath,
                         QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"));
}

} // namespace

ScheduleActions::ScheduleActions(QWidget *window)
    : QObject(window), m_window(window), m_schedule(new QAction(QStringLiteral("Ведомость клапанов…"), window))
{
    addCircuitPageActions(window, {m_schedule});
    connect(m_schedule, &QAction::triggered, this, &ScheduleActions::writeSchedule);
}

QString ScheduleActions::proposedPath(const QString &folder, const QDate &date)
{
    return QDir(folder).filePath(QStringLiteral("Ведомость клапанов %1.pdf").arg(date.toString(Qt::ISODate)));
}

void ScheduleActions::setFilesAsker(FilesAsker asker) { m_askFiles = std::move(asker); }

void ScheduleActions::setPdfAsker(PdfAsker asker) { m_askPdf = std::move(asker); }

// Runs as the window's handler: an error goes to the frame's error display
// (ui/handlererrors.h).
void ScheduleActions::writeSchedule()
{
    runHandler([this] {
        const QString filesDialog = QLatin1String(SizingFileActions::kDialog);
        const QString folder = dialogFolder(filesDialog);
        const QStringList files = m_askFiles ? m_askFiles(m_window, folder) : askFilesWithDialog(m_window, folder);
        if (files.isEmpty())
            return;
        rememberDialogFolder(filesDialog, QFileInfo(files.constFirst()).absolutePath());
        ScheduleContent schedule;
        {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
            schedule = readScheduleContent(files, QDate::currentDate());
        }
        const QString proposed = proposedPath(dialogFolder(QLatin1String(kDialog)), schedule.date);
        const QString path = m_askPdf ? m_askPdf(m_window, proposed) : askPdfWithDialog(m_window, proposed);
        if (path.isEmpty())
            return;
        rememberDialogFolder(QLatin1String(kDialog), QFileInfo(path).absolutePath());
        writeSchedulePdf(schedule, path);
    });
}
