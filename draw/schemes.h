#pragma once
// The line diagrams of the two circuits: the pictures of the window's
// circuit pages, and the schemes of the sizing sheet.
#include <QImage>

class QPainter;

// The size of a diagram in its own units (the window's picture in pixels).
inline constexpr int kSchemeWidth = 800;
inline constexpr int kSchemeHeight = 400;

// Paints the diagram of circuit 1 (dependent) or 2 (independent) in its
// own units, 0, 0 to 800 x 400, with the painter's transform; paints no
// background. The painter's state is kept.
void paintScheme(QPainter &painter, int circuit);

// The diagram as a picture on white, `scale` device pixels to the unit.
QImage renderScheme(int circuit, int scale);

// A white picture of w x h pixels at 96 pixels per inch times `scale`.
QImage blankPicture(int w, int h, int scale);
