#include "draw/schemes.h"

#include <QPainter>

#include "draw/drawkit.h"

namespace {

// Pipe levels shared by both circuit diagrams.
constexpr double kSupply = 92;
constexpr double kReturn = 290;
constexpr double kLeftEnd = 10;
constexpr double kRightEnd = 790;

// Network connections on the left: "из теплосети" in, "в теплосеть" out.
void drawNetworkSide(SchemeKit &s)
{
    s.text(QPointF(kLeftEnd + 2, kSupply - 10), "из теплосети", Qt::AlignLeft);
    s.flowArrow(QPointF(kLeftEnd + 30, kSupply), QPointF(1, 0));
    s.text(QPointF(kLeftEnd + 2, kReturn + 24), "в теплосеть", Qt::AlignLeft);
    s.flowArrow(QPointF(kLeftEnd, kReturn), QPointF(-1, 0));
}

// Consumer connections on the right: "в систему" out, "из системы" in.
void drawSystemSide(SchemeKit &s)
{
    s.text(QPointF(kRightEnd - 2, kSupply - 10), "в систему", Qt::AlignRight);
    s.flowArrow(QPointF(kRightEnd, kSupply), QPointF(1, 0));
    s.text(QPointF(kRightEnd - 2, kReturn + 24), "из системы", Qt::AlignRight);
    s.flowArrow(QPointF(kRightEnd - 16, kReturn), QPointF(-1, 0));
}

// The dependent circuit: network water flows straight into the system.
void drawDependent(SchemeKit &s)
{
    const double filterX = 211, meterX = 331, valveX = 453, bypassX = 545, pumpX = 637;
    const double filter2X = 638;

    s.pipe(QPointF(kLeftEnd, kSupply), QPointF(kRightEnd - 12, kSupply));
    s.pipe(QPointF(kLeftEnd + 12, kReturn), QPointF(kRightEnd, kReturn));
    s.pipe(QPointF(bypassX, kSupply), QPointF(bypassX, kReturn));
    s.junction(QPointF(bypassX, kSupply));
    s.junction(QPointF(bypassX, kReturn));
    drawNetworkSide(s);
    drawSystemSide(s);

    s.filter(QPointF(filterX, kSupply));
    s.flowMeter(QPointF(meterX, kSupply));
    s.valve(QPointF(valveX, kSupply), 18);
    s.pump(QPointF(pumpX, kSupply), 20);
    s.checkValve(QPointF(bypassX, (kSupply + kReturn) / 2));
    s.flowArrow(QPointF(bypassX, kSupply + 40), QPointF(0, -1), 12, 4.5);
    s.filter(QPointF(filter2X, kReturn));
    // flow direction on the supply line between the elements
    s.flowArrow(QPointF(271, kSupply), QPointF(1, 0), 12, 4.5);
    s.flowArrow(QPointF(395, kSupply), QPointF(1, 0), 12, 4.5);
    s.flowArrow(QPointF(595, kSupply), QPointF(1, 0), 12, 4.5);
    s.flowArrow(QPointF(470, kReturn), QPointF(-1, 0), 12, 4.5);
    s.flowArrow(QPointF(160, kReturn), QPointF(-1, 0), 12, 4.5);

    const double dimY = kSupply + 42;
    s.dimH(filterX - 20, filterX + 20, dimY, kSupply + 24, "ф");
    s.dimH(meterX - 23, meterX + 23, dimY, kSupply + 18, "ппр");
    s.dimH(valveX - 20, valveX + 20, dimY, kSupply + 16, "кл");
    s.dimH(pumpX - 20, pumpX + 20, dimY, kSupply + 24, "н");
    s.dimH(filter2X - 20, filter2X + 20, kReturn + 42, kReturn + 24, "ф");
    s.dimH(240, 397, kReturn - 14, kReturn - 4, "тр", true);

    s.dimV(72, kSupply + 1, kReturn - 1, "р");
    s.dimV(718, kSupply + 1, kReturn - 1, "с");
}

// The independent circuit: network water heats the system through a
// plate heat exchanger; the valve sits in the network return.
void drawIndependent(SchemeKit &s)
{
    const double filterX = 211, meterX = 354, valveX = 312;
    const QRectF hx(528, 50, 124, kReturn - kSupply + 84);

    s.pipe(QPointF(kLeftEnd, kSupply), QPointF(hx.left(), kSupply));
    s.pipe(QPointF(kLeftEnd + 12, kReturn), QPointF(hx.left(), kReturn));
    s.pipe(QPointF(hx.right(), kSupply), QPointF(kRightEnd - 12, kSupply));
    s.pipe(QPointF(hx.right(), kReturn), QPointF(kRightEnd, kReturn));
    drawNetworkSide(s);
    drawSystemSide(s);
    s.exchanger(hx, kSupply, kReturn);

    s.filter(QPointF(filterX, kSupply));
    s.flowMeter(QPointF(meterX, kSupply));
    s.valve(QPointF(valveX, kReturn), 232);
    s.flowArrow(QPointF(290 + 0.5 * 0, kSupply), QPointF(1, 0), 12, 4.5);
    s.flowArrow(QPointF(420, kSupply), QPointF(1, 0), 12, 4.5);
    s.flowArrow(QPointF(470, kReturn), QPointF(-1, 0), 12, 4.5);
    s.flowArrow(QPointF(140, kReturn), QPointF(-1, 0), 12, 4.5);
    s.flowArrow(QPointF(720, kSupply), QPointF(1, 0), 12, 4.5);

    const double dimY = kSupply + 42;
    s.dimH(filterX - 20, filterX + 20, dimY, kSupply + 24, "ф");
    s.dimH(meterX - 23, meterX + 23, dimY, kSupply + 18, "ппр");
    s.dimH(valveX - 20, valveX + 20, kReturn + 42, kReturn + 16, "кл");
    s.dimH(164, 238, kReturn - 14, kReturn - 4, "тр", true);

    s.dimV(72, kSupply + 1, kReturn - 1, "р");
    s.dimV(440, kSupply + 1, kReturn - 1, "т");
}

} // namespace

void paintScheme(QPainter &painter, int circuit)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    SchemeKit kit(painter);
    if (circuit == 2)
        drawIndependent(kit);
    else
        drawDependent(kit);
    painter.restore();
}

QImage blankPicture(int w, int h, int scale)
{
    QImage image(w * scale, h * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(3780 * scale);
    image.setDotsPerMeterY(3780 * scale);
    return image;
}

QImage renderScheme(int circuit, int scale)
{
    QImage image = blankPicture(kSchemeWidth, kSchemeHeight, scale);
    QPainter painter(&image);
    if (scale != 1)
        painter.scale(scale, scale);
    paintScheme(painter, circuit);
    return image;
}
