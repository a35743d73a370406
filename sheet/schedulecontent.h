#pragma once
// What the valve schedule ("Ведомость регулирующих клапанов") of a project
// shows: one table row for each sizing file and circuit whose flow is
// above zero, then each row's sizing sheet. A row is made of the content
// of its sheet, so its numbers are the sheet's own texts.
#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

#include "core/checktexts.h"
#include "sheet/sheetcontent.h"

// One valve of the schedule.
struct ScheduleRow {
    QString object; // the sizing file's name
    QString scheme; // "зависимая", "независимая"
    // As the sheet shows them: the flow field, the numbers of the result
    // lines ("???" where the line has no number) and the Kvy field.
    QString flow;
    QString valveDrop;
    QString kv;
    QString kvy;
    QString actualLoss;
    // The check of the chosen Kvy, as the sheet's check block words it;
    // "—" where the sheet has no check or the check has no such row.
    QString authority;
    QString cavitation;
    VerdictTone authorityTone = VerdictTone::Neutral;
    VerdictTone cavitationTone = VerdictTone::Neutral;
};

struct ScheduleContent {
    QDate date;
    int fileCount = 0;
    std::vector<ScheduleRow> rows;
    std::vector<SheetContent> sheets; // the sheet of each row, in the same order
};

// The schedule's title.
QString scheduleTitle();
// What a dash in the check's columns stands for.
QString scheduleNoCheckNote();

// The row of a valve whose sheet is `sheet`, for the file named `object`.
ScheduleRow scheduleRow(const QString &object, const SheetContent &sheet);

// The number of a result line as it shows it: the word after its last
// "= " ("0.80", "???").
QString resultNumber(const QString &line);

// Adds a row and its sheet.
void addToSchedule(ScheduleContent &schedule, const QString &object, SheetContent sheet);

// The schedule of the sizing files `files`, dated `date`: each file opened
// in turn in a hidden main window (sheet/hiddenwindow.h), a row for each of
// its circuits whose flow field is above zero. A file that is not a sizing
// file raises ESizingFileError naming it, before anything is written.
ScheduleContent readScheduleContent(const QStringList &files, const QDate &date);
