#pragma once
// Printing the sizing sheet.
//
// The toolkit's print support (the printer, its dialog, the printers of
// CUPS) is a library of its own that every start would load without ever
// printing. So printing lives in a module, libzelton-print.so, which the
// program loads at the first print (sheet/printmodule.h).
#include <QPageLayout>
#include <QString>
#include <functional>

class QPainter;
class QPrinter;
class QWidget;

// Lets the user choose and set up the printer; false when cancelled.
using PrintAsker = std::function<bool(QWidget *owner, QPrinter &printer)>;

// One print of the sheet.
struct SheetPrintJob {
    QWidget *owner = nullptr;
    QString title;      // the document name the printer shows
    QPageLayout layout; // the sheet's page
    // Asks for the printer; none: the toolkit's print dialog.
    PrintAsker ask;
    // Paints the sheet on the page at the printer's resolution (dots per
    // inch).
    std::function<void(QPainter &painter, int resolution)> paint;
    // Writes the sheet's PDF to a file: "print to file" makes the same PDF
    // as the save and writes it as the save writes (sheet/sheetwriter.h).
    std::function<void(const QString &path)> writePdf;
};

// The module's entry point (sheet/printmodule.h looks it up): sets up a
// printer for the job's page, asks for it and prints. Raises
// SheetWriteError (sheet/sheetwriter.h) when the printer cannot be started.
using SheetPrintEntry = void (*)(const SheetPrintJob &job);
inline constexpr char kSheetPrintEntry[] = "zeltonPrintSheet";
