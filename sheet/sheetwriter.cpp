#include "sheet/sheetwriter.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

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

} // namespace

const QPageLayout &sheetPageLayout()
{
    static const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                    QPageLayout::Millimeter);
    return layout;
}

void writePdf(const QString &path, const QString &title, const std::function<void(QPdfWriter &, QPainter &)> &paint)
{
    // The PDF is made in memory, then written out whole.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageLayout(sheetPageLayout());
        pdf.setTitle(title);
        pdf.setCreator(programVersionText());
        QPainter painter;
        if (!painter.begin(&pdf))
            failWrite(path, QStringLiteral("the PDF could not be started"));
        paint(pdf, painter);
        painter.end();
    }
    writeDocument(buffer.data(), path);
}

void writeSheetPdf(const SheetContent &content, const QString &path)
{
    writePdf(path, sheetTitle() + QStringLiteral(": ") + content.circuitName,
             [&content](QPdfWriter &pdf, QPainter &painter) { paintSheet(painter, pdf.resolution(), content); });
}

void writeDocument(const QByteArray &bytes, const QString &path)
{
    const OutputResult result = writeProgramOutput(QFile::encodeName(path).toStdString(),
                                                   std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (!result.written)
        failWrite(path, QString::fromLocal8Bit(result.reason));
}
