#pragma once
// Putting the sizing sheet on paper: as a PDF file and on a printer.
#include <QString>
#include <stdexcept>

class QPrinter;
struct SheetContent;

// A sheet that could not be written or printed; the message names the
// file (or the printer) and the reason.
class SheetWriteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Writes the sheet as a PDF of one A4 page to `path`, as the output writer
// of the core writes (core/outputfile.h): a file is replaced whole, so a
// failure leaves no file behind and an older file unchanged; a device, a
// terminal or a FIFO is written into; "-" is standard output. Raises
// SheetWriteError "Unable to write to <absolute path>: <reason>" (for "-":
// "standard output").
void writeSheetPdf(const SheetContent &content, const QString &path);

// Prints the sheet on `printer` (set up for A4 portrait here; a printer
// set to write a PDF file writes it as writeSheetPdf does). Raises
// SheetWriteError when the printer cannot be started or the file written.
void printSheet(const SheetContent &content, QPrinter &printer);

// The page setup both share: A4 portrait, the painter's origin at the
// paper's corner.
void prepareSheetPrinter(QPrinter &printer);
