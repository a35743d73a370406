// The printing module (libzelton-print.so): everything that needs the
// toolkit's print support.
#include "sheet/sheetprinting.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "sheet/sheetwriter.h"

namespace {

bool askWithDialog(QWidget *owner, QPrinter &printer)
{
    QPrintDialog dialog(&printer, owner);
    dialog.setWindowTitle(QStringLiteral("Печать листа подбора"));
    return dialog.exec() == QDialog::Accepted;
}

// A4 portrait, the painter's origin at the paper's corner.
void preparePage(QPrinter &printer, const QPageLayout &layout)
{
    printer.setFullPage(true);
    printer.setPageLayout(layout);
}

} // namespace

extern "C" Q_DECL_EXPORT void zeltonPrintSheet(const SheetPrintJob &job)
{
    QPrinter printer(QPrinter::HighResolution);
    preparePage(printer, job.layout);
    printer.setDocName(job.title);
    if (!(job.ask ? job.ask(job.owner, printer) : askWithDialog(job.owner, printer)))
        return;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty() && job.writePdf) {
        job.writePdf(printer.outputFileName());
        return;
    }
    preparePage(printer, job.layout);
    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString target = printer.outputFileName();
        const QString message = target.isEmpty()
                                    ? QStringLiteral("Unable to print on %1").arg(printer.printerName())
                                    : QStringLiteral("Unable to write to %1: the file could not be started")
                                          .arg(QFileInfo(target).absoluteFilePath());
        throw SheetWriteError(message.toStdString());
    }
    job.paint(painter, printer.resolution());
    painter.end();
}
