#pragma once
// The drawing kit of the program's pictures: the font they are lettered in
// and the symbols of the circuit diagrams (pipes, fittings, dimension
// arrows). It draws with any painter in the pictures' own units, one unit
// being one pixel of the window's 800 x 400 picture: on a picture, on a
// picture of twice the size for high-density screens, or on a page.
#include <QFont>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>

class QPainter;

// The one family every picture is lettered in (Debian: fonts-liberation2).
inline constexpr const char *kPictureFontFamily = "Liberation Sans";

// The pictures' font at a size in picture units. Hinting and antialiasing
// are fixed so that a picture comes out the same wherever it is drawn.
QFont pictureFont(double pixelSize, bool bold = false, bool italic = false);

class SchemeKit
{
public:
    explicit SchemeKit(QPainter &painter) : m_p(painter) {}

    void pipe(QPointF a, QPointF b);
    void pipe(const QPolygonF &path);
    // Flow arrow head on a pipe, tip at (x, y), pointing along (dx, dy).
    void flowArrow(QPointF tip, QPointF dir, double length = 14, double half = 5);
    void junction(QPointF c);
    // Filter (mud trap): a rhombus on the pipe with a dashed screen.
    void filter(QPointF c);
    // Flow-meter primary element: a flanged spool with its transmitter head.
    void flowMeter(QPointF c);
    // Regulating valve: a bow tie on the pipe, stem, actuator box with the
    // sine symbol. 'actuatorTop' is the top of the actuator box.
    void valve(QPointF c, double actuatorTop);
    // Check valve on a vertical pipe: bow tie with the closing half filled,
    // flow upwards.
    void checkValve(QPointF c);
    // Pump: circle with a triangle pointing in the flow direction (right).
    void pump(QPointF c, double r);
    // Plate heat exchanger: a box with two zig-zag channels, the primary
    // one on the left, the secondary one on the right.
    void exchanger(const QRectF &box, double yTop, double yBottom);
    // Dimension arrow between x1 and x2 at height y, extension lines
    // starting at yFrom, label centred below (or above) the arrow.
    void dimH(double x1, double x2, double y, double yFrom, const QString &sub, bool labelAbove = false);
    // Vertical dimension arrow between the two lines, label to its right.
    void dimV(double x, double y1, double y2, const QString &sub);
    // "ΔP" with a subscript, placed by the anchor and alignment.
    void label(QPointF anchor, const QString &sub, Qt::Alignment align);
    // Italic text; the anchor's y is the baseline.
    void text(QPointF anchor, const QString &s, Qt::Alignment align, double size = 15);

private:
    // Thin lines on pixel centres stay one sharp pixel wide.
    static double crisp(double v);
    void thinPen();
    void doubleArrow(QPointF a, QPointF b);
    // Two triangles meeting at their tips; vertical for a pipe running up.
    void bowTie(QPointF c, bool vertical, bool fillSecond);
    // A channel entering at (xEdge, yTop), zig-zagging down around xMid
    // and leaving at (xEdge, yBottom).
    void zigzag(double xEdge, double xInner, double yTop, double yBottom, double xMid);

    QPainter &m_p;
};
