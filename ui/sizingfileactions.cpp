#include "ui/sizingfileactions.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

#include "ui/circuitpagemenu.h"
#include "ui/dialogfolders.h"
#include "ui/filedialogs.h"
#include "ui/handlererrors.h"
#include "ui/mainwindow.h"

namespace {

const QString kFilters = QStringLiteral("Расчёты Zelton (*.zelton);;Все файлы (*)");

QString askWithDialog(QWidget *owner, bool save, const QString &folder, const QString &name)
{
    if (save)
        return askFileToSave(owner, QStringLiteral("Сохранить расчёт как"), QDir(folder).filePath(name), kFilters,
                             QStringLiteral("zelton"));
    return askFilesToOpen(owner, QStringLiteral("Открыть расчёт"), folder, kFilters, false).value(0);
}

} // namespace

SizingFileActions::SizingFileActions(TForm_Main *window)
    : QObject(window), m_window(window), m_open(new QAction(QStringLiteral("Открыть расчёт…"), window)),
      m_saveAs(new QAction(QStringLiteral("Сохранить расчёт как…"), window))
{
    m_open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    addCircuitPageActions(window, {m_open, m_saveAs});
    connect(m_open, &QAction::triggered, this, &SizingFileActions::open);
    connect(m_saveAs, &QAction::triggered, this, &SizingFileActions::saveAs);
}

void SizingFileActions::setFileNameAsker(FileNameAsker asker) { m_askFileName = std::move(asker); }

QString SizingFileActions::askFileName(bool save, const QString &name)
{
    const QString folder = dialogFolder(QLatin1String(kDialog));
    const QString path =
        m_askFileName ? m_askFileName(m_window, save, folder, name) : askWithDialog(m_window, save, folder, name);
    if (!path.isEmpty())
        rememberDialogFolder(QLatin1String(kDialog), QFileInfo(path).absolutePath());
    return path;
}

void SizingFileActions::openFile(const QString &path)
{
    runHandler([this, &path] { m_window->openSizingFile(QFileInfo(path).absoluteFilePath()); });
}

// Both run as the window's handlers: an error goes to the frame's error
// display (ui/handlererrors.h).
void SizingFileActions::open()
{
    runHandler([this] {
        const QString path = askFileName(false, {});
        if (!path.isEmpty())
            m_window->openSizingFile(QFileInfo(path).absoluteFilePath());
    });
}

void SizingFileActions::saveAs()
{
    runHandler([this] {
        const QString path = askFileName(true, QFileInfo(m_window->sizingFile()).fileName());
        if (!path.isEmpty())
            m_window->saveSizingFile(QFileInfo(path).absoluteFilePath());
    });
}
