#pragma once
// The sizing sheet as a drawing: one A4 portrait page with the title, the
// circuit's scheme, the table of inputs, the result lines and the
// nomogram with the operating point and the chosen Kvy. Text is drawn as
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
    QRectF inputs;
    QRectF results;
    QRectF nomogram;
};

// The layout for a circuit with `inputCount` inputs.
SheetLayout sheetLayout(int inputCount);

// Paints the sheet on a painter whose device has `dpi` pixels to the inch
// and whose origin is the top left corner of the paper.
void paintSheet(QPainter &painter, double dpi, const SheetContent &content);
