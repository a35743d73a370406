#include "sheet/sheetwriter.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "sheet/sheetcontent.h"
#include "sheet/sheetpainter.h"

namespace {

[[noreturn]] void failWrite(const QString &path, const QString &reason)
{
    const QString message = QStringLiteral("Unable to write to %1: %2").arg(QFileInfo(path).absoluteFilePath(), reason);
    throw SheetWriteError(message.toStdString());
}

} // namespace

const QPageLayout &sheetPageLayout()
{
    static const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                    QPageLayout::Millimeter);
    return layout;
}

void writeSheetPdf(const SheetContent &content, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        failWrite(path, file.errorString());
    {
        QPdfWriter pdf(&file);
        pdf.setPageLayout(sheetPageLayout());
        pdf.setTitle(sheetTitle() + QStringLiteral(": ") + content.circuitName);
        pdf.setCreator(programVersionText());
        QPainter painter;
        if (!painter.begin(&pdf))
            failWrite(path, QStringLiteral("the PDF could not be started"));
        paintSheet(painter, pdf.resolution(), content);
        painter.end();
    }
    // QSaveFile notes any failed write (a full disk); commit renames the
    // finished file into place, or removes it.
    if (!file.commit())
        failWrite(path, file.errorString());
}
