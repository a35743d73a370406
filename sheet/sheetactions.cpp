#include "sheet/sheetactions.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QTabWidget>
#include <QWidget>

#include "sheet/printmodule.h"
#include "sheet/sheetcontent.h"
#include "sheet/sheetpainter.h"
#include "sheet/sheetwriter.h"
#include "ui/circuitpagemenu.h"
#include "ui/dialogfolders.h"
#include "ui/filedialogs.h"
#include "ui/handlererrors.h"

namespace {

QString askFileNameWithDialog(QWidget *owner, const QString &proposedPath)
{
    return askFileToSave(owner, QStringLiteral("Сохранить лист подбора"), proposedPath, QStringLiteral("PDF (*.pdf)"),
                         QStringLiteral("pdf"));
}

} // namespace

SheetActions::SheetActions(QWidget *window)
    : QObject(window), m_window(window), m_print(new QAction(QStringLiteral("Печать листа подбора…"), window)),
      m_save(new QAction(QStringLiteral("Сохранить лист подбора в PDF…"), window))
{
    m_print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    m_save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addCircuitPageActions(window, {m_print, m_save});
    connect(m_print, &QAction::triggered, this, &SheetActions::printSheet);
    connect(m_save, &QAction::triggered, this, &SheetActions::saveSheet);

    if (auto *pages = window->findChild<QTabWidget *>(QStringLiteral("PgCtrl_Sys"))) {
        pageChanged(pages->currentIndex());
        connect(pages, &QTabWidget::currentChanged, this, &SheetActions::pageChanged);
    }
}

void SheetActions::pageChanged(int index)
{
    if (index == 0 || index == 1)
        m_lastCircuit = index + 1;
}

int SheetActions::circuit() const
{
    const int onScreen = circuitOnScreen(*m_window);
    return onScreen != 0 ? onScreen : m_lastCircuit;
}

SheetContent SheetActions::content() const { return readSheetContent(*m_window, circuit(), QDate::currentDate()); }

QString SheetActions::proposedPath(const QDate &date)
{
    const QString name = QStringLiteral("Подбор клапана %1.pdf").arg(date.toString(Qt::ISODate));
    return QDir(documentsFolder()).filePath(name);
}

void SheetActions::setFileNameAsker(FileNameAsker asker) { m_askFileName = std::move(asker); }

void SheetActions::setPrintAsker(PrintAsker asker) { m_askPrinter = std::move(asker); }

// Both run as the window's handlers: an error goes to the frame's error
// display (ui/handlererrors.h).
void SheetActions::saveSheet()
{
    runHandler([this] {
        // The content is read before the dialog: what the window shows now.
        const SheetContent sheet = content();
        const QString proposed = proposedPath(sheet.date);
        const QString path =
            m_askFileName ? m_askFileName(m_window, proposed) : askFileNameWithDialog(m_window, proposed);
        if (!path.isEmpty())
            writeSheetPdf(sheet, path);
    });
}

void SheetActions::printSheet()
{
    runHandler([this] {
        const SheetContent sheet = content();
        // The printer and its dialog are made here, by the printing module
        // loaded at the first print.
        printSheetJob({m_window, sheetTitle(), sheetPageLayout(), m_askPrinter,
                       [&sheet](QPainter &painter, int resolution) { paintSheet(painter, resolution, sheet); },
                       [&sheet](const QString &path) { writeSheetPdf(sheet, path); }});
    });
}
