#include "sheet/schedulewriter.h"

#include <QPainter>
#include <QPdfWriter>

#include "sheet/schedulecontent.h"
#include "sheet/schedulepainter.h"
#include "sheet/sheetpainter.h"
#include "sheet/sheetwriter.h"

void writeSchedulePdf(const ScheduleContent &content, const QString &path)
{
    writePdf(path, scheduleTitle(), [&content](QPdfWriter &pdf, QPainter &painter) {
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
    });
}
