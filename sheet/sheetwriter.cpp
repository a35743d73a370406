#include "sheet/sheetwriter.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "core/outputfile.h"
#include "sheet/sheetcontent.h"
#include "sheet/sheetpainter.h"

namespace {

[[noreturn]] void failWrite(const QString &path, const QString &reason)
{
    const QString target = path == QLatin1String(kStandardOutputPath) ? QStringLiteral("standard output")
                                                                      : QFileInfo(path).absoluteFilePath();
    const QString message = QStringLiteral("Unable to write to %1: %2").arg(target, reason);
    throw SheetWriteError(message.toStdString());
}

const QPageLayout &sheetPageLayout()
{
    static const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                    QPageLayout::Millimeter);
    return layout;
}

} // namespace

void writeSheetPdf(const SheetContent &content, const QString &path)
{
    // The PDF is made in memory, then written out whole.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageLayout(sheetPageLayout());
        pdf.setTitle(sheetTitle() + QStringLiteral(": ") + content.circuitName);
        pdf.setCreator(programVersionText());
        QPainter painter;
        if (!painter.begin(&pdf))
            failWrite(path, QStringLiteral("the PDF could not be started"));
        paintSheet(painter, pdf.resolution(), content);
        painter.end();
    }
    const QByteArray &bytes = buffer.data();
    const OutputResult result = writeProgramOutput(QFile::encodeName(path).toStdString(),
                                                   std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (!result.written)
        failWrite(path, QString::fromLocal8Bit(result.reason));
}

void prepareSheetPrinter(QPrinter &printer)
{
    printer.setFullPage(true);
    printer.setPageLayout(sheetPageLayout());
}

void printSheet(const SheetContent &content, QPrinter &printer)
{
    // "Print to file" makes the same PDF as the save, and goes where it goes
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        writeSheetPdf(content, printer.outputFileName());
        return;
    }
    prepareSheetPrinter(printer);
    if (printer.docName().isEmpty())
        printer.setDocName(sheetTitle());
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (!printer.outputFileName().isEmpty())
            failWrite(printer.outputFileName(), QStringLiteral("the file could not be started"));
        throw SheetWriteError(QStringLiteral("Unable to print on %1").arg(printer.printerName()).toStdString());
    }
    paintSheet(painter, printer.resolution(), content);
    painter.end();
}
