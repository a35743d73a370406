#pragma once
// The nomogram of Kv lines over valve drop and flow: the picture of the
// window's nomogram page and the nomogram of the sizing sheet, drawn by
// one routine from the geometry of draw/nomogram_geometry.h.
#include <QColor>
#include <QImage>
#include <QPointF>

class QPainter;

// What is drawn over the grid and the Kv lines.
struct NomogramMarks {
    // The worked example of the window's picture (0.6 atm, 3 m3/h).
    bool workedExample = true;
    // The operating point (valve drop, flow), marked with a red disc and
    // read off to both axes; drawn only where it lies on the plot.
    bool operatingPoint = false;
    double valveDrop = 0;
    double flow = 0;
    // The line Q = Kv * sqrt(dP) of a chosen Kv, drawn over the others;
    // none when not above zero.
    double chosenKv = 0;
};

// The colours of the two marks.
inline constexpr QRgb kOperatingPointColor = 0xFFFF0000;
inline constexpr QRgb kChosenKvColor = 0xFF143CBE;

// Paints the nomogram in its own units, 0, 0 to 423 x 557, with the
// painter's transform; paints no background. The painter's state is kept.
void paintNomogram(QPainter &painter, const NomogramMarks &marks = {});

// The window's picture on white, `scale` device pixels to the unit.
QImage renderNomogram(int scale);

// Where a (valve drop, flow) lies in the nomogram's units: the centre of
// the pixel the window's picture draws it on.
QPointF nomogramPoint(double valveDrop, double flow);

// True when the point lies within the plot's range (both values finite).
bool nomogramShows(double valveDrop, double flow);
