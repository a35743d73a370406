#pragma once
// The sizing sheet as a drawing: one A4 portrait page with the title, the
// circuit's scheme, the table of inputs, the result lines and the
// nomogram with the operating point and the chosen Kvy; with the valve
// check, its block between the inputs and the results, the scheme, the
// input rows and the nomogram drawn smaller so that the page stays one.
// Text is drawn as
// text and the pictures as lines, so a PDF keeps them searchable and
// sharp at any resolution.
#include <QRectF>

class QPainter;
struct SheetContent;

// Where the parts of the sheet lie on an A4 page, in millimetres from the
// top left corner of the paper.
struct SheetLayout {
    static constexpr double kPageWidth = 210;
    static constexpr double kPageHeight = 297;
    QRectF scheme;
    QRectF inputs; // the header row and one row an input
    QRectF check;  // the valve check below its title; empty without it
    QRectF results;
    QRectF nomogram;
};

// The layout for a circuit with `inputCount` inputs, and the valve check
// with `checkRows` rows (0 to 3; none where negative).
SheetLayout sheetLayout(int inputCount, int checkRows = -1);

// Paints the sheet on a painter whose device has `dpi` pixels to the inch
// and whose origin is the top left corner of the paper.
void paintSheet(QPainter &painter, double dpi, const SheetContent &content);
