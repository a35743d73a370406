#include "sheet/schedulecontent.h"

#include <algorithm>

#include "core/numtext.h"
#include "core/report.h"
#include "sheet/hiddenwindow.h"
#include "ui/mainwindow.h"

namespace {

const QString kDash = QStringLiteral("—");

QString qtext(const std::string &s) { return QString::fromStdString(s); }

// The input of the sheet whose field is FlEdt_<name><circuit>.
QString inputValue(const SheetContent &sheet, const QString &name)
{
    const QString key = name + QString::number(sheet.circuit);
    for (const SheetInput &input : sheet.inputs)
        if (input.key == key)
            return input.value;
    return {};
}

// The check's verdict on cavitation of the chosen Kvy: at the design point
// first, then when the valve closes; the reason where there is none.
void cavitationCell(const ValveRow &row, ScheduleRow &out)
{
    const CavitationCheck &design = row.designPoint;
    if (design.reason != CheckReason::None) {
        out.cavitation = qtext(reasonText(design.reason));
        out.cavitationTone = cavitationTone(design);
    } else if (design.verdict == CavitationVerdict::Danger) {
        out.cavitation = qtext(cavitationVerdictText(design.verdict));
        out.cavitationTone = VerdictTone::Bad;
    } else if (row.closing.reason == CheckReason::None && row.closing.verdict == CavitationVerdict::Danger) {
        out.cavitation = qtext(cavitationVerdictText(row.closing.verdict)) + QStringLiteral(" при закрытии");
        out.cavitationTone = VerdictTone::Bad;
    } else {
        out.cavitation = qtext(cavitationVerdictText(design.verdict));
        out.cavitationTone = VerdictTone::Good;
    }
}

} // namespace

QString scheduleTitle() { return QStringLiteral("Ведомость регулирующих клапанов"); }

QString scheduleNoCheckNote()
{
    return QStringLiteral("Авторитет и кавитация — по проверке подбора на листе клапана; «—»: проверка не задана.");
}

QString resultNumber(const QString &line)
{
    const qsizetype at = line.lastIndexOf(QLatin1String("= "));
    if (at < 0)
        return {};
    const QString rest = line.mid(at + 2);
    return rest.left(rest.indexOf(QLatin1Char(' ')));
}

ScheduleRow scheduleRow(const QString &object, const SheetContent &sheet)
{
    ScheduleRow row;
    row.object = object;
    row.scheme = qtext(schemeName(sheet.circuit));
    row.flow = inputValue(sheet, QStringLiteral("Q"));
    const QStringList &lines = sheet.resultLines;
    row.valveDrop = lines.size() > 0 ? resultNumber(lines[0]) : QString();
    row.kv = lines.size() > 1 ? resultNumber(lines[1]) : QString();
    row.kvy = sheet.chosenKvyText;
    row.actualLoss = lines.size() > 3 ? resultNumber(lines[3]) : QString();
    row.authority = row.cavitation = kDash;
    if (!sheet.check || !sheet.checkedKvy)
        return row;
    const ValveRow &checked = *sheet.checkedKvy;
    // The number as the check block prints it, then its verdict.
    if (checked.verdict == AuthorityVerdict::ValveTooSmall || checked.verdict == AuthorityVerdict::NotComputed) {
        row.authority = qtext(authorityLine(checked));
    } else {
        row.authority = qtext(FormatTwoDecimals(checked.authority)) + QStringLiteral(": ")
                        + qtext(authorityVerdictText(checked.verdict));
    }
    row.authorityTone = authorityTone(checked);
    cavitationCell(checked, row);
    return row;
}

ScheduleContent readScheduleContent(const QStringList &files, const QDate &date)
{
    ScheduleContent schedule;
    schedule.date = date;
    schedule.fileCount = int(files.size());
    HiddenWindow hidden;
    for (const QString &file : files) {
        hidden.open(file);
        for (const int circuit : {1, 2}) {
            SheetContent sheet = readSheetContent(hidden.window(), circuit, date);
            if (sheet.flow > 0) {
                const QString object = sheet.objectName;
                addToSchedule(schedule, object, std::move(sheet));
            }
        }
    }
    return schedule;
}

void addToSchedule(ScheduleContent &schedule, const QString &object, SheetContent sheet)
{
    schedule.rows.push_back(scheduleRow(object, sheet));
    schedule.sheets.push_back(std::move(sheet));
}
