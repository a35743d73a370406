#include "app/reportreading.h"

#include <QDate>
#include <QLabel>

#include "core/numtext.h"
#include "core/sizing.h"
#include "sheet/hiddenwindow.h"
#include "sheet/sheetcontent.h"
#include "ui/mainwindow.h"
#include "ui_Form_Main.h"
#include "widgets/flatfloatedit.h"

namespace {

std::string utf8(const QString &s) { return s.toStdString(); }

// A result line's number where it shows one, none where it shows "???".
std::optional<double> shown(const QLabel *line, double value)
{
    if (line->text().contains(QLatin1String("???")))
        return std::nullopt;
    return value;
}

// The input's key in the settings file without the circuit's digit.
std::string keyOf(const QString &field, int circuit)
{
    QString key = field;
    if (key.endsWith(QString::number(circuit)))
        key.chop(1);
    return utf8(key);
}

} // namespace

ReportCircuit readReportCircuit(const TForm_Main &window, int circuit)
{
    const SheetContent sheet = readSheetContent(window, circuit, QDate::currentDate());
    ReportCircuit c;
    c.circuit = circuit;
    c.name = utf8(sheet.circuitName);
    for (const SheetInput &input : sheet.inputs) {
        const auto *field = window.findChild<const TFlatFloatEdit *>(QStringLiteral("FlEdt_") + input.key);
        c.inputs.push_back(
            {keyOf(input.key, circuit), utf8(input.name), utf8(input.unit), storeDouble(field->ValueL())});
    }
    for (const QString &line : sheet.resultLines)
        c.resultLines.push_back(utf8(line));
    const SizingState &s = sizing();
    const Ui::Form_Main &ui = *window.ui;
    c.valveDrop = circuit == 1 ? s.dPkl1 : s.dPkl2;
    c.kv = circuit == 1 ? shown(ui.L_Kv1, s.Kv1) : shown(ui.L_Kv2, s.Kv2);
    c.kvy = storeDouble((circuit == 1 ? ui.FlEdt_Kvy1 : ui.FlEdt_Kvy2)->ValueL());
    c.actualLoss = circuit == 1 ? shown(ui.L_dPklReal1, s.dPklReal1) : shown(ui.L_dPklReal2, s.dPklReal2);
    c.checkInputs = checkInputs(circuit);
    c.check = evaluateValveCheck(circuit, c.kvy);
    return c;
}

std::vector<ReportFile> readReport(const QStringList &files)
{
    HiddenWindow hidden;
    const auto read = [&hidden](const QString &name) {
        ReportFile file;
        file.name = utf8(name);
        for (const int circuit : {1, 2})
            file.circuits.push_back(readReportCircuit(hidden.window(), circuit));
        return file;
    };
    std::vector<ReportFile> report;
    if (files.isEmpty())
        report.push_back(read(hidden.window().settingsPath()));
    for (const QString &name : files) {
        hidden.open(name);
        report.push_back(read(name));
    }
    return report;
}
