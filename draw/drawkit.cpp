#include "draw/drawkit.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QtMath>

#include <cmath>

namespace {

constexpr double kPipeWidth = 2.0;
constexpr double kThinWidth = 1.0;

} // namespace

QFont pictureFont(double pixelSize, bool bold, bool italic)
{
    QFont font(QString::fromLatin1(kPictureFontFamily));
    font.setPixelSize(qRound(pixelSize));
    font.setBold(bold);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    font.setStyleStrategy(
        QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias | QFont::NoFontMerging));
    font.setKerning(true);
    return font;
}

void SchemeKit::pipe(QPointF a, QPointF b)
{
    m_p.setPen(QPen(Qt::black, kPipeWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    m_p.drawLine(a, b);
}

void SchemeKit::pipe(const QPolygonF &path)
{
    m_p.setPen(QPen(Qt::black, kPipeWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    m_p.setBrush(Qt::NoBrush);
    m_p.drawPolyline(path);
}

void SchemeKit::flowArrow(QPointF tip, QPointF dir, double length, double half)
{
    const QPointF n(-dir.y(), dir.x());
    QPolygonF head;
    head << tip << tip - dir * length + n * half << tip - dir * length - n * half;
    m_p.setPen(Qt::NoPen);
    m_p.setBrush(Qt::black);
    m_p.drawPolygon(head);
}

void SchemeKit::junction(QPointF c)
{
    m_p.setPen(Qt::NoPen);
    m_p.setBrush(Qt::black);
    m_p.drawEllipse(c, 4, 4);
}

void SchemeKit::filter(QPointF c)
{
    const double hw = 20, hh = 20;
    QPolygonF rhombus;
    rhombus << QPointF(c.x() - hw, c.y()) << QPointF(c.x(), c.y() - hh) << QPointF(c.x() + hw, c.y())
            << QPointF(c.x(), c.y() + hh);
    m_p.setPen(QPen(Qt::black, kPipeWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    m_p.setBrush(Qt::white);
    m_p.drawPolygon(rhombus);
    QPen dashed(Qt::black, 1.5, Qt::CustomDashLine, Qt::FlatCap);
    dashed.setDashPattern({2.5, 2});
    m_p.setPen(dashed);
    m_p.drawLine(QPointF(c.x(), c.y() - hh + 4), QPointF(c.x(), c.y() + hh - 4));
}

void SchemeKit::flowMeter(QPointF c)
{
    const double hw = 20, hh = 11;
    m_p.setPen(QPen(Qt::black, kPipeWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    m_p.setBrush(Qt::white);
    m_p.drawRect(QRectF(c.x() - hw, c.y() - hh, 2 * hw, 2 * hh));
    // flanges
    m_p.drawLine(QPointF(c.x() - hw - 3, c.y() - hh - 4), QPointF(c.x() - hw - 3, c.y() + hh + 4));
    m_p.drawLine(QPointF(c.x() + hw + 3, c.y() - hh - 4), QPointF(c.x() + hw + 3, c.y() + hh + 4));
    // measuring section: two electrodes across the bore
    m_p.setPen(QPen(Qt::black, 1.5));
    m_p.drawLine(QPointF(c.x() - 6, c.y() - hh), QPointF(c.x() - 6, c.y() + hh));
    m_p.drawLine(QPointF(c.x() + 6, c.y() - hh), QPointF(c.x() + 6, c.y() + hh));
    // transmitter head
    m_p.setPen(QPen(Qt::black, kPipeWidth));
    m_p.drawLine(QPointF(c.x(), c.y() - hh), QPointF(c.x(), c.y() - hh - 10));
    m_p.drawEllipse(QPointF(c.x(), c.y() - hh - 20), 10, 10);
    m_p.setFont(pictureFont(11, true));
    m_p.drawText(QRectF(c.x() - 10, c.y() - hh - 30, 20, 20), Qt::AlignCenter, "F");
}

void SchemeKit::valve(QPointF c, double actuatorTop)
{
    bowTie(c, false, false);
    m_p.setPen(QPen(Qt::black, kPipeWidth, Qt::SolidLine, Qt::FlatCap));
    const double boxW = 38, boxH = 26;
    m_p.drawLine(QPointF(c.x(), c.y()), QPointF(c.x(), actuatorTop + boxH));
    m_p.setBrush(Qt::white);
    m_p.drawRect(QRectF(c.x() - boxW / 2, actuatorTop, boxW, boxH));
    // one period of a sine wave across the box
    QPainterPath sine;
    const double x0 = c.x() - boxW / 2 + 5, w = boxW - 10, yc = actuatorTop + boxH / 2, a = 7;
    for (int i = 0; i <= 48; ++i) {
        const double t = i / 48.0;
        const QPointF pt(x0 + t * w, yc - a * std::sin(2 * M_PI * t));
        if (i == 0)
            sine.moveTo(pt);
        else
            sine.lineTo(pt);
    }
    m_p.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    m_p.setBrush(Qt::NoBrush);
    m_p.drawPath(sine);
}

void SchemeKit::checkValve(QPointF c) { bowTie(c, true, true); }

void SchemeKit::pump(QPointF c, double r)
{
    m_p.setPen(QPen(Qt::black, kPipeWidth));
    m_p.setBrush(Qt::white);
    m_p.drawEllipse(c, r, r);
    QPolygonF tri;
    tri << QPointF(c.x() + r, c.y()) << QPointF(c.x() - r * 0.5, c.y() - r * 0.866)
        << QPointF(c.x() - r * 0.5, c.y() + r * 0.866);
    m_p.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    m_p.setBrush(Qt::NoBrush);
    m_p.drawPolygon(tri);
}

void SchemeKit::exchanger(const QRectF &box, double yTop, double yBottom)
{
    m_p.setPen(QPen(Qt::black, kPipeWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    m_p.setBrush(Qt::white);
    m_p.drawRect(box);
    m_p.setPen(QPen(Qt::black, 1.2, Qt::DashLine));
    m_p.drawLine(QPointF(box.center().x(), box.top() + 6), QPointF(box.center().x(), box.bottom() - 6));
    const double w = box.width();
    zigzag(box.left(), box.left() + w * 0.40, yTop, yBottom, box.left() + w * 0.22);
    zigzag(box.right(), box.right() - w * 0.40, yTop, yBottom, box.right() - w * 0.22);
}

void SchemeKit::dimH(double x1, double x2, double y, double yFrom, const QString &sub, bool labelAbove)
{
    x1 = crisp(x1);
    x2 = crisp(x2);
    y = crisp(y);
    thinPen();
    const double ext = y + (yFrom < y ? 5 : -5);
    m_p.drawLine(QPointF(x1, yFrom), QPointF(x1, ext));
    m_p.drawLine(QPointF(x2, yFrom), QPointF(x2, ext));
    doubleArrow(QPointF(x1, y), QPointF(x2, y));
    const double cx = (x1 + x2) / 2;
    if (labelAbove)
        label(QPointF(cx, y - 6), sub, Qt::AlignHCenter | Qt::AlignBottom);
    else
        label(QPointF(cx, y + 4), sub, Qt::AlignHCenter | Qt::AlignTop);
}

void SchemeKit::dimV(double x, double y1, double y2, const QString &sub)
{
    x = crisp(x);
    thinPen();
    doubleArrow(QPointF(x, y1), QPointF(x, y2));
    label(QPointF(x + 6, (y1 + y2) / 2), sub, Qt::AlignLeft | Qt::AlignVCenter);
}

void SchemeKit::label(QPointF anchor, const QString &sub, Qt::Alignment align)
{
    const QFont main = pictureFont(17);
    const QFont small = pictureFont(13);
    const QFontMetricsF fm(main), fs(small);
    const QString base = QStringLiteral("ΔP");
    const double shift = 4;
    const double w = fm.horizontalAdvance(base) + fs.horizontalAdvance(sub);
    const double h = fm.ascent() + shift;
    double left = anchor.x();
    if (align & Qt::AlignHCenter)
        left -= w / 2;
    else if (align & Qt::AlignRight)
        left -= w;
    double top = anchor.y();
    if (align & Qt::AlignVCenter)
        top -= h / 2;
    else if (align & Qt::AlignBottom)
        top -= h;
    const double baseline = top + fm.ascent();
    m_p.setPen(Qt::black);
    m_p.setFont(main);
    m_p.drawText(QPointF(left, baseline), base);
    m_p.setFont(small);
    m_p.drawText(QPointF(left + fm.horizontalAdvance(base), baseline + shift), sub);
}

void SchemeKit::text(QPointF anchor, const QString &s, Qt::Alignment align, double size)
{
    const QFont font = pictureFont(size, false, true);
    const QFontMetricsF fm(font);
    const double w = fm.horizontalAdvance(s);
    double left = anchor.x();
    if (align & Qt::AlignHCenter)
        left -= w / 2;
    else if (align & Qt::AlignRight)
        left -= w;
    m_p.setPen(Qt::black);
    m_p.setFont(font);
    // anchor y is the baseline
    m_p.drawText(QPointF(left, anchor.y()), s);
}

double SchemeKit::crisp(double v) { return std::floor(v) + 0.5; }

void SchemeKit::thinPen() { m_p.setPen(QPen(Qt::black, kThinWidth, Qt::SolidLine, Qt::FlatCap)); }

void SchemeKit::doubleArrow(QPointF a, QPointF b)
{
    const QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    const QPointF u = d / len;
    const double head = 9;
    thinPen();
    m_p.drawLine(a + u * (head - 1), b - u * (head - 1));
    flowArrow(a, -u, head, 3.2);
    flowArrow(b, u, head, 3.2);
}

void SchemeKit::bowTie(QPointF c, bool vertical, bool fillSecond)
{
    const double len = 20, half = 12;
    QPolygonF first, second;
    if (!vertical) {
        first << c << QPointF(c.x() - len, c.y() - half) << QPointF(c.x() - len, c.y() + half);
        second << c << QPointF(c.x() + len, c.y() - half) << QPointF(c.x() + len, c.y() + half);
    } else {
        first << c << QPointF(c.x() - half, c.y() + len) << QPointF(c.x() + half, c.y() + len);
        second << c << QPointF(c.x() - half, c.y() - len) << QPointF(c.x() + half, c.y() - len);
    }
    m_p.setPen(QPen(Qt::black, kPipeWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    m_p.setBrush(Qt::white);
    m_p.drawPolygon(first);
    m_p.setBrush(fillSecond ? Qt::black : Qt::white);
    m_p.drawPolygon(second);
}

void SchemeKit::zigzag(double xEdge, double xInner, double yTop, double yBottom, double xMid)
{
    (void)xInner;
    const int teeth = 7;
    const double amp = 11;
    const double y0 = yTop + 22, y1 = yBottom - 22;
    QPolygonF path;
    path << QPointF(xEdge, yTop) << QPointF(xMid, yTop) << QPointF(xMid, y0);
    for (int i = 1; i < 2 * teeth; ++i) {
        const double y = y0 + (y1 - y0) * i / (2 * teeth);
        path << QPointF(xMid + ((i % 2) ? amp : -amp), y);
    }
    path << QPointF(xMid, y1) << QPointF(xMid, yBottom) << QPointF(xEdge, yBottom);
    m_p.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    m_p.setBrush(Qt::NoBrush);
    m_p.drawPolyline(path);
}
