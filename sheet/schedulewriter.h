#pragma once
// The valve schedule as one PDF: the table's pages, then the sizing sheet
// of each row, one A4 page each.
#include <QString>

struct ScheduleContent;

// Writes the schedule to `path` as the sheet is written
// (sheet/sheetwriter.h): made in memory, then written out whole, so a
// failure leaves no file behind. Raises SheetWriteError naming the path.
void writeSchedulePdf(const ScheduleContent &content, const QString &path);
