#pragma once
// What the sizing sheet of a circuit shows, read off the main window: the
// page caption, the inputs with their captions, hints, values and units,
// the result lines as the window shows them and the numbers the nomogram
// marks; and the valve check where any of its inputs is set.
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "core/checktexts.h"

class QWidget;

// One input of the circuit, as the window shows it.
struct SheetInput {
    QString key;   // the field's name after "FlEdt_" ("dPr1", "Q1")
    QString name;  // the caption without its colon ("dPр")
    QString hint;  // the hint of the field
    QString value; // the text of the field ("1.00")
    QString unit;  // "атм" or "м3/ч"
};

struct SheetContent {
    int circuit = 1;     // 1 dependent, 2 independent
    QString circuitName; // the caption of the circuit's page
    QString objectName;  // the sizing file's name without ".zelton"; empty without one
    QDate date;
    std::vector<SheetInput> inputs;
    // The valve drop, Kv, chosen Kvy and actual-loss lines, word for word.
    QStringList resultLines;
    // What the nomogram marks: the valve drop the window computed, the
    // flow and the Kvy in their fields.
    double valveDrop = 0;
    double flow = 0;
    double chosenKvy = 0;
    QString chosenKvyText; // as the field shows it ("4.0")
    // The valve check of the circuit, worded as its window words it; none
    // where the user has entered none of its inputs.
    std::optional<CheckTexts> check;
    // The check's row of the chosen Kvy, where the check is shown and has
    // one.
    std::optional<ValveRow> checkedKvy;
};

// The sheet's title and the program's name and version.
QString sheetTitle();
QString programVersionText();

// The content of the sheet of circuit 1 or 2 of the main window `window`,
// dated `date`, with the window's sizing file as the object. Raises
// std::logic_error when the window lacks a control.
SheetContent readSheetContent(const QWidget &window, int circuit, const QDate &date);

// The object a sizing file stands for: its name without the folder and
// without ".zelton".
QString objectNameOf(const QString &sizingFile);

// The circuit whose page the window shows (1 or 2); 0 on the nomogram page.
int circuitOnScreen(const QWidget &window);
