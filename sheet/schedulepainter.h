#pragma once
// The valve schedule's table as a drawing: as many A4 portrait pages as
// its rows need, the column headers repeated on each; the first page
// under the schedule's title, date and program version. A row is never
// cut between pages; its cells wrap their text and the row grows to the
// tallest. Text is drawn as text, so a PDF keeps it searchable.
#include <vector>

class QPainter;
struct ScheduleContent;

// The rows on one page of the table.
struct SchedulePage {
    int firstRow = 0;
    int rowCount = 0;
};

// The rows, of heights `rowHeights` (millimetres), laid on pages that hold
// `firstSpace` on the first page and `space` on every other one. A row
// taller than a page takes a page of its own. At least one page, empty
// where there are no rows.
std::vector<SchedulePage> splitIntoPages(const std::vector<double> &rowHeights, double firstSpace, double space);

// The table of a schedule laid out on the pages of a painter's device.
class ScheduleTable
{
public:
    // `painter` is active on the device the pages will be painted on, with
    // `dpi` pixels to the inch; it measures the cells' text. `content` must
    // outlive the table.
    ScheduleTable(const ScheduleContent &content, QPainter &painter, double dpi);

    int pageCount() const { return int(m_pages.size()); }
    const std::vector<SchedulePage> &pages() const { return m_pages; }
    // Paints page `page` (0-based) on a painter of the device the table was
    // laid out for, whose origin is the top left corner of the paper.
    void paintPage(QPainter &painter, int page) const;

private:
    const ScheduleContent &m_content;
    double m_dpi;
    std::vector<double> m_rowHeights; // millimetres
    std::vector<SchedulePage> m_pages;
};
