#include "sheet/schedulepainter.h"

#include <QPainter>
#include <QPen>
#include <QTextOption>
#include <algorithm>

#include "sheet/pagekit.h"
#include "sheet/schedulecontent.h"
#include "sheet/sheetcontent.h"
#include "ui/lookandfeel.h"

namespace {

// Where the table starts on the first page (under the title block) and on
// the others (under a one-line heading), and where it ends, above the
// page's number.
constexpr double kFirstTableTop = page::kTop + 27;
constexpr double kTableTop = page::kTop + 10;
constexpr double kTableBottom = page::kBottom - 8;
constexpr double kHeaderHeight = 9;
constexpr double kMinRowHeight = 6;
constexpr double kPadding = 1;
constexpr double kBodyPoints = 8;
constexpr double kHeaderPoints = 7.5;

struct Column {
    const char *header;
    double width; // millimetres
    Qt::Alignment align;
};

// №, object, scheme, Q, dPкл, Kv, Kvy, the actual loss, the authority and
// cavitation: 177 mm, the width of the frame.
const Column kColumns[] = {
    {"№", 7, Qt::AlignRight},           {"Объект", 33, Qt::AlignLeft},        {"Схема", 19, Qt::AlignLeft},
    {"Q,\nм3/ч", 13, Qt::AlignRight},   {"dPкл,\nатм", 13, Qt::AlignRight},   {"Kv,\nм3/ч", 13, Qt::AlignRight},
    {"Kvy,\nм3/ч", 13, Qt::AlignRight}, {"Потери,\nатм", 14, Qt::AlignRight}, {"Авторитет", 25, Qt::AlignLeft},
    {"Кавитация", 27, Qt::AlignLeft},
};
constexpr int kColumnCount = int(std::size(kColumns));

const QColor kRule(120, 120, 120);
const QColor kGrid(190, 190, 190);

QStringList cellsOf(const ScheduleRow &row, int number)
{
    return {QString::number(number), row.object,    row.scheme,    row.flow, row.valveDrop, row.kv, row.kvy,
            row.actualLoss,          row.authority, row.cavitation};
}

QColor cellColor(const ScheduleRow &row, int column)
{
    if (column == kColumnCount - 2)
        return verdictColor(row.authorityTone);
    if (column == kColumnCount - 1)
        return verdictColor(row.cavitationTone);
    return Qt::black;
}

// Words wrap at their boundaries, a word longer than its cell (a file name)
// anywhere.
QTextOption cellOption(Qt::Alignment align)
{
    QTextOption option(align | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

QRectF cellText(double left, double top, int column, double height)
{
    return QRectF(left + kPadding, top + kPadding, kColumns[column].width - 2 * kPadding, height - 2 * kPadding);
}

} // namespace

std::vector<SchedulePage> splitIntoPages(const std::vector<double> &rowHeights, double firstSpace, double space)
{
    std::vector<SchedulePage> pages(1);
    double left = firstSpace;
    for (int row = 0; row < int(rowHeights.size()); ++row) {
        const double height = rowHeights[std::size_t(row)];
        if (height > left && pages.back().rowCount > 0) {
            pages.push_back({row, 0});
            left = space;
        }
        ++pages.back().rowCount;
        left -= height;
    }
    return pages;
}

ScheduleTable::ScheduleTable(const ScheduleContent &content, QPainter &painter, double dpi)
    : m_content(content), m_dpi(dpi)
{
    const page::Units mm(dpi);
    painter.save();
    painter.setFont(page::font(kBodyPoints));
    int number = 1;
    for (const ScheduleRow &row : content.rows) {
        const QStringList cells = cellsOf(row, number++);
        double height = kMinRowHeight;
        for (int col = 0; col < kColumnCount; ++col) {
            const QRectF area = mm.rect(cellText(0, 0, col, 1000));
            const QRectF used = painter.boundingRect(area, cells[col], cellOption(kColumns[col].align));
            height = std::max(height, mm.toMm(used.height()) + 2 * kPadding);
        }
        m_rowHeights.push_back(height);
    }
    painter.restore();
    m_pages = splitIntoPages(m_rowHeights, kTableBottom - kFirstTableTop - kHeaderHeight,
                             kTableBottom - kTableTop - kHeaderHeight);
}

void ScheduleTable::paintPage(QPainter &p, int pageIndex) const
{
    const page::Units mm(m_dpi);
    const auto text = [&](const QRectF &box, const QString &s, const QFont &font, int flags) {
        p.setFont(font);
        p.drawText(mm.rect(box), flags, s);
    };
    const auto rule = [&](double y, bool strong) {
        p.setPen(QPen(strong ? kRule : kGrid, mm(strong ? 0.3 : 0.15)));
        p.drawLine(mm.point(page::kLeft, y), mm.point(page::kRight, y));
        p.setPen(Qt::black);
    };
    const double width = page::kRight - page::kLeft;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(Qt::black);

    double top = kTableTop;
    if (pageIndex == 0) {
        text(QRectF(page::kLeft, page::kTop, width, 8), scheduleTitle(), page::font(16, true), Qt::AlignLeft);
        const QString dated = QStringLiteral("Дата: ") + m_content.date.toString(QStringLiteral("dd.MM.yyyy"));
        text(QRectF(page::kLeft, page::kTop + 9, width, 5), dated, page::font(9), Qt::AlignLeft | Qt::AlignVCenter);
        text(QRectF(page::kLeft, page::kTop + 9, width, 5), programVersionText(), page::font(9),
             Qt::AlignRight | Qt::AlignVCenter);
        const QString counts =
            QStringLiteral("Файлов расчёта: %1, клапанов: %2. ").arg(m_content.fileCount).arg(m_content.rows.size())
            + scheduleNoCheckNote();
        text(QRectF(page::kLeft, page::kTop + 15, width, 9), counts, page::font(8),
             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
        top = kFirstTableTop;
    } else {
        text(QRectF(page::kLeft, page::kTop, width, 7), scheduleTitle() + QStringLiteral(" (продолжение)"),
             page::font(11, true), Qt::AlignLeft | Qt::AlignVCenter);
    }
    rule(top - 2.5, true);

    // The column headers, repeated on every page.
    double x = page::kLeft;
    for (int col = 0; col < kColumnCount; ++col) {
        text(cellText(x, top, col, kHeaderHeight), QString::fromUtf8(kColumns[col].header),
             page::font(kHeaderPoints, true), int(kColumns[col].align) | Qt::AlignVCenter | Qt::TextWordWrap);
        x += kColumns[col].width;
    }
    top += kHeaderHeight;
    rule(top, true);

    const SchedulePage &onPage = m_pages[std::size_t(pageIndex)];
    if (m_content.rows.empty()) {
        text(QRectF(page::kLeft, top + 2, width, 6),
             QStringLiteral("Нет клапанов: ни в одном файле расчёта нет контура с расходом Q больше нуля."),
             page::font(kBodyPoints), Qt::AlignLeft | Qt::AlignVCenter);
    }
    for (int row = onPage.firstRow; row < onPage.firstRow + onPage.rowCount; ++row) {
        const ScheduleRow &r = m_content.rows[std::size_t(row)];
        const QStringList cells = cellsOf(r, row + 1);
        const double height = m_rowHeights[std::size_t(row)];
        p.setFont(page::font(kBodyPoints));
        x = page::kLeft;
        for (int col = 0; col < kColumnCount; ++col) {
            p.setPen(cellColor(r, col));
            p.drawText(mm.rect(cellText(x, top, col, height)), cells[col], cellOption(kColumns[col].align));
            x += kColumns[col].width;
        }
        top += height;
        rule(top, false);
    }

    const QString number = QStringLiteral("Ведомость, лист %1 из %2").arg(pageIndex + 1).arg(pageCount());
    text(QRectF(page::kLeft, page::kBottom - 5, width, 5), number, page::font(8), Qt::AlignRight | Qt::AlignVCenter);
    p.restore();
}
