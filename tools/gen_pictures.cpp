// Draws the window's pictures and the program icon from code.
//
//   gen_pictures <output directory>
//
// writes Img1.jpg, Img2.jpg (circuit diagrams, 800 x 400), Img3.jpg (the
// nomogram, 423 x 557) and icon/zelton-{16,32,48}.png plus icon/zelton.ico.
// The output is reproducible on one machine: fixed sizes, fonts, hinting and
// JPEG settings. Another CPU may round antialiased pixels differently.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

#include "tools/nomogram_geometry.h"

namespace {

const char *const FontFamily = "Liberation Sans";

QFont MakeFont(double pixelSize, bool bold = false, bool italic = false)
{
    QFont font(FontFamily);
    font.setPixelSize(qRound(pixelSize));
    font.setBold(bold);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias
                                               | QFont::NoFontMerging));
    font.setKerning(true);
    return font;
}

// ---------------------------------------------------------------- JPEG

void FailJpeg(j_common_ptr cinfo)
{
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    std::fprintf(stderr, "gen_pictures: JPEG error: %s\n", text);
    std::exit(2);
}

// Baseline JPEG, quality fixed, no chroma subsampling (keeps thin lines
// crisp), standard Huffman tables, JFIF header at 96 dpi, no comments.
QByteArray EncodeJpeg(const QImage &source, int quality)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jerr.error_exit = FailJpeg;
    jpeg_create_compress(&cinfo);

    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);

    cinfo.image_width = static_cast<JDIMENSION>(image.width());
    cinfo.image_height = static_cast<JDIMENSION>(image.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    for (int c = 0; c < cinfo.num_components; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
    cinfo.optimize_coding = FALSE;
    cinfo.dct_method = JDCT_ISLOW;
    cinfo.write_JFIF_header = TRUE;
    cinfo.density_unit = 1;
    cinfo.X_density = 96;
    cinfo.Y_density = 96;

    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<uchar *>(image.constScanLine(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    QByteArray data(reinterpret_cast<const char *>(buffer), static_cast<qsizetype>(size));
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return data;
}

bool WriteFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size()) {
        std::fprintf(stderr, "gen_pictures: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- drawing kit

constexpr double PipeWidth = 2.0;
constexpr double ThinWidth = 1.0;

class Sheet {
public:
    explicit Sheet(QPainter &p) : p(p) {}

    void pipe(QPointF a, QPointF b)
    {
        p.setPen(QPen(Qt::black, PipeWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.drawLine(a, b);
    }

    void pipe(const QPolygonF &path)
    {
        p.setPen(QPen(Qt::black, PipeWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(path);
    }

    // Flow arrow head on a pipe, tip at (x, y), pointing along (dx, dy).
    void flowArrow(QPointF tip, QPointF dir, double length = 14, double half = 5)
    {
        const QPointF n(-dir.y(), dir.x());
        QPolygonF head;
        head << tip << tip - dir * length + n * half << tip - dir * length - n * half;
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPolygon(head);
    }

    void junction(QPointF c)
    {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawEllipse(c, 4, 4);
    }

    // Filter (mud trap): a rhombus on the pipe with a dashed screen.
    void filter(QPointF c)
    {
        const double hw = 20, hh = 20;
        QPolygonF rhombus;
        rhombus << QPointF(c.x() - hw, c.y()) << QPointF(c.x(), c.y() - hh)
                << QPointF(c.x() + hw, c.y()) << QPointF(c.x(), c.y() + hh);
        p.setPen(QPen(Qt::black, PipeWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.setBrush(Qt::white);
        p.drawPolygon(rhombus);
        QPen dashed(Qt::black, 1.5, Qt::CustomDashLine, Qt::FlatCap);
        dashed.setDashPattern({2.5, 2});
        p.setPen(dashed);
        p.drawLine(QPointF(c.x(), c.y() - hh + 4), QPointF(c.x(), c.y() + hh - 4));
    }

    // Flow-meter primary element: a flanged spool with its transmitter head.
    void flowMeter(QPointF c)
    {
        const double hw = 20, hh = 11;
        p.setPen(QPen(Qt::black, PipeWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(c.x() - hw, c.y() - hh, 2 * hw, 2 * hh));
        // flanges
        p.drawLine(QPointF(c.x() - hw - 3, c.y() - hh - 4), QPointF(c.x() - hw - 3, c.y() + hh + 4));
        p.drawLine(QPointF(c.x() + hw + 3, c.y() - hh - 4), QPointF(c.x() + hw + 3, c.y() + hh + 4));
        // measuring section: two electrodes across the bore
        p.setPen(QPen(Qt::black, 1.5));
        p.drawLine(QPointF(c.x() - 6, c.y() - hh), QPointF(c.x() - 6, c.y() + hh));
        p.drawLine(QPointF(c.x() + 6, c.y() - hh), QPointF(c.x() + 6, c.y() + hh));
        // transmitter head
        p.setPen(QPen(Qt::black, PipeWidth));
        p.drawLine(QPointF(c.x(), c.y() - hh), QPointF(c.x(), c.y() - hh - 10));
        p.drawEllipse(QPointF(c.x(), c.y() - hh - 20), 10, 10);
        p.setFont(MakeFont(11, true));
        p.drawText(QRectF(c.x() - 10, c.y() - hh - 30, 20, 20), Qt::AlignCenter, "F");
    }

    // Regulating valve: a bow tie on the pipe, stem, actuator box with the
    // sine symbol. 'actuatorTop' is the top of the actuator box.
    void valve(QPointF c, double actuatorTop)
    {
        bowTie(c, false, false);
        p.setPen(QPen(Qt::black, PipeWidth, Qt::SolidLine, Qt::FlatCap));
        const double boxW = 38, boxH = 26;
        p.drawLine(QPointF(c.x(), c.y()), QPointF(c.x(), actuatorTop + boxH));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(c.x() - boxW / 2, actuatorTop, boxW, boxH));
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
        p.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(sine);
    }

    // Check valve on a vertical pipe: bow tie with the closing half filled,
    // flow upwards.
    void checkValve(QPointF c)
    {
        bowTie(c, true, true);
    }

    // Pump: circle with a triangle pointing in the flow direction (right).
    void pump(QPointF c, double r)
    {
        p.setPen(QPen(Qt::black, PipeWidth));
        p.setBrush(Qt::white);
        p.drawEllipse(c, r, r);
        QPolygonF tri;
        tri << QPointF(c.x() + r, c.y()) << QPointF(c.x() - r * 0.5, c.y() - r * 0.866)
            << QPointF(c.x() - r * 0.5, c.y() + r * 0.866);
        p.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(tri);
    }

    // Plate heat exchanger: a box with two zig-zag channels, the primary
    // one on the left, the secondary one on the right.
    void exchanger(const QRectF &box, double yTop, double yBottom)
    {
        p.setPen(QPen(Qt::black, PipeWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.setBrush(Qt::white);
        p.drawRect(box);
        p.setPen(QPen(Qt::black, 1.2, Qt::DashLine));
        p.drawLine(QPointF(box.center().x(), box.top() + 6), QPointF(box.center().x(), box.bottom() - 6));
        const double w = box.width();
        zigzag(box.left(), box.left() + w * 0.40, yTop, yBottom, box.left() + w * 0.22);
        zigzag(box.right(), box.right() - w * 0.40, yTop, yBottom, box.right() - w * 0.22);
    }

    // Dimension arrow between x1 and x2 at height y, extension lines
    // starting at yFrom, label centred below (or above) the arrow.
    void dimH(double x1, double x2, double y, double yFrom, const QString &sub, bool labelAbove = false)
    {
        x1 = Crisp(x1);
        x2 = Crisp(x2);
        y = Crisp(y);
        thinPen();
        const double ext = y + (yFrom < y ? 5 : -5);
        p.drawLine(QPointF(x1, yFrom), QPointF(x1, ext));
        p.drawLine(QPointF(x2, yFrom), QPointF(x2, ext));
        doubleArrow(QPointF(x1, y), QPointF(x2, y));
        const double cx = (x1 + x2) / 2;
        if (labelAbove)
            label(QPointF(cx, y - 6), sub, Qt::AlignHCenter | Qt::AlignBottom);
        else
            label(QPointF(cx, y + 4), sub, Qt::AlignHCenter | Qt::AlignTop);
    }

    // Vertical dimension arrow between the two lines, label to its right.
    void dimV(double x, double y1, double y2, const QString &sub)
    {
        x = Crisp(x);
        thinPen();
        doubleArrow(QPointF(x, y1), QPointF(x, y2));
        label(QPointF(x + 6, (y1 + y2) / 2), sub, Qt::AlignLeft | Qt::AlignVCenter);
    }

    // "ΔP" with a subscript, placed by the anchor and alignment.
    void label(QPointF anchor, const QString &sub, Qt::Alignment align)
    {
        const QFont main = MakeFont(17);
        const QFont small = MakeFont(13);
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
        p.setPen(Qt::black);
        p.setFont(main);
        p.drawText(QPointF(left, baseline), base);
        p.setFont(small);
        p.drawText(QPointF(left + fm.horizontalAdvance(base), baseline + shift), sub);
    }

    void text(QPointF anchor, const QString &s, Qt::Alignment align, double size = 15)
    {
        const QFont font = MakeFont(size, false, true);
        const QFontMetricsF fm(font);
        const double w = fm.horizontalAdvance(s);
        double left = anchor.x();
        if (align & Qt::AlignHCenter)
            left -= w / 2;
        else if (align & Qt::AlignRight)
            left -= w;
        p.setPen(Qt::black);
        p.setFont(font);
        // anchor y is the baseline
        p.drawText(QPointF(left, anchor.y()), s);
    }

private:
    // Thin lines on pixel centres stay one sharp pixel wide.
    static double Crisp(double v) { return std::floor(v) + 0.5; }

    void thinPen() { p.setPen(QPen(Qt::black, ThinWidth, Qt::SolidLine, Qt::FlatCap)); }

    void doubleArrow(QPointF a, QPointF b)
    {
        const QPointF d = b - a;
        const double len = std::hypot(d.x(), d.y());
        const QPointF u = d / len;
        const double head = 9;
        thinPen();
        p.drawLine(a + u * (head - 1), b - u * (head - 1));
        flowArrow(a, -u, head, 3.2);
        flowArrow(b, u, head, 3.2);
    }

    // Two triangles meeting at their tips; vertical for a pipe running up.
    void bowTie(QPointF c, bool vertical, bool fillSecond)
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
        p.setPen(QPen(Qt::black, PipeWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.setBrush(Qt::white);
        p.drawPolygon(first);
        p.setBrush(fillSecond ? Qt::black : Qt::white);
        p.drawPolygon(second);
    }

    // A channel entering at (xEdge, yTop), zig-zagging down around xMid
    // and leaving at (xEdge, yBottom).
    void zigzag(double xEdge, double xInner, double yTop, double yBottom, double xMid)
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
        p.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(path);
    }

    QPainter &p;
};

QImage BlankSheet(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    return image;
}

// Pipe levels shared by both circuit diagrams.
constexpr double Supply = 92;
constexpr double Return = 290;
constexpr double LeftEnd = 10;
constexpr double RightEnd = 790;

// Network connections on the left: "из теплосети" in, "в теплосеть" out.
void DrawNetworkSide(Sheet &s)
{
    s.text(QPointF(LeftEnd + 2, Supply - 10), "из теплосети", Qt::AlignLeft);
    s.flowArrow(QPointF(LeftEnd + 30, Supply), QPointF(1, 0));
    s.text(QPointF(LeftEnd + 2, Return + 24), "в теплосеть", Qt::AlignLeft);
    s.flowArrow(QPointF(LeftEnd, Return), QPointF(-1, 0));
}

// Consumer connections on the right: "в систему" out, "из системы" in.
void DrawSystemSide(Sheet &s)
{
    s.text(QPointF(RightEnd - 2, Supply - 10), "в систему", Qt::AlignRight);
    s.flowArrow(QPointF(RightEnd, Supply), QPointF(1, 0));
    s.text(QPointF(RightEnd - 2, Return + 24), "из системы", Qt::AlignRight);
    s.flowArrow(QPointF(RightEnd - 16, Return), QPointF(-1, 0));
}

// The dependent circuit: network water flows straight into the system.
QImage DrawDependent()
{
    QImage image = BlankSheet(800, 400);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Sheet s(p);

    const double filterX = 211, meterX = 331, valveX = 453, bypassX = 545, pumpX = 637;
    const double filter2X = 638;

    s.pipe(QPointF(LeftEnd, Supply), QPointF(RightEnd - 12, Supply));
    s.pipe(QPointF(LeftEnd + 12, Return), QPointF(RightEnd, Return));
    s.pipe(QPointF(bypassX, Supply), QPointF(bypassX, Return));
    s.junction(QPointF(bypassX, Supply));
    s.junction(QPointF(bypassX, Return));
    DrawNetworkSide(s);
    DrawSystemSide(s);

    s.filter(QPointF(filterX, Supply));
    s.flowMeter(QPointF(meterX, Supply));
    s.valve(QPointF(valveX, Supply), 18);
    s.pump(QPointF(pumpX, Supply), 20);
    s.checkValve(QPointF(bypassX, (Supply + Return) / 2));
    s.flowArrow(QPointF(bypassX, Supply + 40), QPointF(0, -1), 12, 4.5);
    s.filter(QPointF(filter2X, Return));
    // flow direction on the supply line between the elements
    s.flowArrow(QPointF(271, Supply), QPointF(1, 0), 12, 4.5);
    s.flowArrow(QPointF(395, Supply), QPointF(1, 0), 12, 4.5);
    s.flowArrow(QPointF(595, Supply), QPointF(1, 0), 12, 4.5);
    s.flowArrow(QPointF(470, Return), QPointF(-1, 0), 12, 4.5);
    s.flowArrow(QPointF(160, Return), QPointF(-1, 0), 12, 4.5);

    const double dimY = Supply + 42;
    s.dimH(filterX - 20, filterX + 20, dimY, Supply + 24, "ф");
    s.dimH(meterX - 23, meterX + 23, dimY, Supply + 18, "ппр");
    s.dimH(valveX - 20, valveX + 20, dimY, Supply + 16, "кл");
    s.dimH(pumpX - 20, pumpX + 20, dimY, Supply + 24, "н");
    s.dimH(filter2X - 20, filter2X + 20, Return + 42, Return + 24, "ф");
    s.dimH(240, 397, Return - 14, Return - 4, "тр", true);

    s.dimV(72, Supply + 1, Return - 1, "р");
    s.dimV(718, Supply + 1, Return - 1, "с");
    return image;
}

// The independent circuit: network water heats the system through a
// plate heat exchanger; the valve sits in the network return.
QImage DrawIndependent()
{
    QImage image = BlankSheet(800, 400);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Sheet s(p);

    const double filterX = 211, meterX = 354, valveX = 312;
    const QRectF hx(528, 50, 124, Return - Supply + 84);

    s.pipe(QPointF(LeftEnd, Supply), QPointF(hx.left(), Supply));
    s.pipe(QPointF(LeftEnd + 12, Return), QPointF(hx.left(), Return));
    s.pipe(QPointF(hx.right(), Supply), QPointF(RightEnd - 12, Supply));
    s.pipe(QPointF(hx.right(), Return), QPointF(RightEnd, Return));
    DrawNetworkSide(s);
    DrawSystemSide(s);
    s.exchanger(hx, Supply, Return);

    s.filter(QPointF(filterX, Supply));
    s.flowMeter(QPointF(meterX, Supply));
    s.valve(QPointF(valveX, Return), 232);
    s.flowArrow(QPointF(290 + 0.5 * 0, Supply), QPointF(1, 0), 12, 4.5);
    s.flowArrow(QPointF(420, Supply), QPointF(1, 0), 12, 4.5);
    s.flowArrow(QPointF(470, Return), QPointF(-1, 0), 12, 4.5);
    s.flowArrow(QPointF(140, Return), QPointF(-1, 0), 12, 4.5);
    s.flowArrow(QPointF(720, Supply), QPointF(1, 0), 12, 4.5);

    const double dimY = Supply + 42;
    s.dimH(filterX - 20, filterX + 20, dimY, Supply + 24, "ф");
    s.dimH(meterX - 23, meterX + 23, dimY, Supply + 18, "ппр");
    s.dimH(valveX - 20, valveX + 20, Return + 42, Return + 16, "кл");
    s.dimH(164, 238, Return - 14, Return - 4, "тр", true);

    s.dimV(72, Supply + 1, Return - 1, "р");
    s.dimV(440, Supply + 1, Return - 1, "т");
    return image;
}

// ---------------------------------------------------------------- nomogram

QString NumberText(double v)
{
    QString t = QString::number(v, 'g', 6);
    return t;
}

QImage DrawNomogram()
{
    using namespace nomogram;
    QImage image = BlankSheet(Width, Height);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QRectF plot(PlotLeft, PlotTop, PlotRight - PlotLeft, PlotBottom - PlotTop);
    const QColor minorGrid(205, 205, 205);
    const QColor majorGrid(140, 140, 140);
    const QColor example(20, 60, 190);

    // grid: crisp one-pixel lines on whole pixels
    auto vline = [&](int x, const QColor &c) {
        p.setPen(QPen(c, 1));
        p.drawLine(QPointF(x + 0.5, PlotTop + 0.5), QPointF(x + 0.5, PlotBottom + 0.5));
    };
    auto hline = [&](int y, const QColor &c) {
        p.setPen(QPen(c, 1));
        p.drawLine(QPointF(PlotLeft + 0.5, y + 0.5), QPointF(PlotRight + 0.5, y + 0.5));
    };
    for (double decade = DpMin; decade < DpMax * 0.999; decade *= 10)
        for (int k = 2; k <= 9; ++k)
            vline(qRound(XOfDp(decade * k)), minorGrid);
    for (double decade = QMin; decade < QMax * 0.999; decade *= 10)
        for (int k = 2; k <= 9; ++k)
            hline(qRound(YOfQ(decade * k)), minorGrid);
    for (double v = DpMin * 10; v < DpMax * 0.999; v *= 10)
        vline(qRound(XOfDp(v)), majorGrid);
    for (double v = QMin * 10; v < QMax * 0.999; v *= 10)
        hline(qRound(YOfQ(v)), majorGrid);

    // tick labels
    const QFont major = MakeFont(12);
    const QFont minor = MakeFont(10);
    p.setPen(Qt::black);
    auto xLabel = [&](double v, bool isMajor) {
        p.setFont(isMajor ? major : minor);
        p.setPen(isMajor ? QColor(Qt::black) : QColor(90, 90, 90));
        const double x = qRound(XOfDp(v)) + 0.5;
        p.drawText(QRectF(x - 20, PlotBottom + 3, 40, 16), Qt::AlignHCenter | Qt::AlignTop, NumberText(v));
    };
    auto yLabel = [&](double v, bool isMajor) {
        p.setFont(isMajor ? major : minor);
        p.setPen(isMajor ? QColor(Qt::black) : QColor(90, 90, 90));
        const double y = qRound(YOfQ(v)) + 0.5;
        p.drawText(QRectF(PlotLeft - 44, y - 8, 40, 16), Qt::AlignRight | Qt::AlignVCenter, NumberText(v));
    };
    for (double v = DpMin; v < DpMax * 1.001; v *= 10) {
        xLabel(v, true);
        if (v < DpMax * 0.999) {
            xLabel(v * 2, false);
            xLabel(v * 5, false);
        }
    }
    for (double v = QMin; v < QMax * 1.001; v *= 10) {
        yLabel(v, true);
        if (v < QMax * 0.999) {
            yLabel(v * 2, false);
            yLabel(v * 5, false);
        }
    }

    // axis titles
    p.setPen(Qt::black);
    p.setFont(MakeFont(13, true));
    p.drawText(QRectF(0, PlotBottom + 22, Width, 20), Qt::AlignHCenter | Qt::AlignTop,
               QStringLiteral("Перепад давления клапана ΔPкл (атм)"));
    p.save();
    p.translate(4, (PlotTop + PlotBottom) / 2.0);
    p.rotate(-90);
    p.drawText(QRectF(-200, 0, 400, 18), Qt::AlignHCenter | Qt::AlignTop,
               QStringLiteral("Расход Q (м³/ч)"));
    p.restore();

    // Kv lines, clipped to the plot area
    p.setRenderHint(QPainter::Antialiasing);
    p.save();
    p.setClipRect(plot.adjusted(0.5, 0.5, 0.5, 0.5));
    p.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::FlatCap));
    for (double kv : KvValues) {
        // a straight line in log-log coordinates: its two end points suffice
        const QPointF a(XOfDp(DpMin), YOfQ(FlowOf(kv, DpMin)));
        const QPointF b(XOfDp(DpMax), YOfQ(FlowOf(kv, DpMax)));
        p.drawLine(a + QPointF(0.5, 0.5), b + QPointF(0.5, 0.5));
    }

    // worked example: drop up to the flow, then across to the axis
    QPen examplePen(example, 2.2, Qt::CustomDashLine, Qt::FlatCap);
    examplePen.setDashPattern({4, 2.5});
    p.setPen(examplePen);
    const QPointF hit(XOfDp(ExampleDp) + 0.5, YOfQ(ExampleQ) + 0.5);
    p.drawLine(QPointF(hit.x(), PlotBottom + 0.5), hit);
    p.drawLine(QPointF(PlotLeft + 0.5, hit.y()), hit);
    p.setPen(QPen(example, 1.8));
    p.setBrush(Qt::white);
    p.drawEllipse(hit, 3.5, 3.5);
    p.restore();

    // Kv labels along their lines, on a white halo
    const QFont kvFont = MakeFont(11, true);
    const QFontMetricsF fm(kvFont);
    const double angle = -qRadiansToDegrees(std::atan2(
        YOfQ(FlowOf(1, DpMin)) - YOfQ(FlowOf(1, DpMax)), XOfDp(DpMax) - XOfDp(DpMin)));
    p.setFont(kvFont);
    for (double kv : KvValues) {
        const QString t = kv == KvValues.front() ? QStringLiteral("Kv=") + NumberText(kv) : NumberText(kv);
        const QPointF at(XOfDp(LabelDp) + 0.5, YOfQ(FlowOf(kv, LabelDp)) + 0.5);
        const double w = fm.horizontalAdvance(t);
        p.save();
        p.translate(at);
        p.rotate(angle);
        const QRectF box(-w / 2 - 1.5, -fm.ascent() - 3.5, w + 3, fm.ascent() + 1.5);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(box);
        p.setPen(Qt::black);
        p.drawText(QPointF(-w / 2, -3.5), t);
        p.restore();
    }

    // plot frame on top
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(PlotLeft, PlotTop, PlotRight - PlotLeft, PlotBottom - PlotTop));
    return image;
}

// ---------------------------------------------------------------- icon

// A gear wheel outline with its hub hole, centred at c.
QPainterPath GearPath(QPointF c, double outer, double root, int teeth, double hole, double phase)
{
    QPainterPath gear;
    const double step = 2 * M_PI / teeth;
    // tooth: top land 36 % and root land 36 % of the pitch, flanks between
    const double top = 0.34 * step, flank = 0.16 * step;
    for (int i = 0; i < teeth; ++i) {
        const double a0 = phase + i * step;
        const double angles[4] = {a0, a0 + flank, a0 + flank + top, a0 + 2 * flank + top};
        const double radii[4] = {root, outer, outer, root};
        for (int k = 0; k < 4; ++k) {
            const QPointF pt(c.x() + radii[k] * std::cos(angles[k]), c.y() + radii[k] * std::sin(angles[k]));
            if (i == 0 && k == 0)
                gear.moveTo(pt);
            else
                gear.lineTo(pt);
        }
        // root land as an arc approximated by a few points
        const double r0 = a0 + 2 * flank + top, r1 = a0 + step;
        for (int k = 1; k <= 3; ++k) {
            const double a = r0 + (r1 - r0) * k / 3;
            gear.lineTo(QPointF(c.x() + root * std::cos(a), c.y() + root * std::sin(a)));
        }
    }
    gear.closeSubpath();
    if (hole > 0) {
        QPainterPath h;
        h.addEllipse(c, hole, hole);
        gear = gear.subtracted(h);
    }
    return gear;
}

struct IconLayout {
    int size;
    // big gear
    QPointF bigC;
    double bigOuter, bigRoot, bigHole;
    int bigTeeth;
    // small gear
    QPointF smallC;
    double smallOuter, smallRoot, smallHole;
    int smallTeeth;
    // check box
    QRectF box;
    double boxPen;
    QPolygonF check;
    double checkPen;
    double gearPen;
};

QImage DrawIcon(const IconLayout &L)
{
    QImage image(L.size, L.size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QColor gearFill(139, 128, 178);    // grey-violet
    const QColor gearLight(176, 168, 208);
    const QColor gearEdge(72, 62, 112);
    const QColor checkBlue(24, 92, 214);

    auto gear = [&](QPointF c, double outer, double root, int teeth, double hole, double phase) {
        const QPainterPath path = GearPath(c, outer, root, teeth, hole, phase);
        QRadialGradient shade(c - QPointF(outer * 0.35, outer * 0.35), outer * 1.6);
        shade.setColorAt(0, gearLight);
        shade.setColorAt(1, gearFill);
        p.setBrush(shade);
        p.setPen(L.gearPen > 0 ? QPen(gearEdge, L.gearPen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                               : QPen(Qt::NoPen));
        p.drawPath(path);
    };
    gear(L.smallC, L.smallOuter, L.smallRoot, L.smallTeeth, L.smallHole, 0.3);
    gear(L.bigC, L.bigOuter, L.bigRoot, L.bigTeeth, L.bigHole, 0.0);

    // white box with the blue check mark
    p.setPen(QPen(QColor(60, 60, 80), L.boxPen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::white);
    p.drawRect(L.box);
    p.setPen(QPen(checkBlue, L.checkPen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(L.check);
    return image;
}

QImage Icon48()
{
    IconLayout L;
    L.size = 48;
    L.bigC = QPointF(18, 19);
    L.bigOuter = 16.5; L.bigRoot = 12.5; L.bigHole = 5; L.bigTeeth = 10;
    L.smallC = QPointF(35.5, 12);
    L.smallOuter = 10.5; L.smallRoot = 7.8; L.smallHole = 3.2; L.smallTeeth = 8;
    L.box = QRectF(25.5, 25.5, 21, 21);
    L.boxPen = 1.5;
    L.check << QPointF(29.5, 35.5) << QPointF(34.5, 41) << QPointF(43, 29.5);
    L.checkPen = 3.6;
    L.gearPen = 1.2;
    return DrawIcon(L);
}

QImage Icon32()
{
    IconLayout L;
    L.size = 32;
    L.bigC = QPointF(12, 12.5);
    L.bigOuter = 11.2; L.bigRoot = 8.4; L.bigHole = 3.3; L.bigTeeth = 9;
    L.smallC = QPointF(23.8, 8);
    L.smallOuter = 7.2; L.smallRoot = 5.2; L.smallHole = 2; L.smallTeeth = 7;
    L.box = QRectF(16.5, 16.5, 14, 14);
    L.boxPen = 1;
    L.check << QPointF(19.3, 23.2) << QPointF(22.6, 26.8) << QPointF(28.3, 19.2);
    L.checkPen = 2.6;
    L.gearPen = 1;
    return DrawIcon(L);
}

QImage Icon16()
{
    // Fewer, coarser teeth and a pixel-aligned box so it stays readable.
    IconLayout L;
    L.size = 16;
    L.bigC = QPointF(6.5, 6.5);
    L.bigOuter = 6.4; L.bigRoot = 4.5; L.bigHole = 1.7; L.bigTeeth = 7;
    L.smallC = QPointF(12.3, 3.8);
    L.smallOuter = 3.3; L.smallRoot = 2.2; L.smallHole = 0; L.smallTeeth = 5;
    L.box = QRectF(8.5, 8.5, 7, 7);
    L.boxPen = 1;
    L.check << QPointF(10.2, 11.6) << QPointF(11.8, 13.3) << QPointF(14.2, 10.2);
    L.checkPen = 1.5;
    L.gearPen = 0.9;
    return DrawIcon(L);
}

QByteArray PngData(const QImage &image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG", 0);
    return data;
}

void PutLE16(QByteArray &out, unsigned v)
{
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
}

void PutLE32(QByteArray &out, unsigned v)
{
    PutLE16(out, v & 0xFFFF);
    PutLE16(out, v >> 16);
}

// One icon image as a 32-bit DIB with its one-bit transparency mask.
QByteArray IconDib(const QImage &argb)
{
    const QImage img = argb.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width(), h = img.height();
    QByteArray out;
    PutLE32(out, 40);
    PutLE32(out, static_cast<unsigned>(w));
    PutLE32(out, static_cast<unsigned>(h * 2)); // colour rows and mask rows
    PutLE16(out, 1);
    PutLE16(out, 32);
    PutLE32(out, 0);
    const int maskStride = ((w + 31) / 32) * 4;
    PutLE32(out, static_cast<unsigned>(w * h * 4 + maskStride * h));
    PutLE32(out, 0);
    PutLE32(out, 0);
    PutLE32(out, 0);
    PutLE32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < w; ++x)
            PutLE32(out, line[x]); // B, G, R, A in memory order
    }
    for (int y = h - 1; y >= 0; --y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < w; ++x)
            if (qAlpha(line[x]) == 0)
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        out.append(row);
    }
    return out;
}

QByteArray IcoFile(const std::vector<QImage> &images)
{
    QByteArray header, body;
    PutLE16(header, 0);
    PutLE16(header, 1);
    PutLE16(header, static_cast<unsigned>(images.size()));
    unsigned offset = 6 + 16 * static_cast<unsigned>(images.size());
    for (const QImage &img : images) {
        const QByteArray dib = IconDib(img);
        header.append(static_cast<char>(img.width() & 0xFF));
        header.append(static_cast<char>(img.height() & 0xFF));
        header.append('\0'); // no palette
        header.append('\0');
        PutLE16(header, 1);  // planes
        PutLE16(header, 32); // bits per pixel
        PutLE32(header, static_cast<unsigned>(dib.size()));
        PutLE32(header, offset);
        offset += static_cast<unsigned>(dib.size());
        body.append(dib);
    }
    return header + body;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_pictures <output directory>\n");
        return 1;
    }
    // Same platform and font rendering wherever it runs.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QString family = QFontInfo(MakeFont(14)).family();
    if (family != FontFamily) {
        std::fprintf(stderr, "gen_pictures: font \"%s\" not installed (got \"%s\")\n", FontFamily,
                     qPrintable(family));
        return 1;
    }

    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath("icon")) {
        std::fprintf(stderr, "gen_pictures: cannot create %s/icon\n", argv[1]);
        return 1;
    }

    const int quality = 92;
    const QImage icons[3] = {Icon16(), Icon32(), Icon48()};
    bool ok = WriteFile(out.filePath("Img1.jpg"), EncodeJpeg(DrawDependent(), quality))
              && WriteFile(out.filePath("Img2.jpg"), EncodeJpeg(DrawIndependent(), quality))
              && WriteFile(out.filePath("Img3.jpg"), EncodeJpeg(DrawNomogram(), quality))
              && WriteFile(out.filePath("icon/zelton-16.png"), PngData(icons[0]))
              && WriteFile(out.filePath("icon/zelton-32.png"), PngData(icons[1]))
              && WriteFile(out.filePath("icon/zelton-48.png"), PngData(icons[2]))
              && WriteFile(out.filePath("icon/zelton.ico"), IcoFile({icons[2], icons[1], icons[0]}));
    return ok ? 0 : 1;
}
