#include "sheet/schedulewriter.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include "sheet/schedulecontent.h"
#include "sheet/schedulepainter.h"
#include "sheet/sheetpainter.h"
#include "sheet/sheetwriter.h"

void writeSchedulePdf(const ScheduleContent &content, const QString &path)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageLayout(sheetPageLayout());
        pdf.setTitle(scheduleTitle());
        pdf.setCreator(programVersionText());
        QPainter painter;
        if (!painter.begin(&pdf))
            throw SheetWriteError(
                QStringLiteral("Unable to write to %1: the PDF could not be started").arg(path).toStdString());
        const ScheduleTable table(content, painter, pdf.resolution());
        for (int page = 0; page < table.pageCount(); ++page) {
            if (page > 0)
                pdf.newPage();
            table.paintPage(painter, page);
        }
        for (const SheetContent &sheet : content.sheets) {
            pdf.newPage();
            paintSheet(painter, pdf.resolution(), sheet);
        }
        painter.end();
    }
    writeDocument(buffer.data(), path);
}
