#pragma once
// Putting the sizing sheet on paper as a PDF file (printing:
// sheet/sheetprinting.h).
#include <QByteArray>
#include <QString>
#include <functional>
#include <stdexcept>

class QPageLayout;
class QPainter;
class QPdfWriter;
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

// Writes a PDF titled `title` on the sheet's page to `path` as
// writeSheetPdf writes the sheet: `paint` draws its pages (a new page with
// QPdfWriter::newPage), and it raises as writeSheetPdf does.
void writePdf(const QString &path, const QString &title, const std::function<void(QPdfWriter &, QPainter &)> &paint);

// Writes the bytes of a finished document to `path` as writeSheetPdf
// writes the sheet, and raises as it does.
void writeDocument(const QByteArray &bytes, const QString &path);

// The sheet's page: A4 portrait without margins, for the PDF and the
// printer.
const QPageLayout &sheetPageLayout();
