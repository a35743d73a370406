// Draws the window's pictures and the program icon from code.
//
//   gen_pictures <output directory>
//
// Each picture also comes drawn at twice its size for screens of high
// density (Img1@2x.jpg, Img2@2x.jpg, Img3@2x.jpg). Besides these, it
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

#include "draw/drawkit.h"
#include "draw/nomogram.h"
#include "draw/schemes.h"

namespace {

// ---------------------------------------------------------------- JPEG

void failJpeg(j_common_ptr cinfo)
{
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    std::fprintf(stderr, "gen_pictures: JPEG error: %s\n", text);
    std::exit(2);
}

// Baseline JPEG, quality fixed, no chroma subsampling (keeps thin lines
// crisp), standard Huffman tables, JFIF header at `dpi` (96 for the
// pictures, 192 for their @2x versions), no comments.
QByteArray encodeJpeg(const QImage &source, int quality, int dpi)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jerr.error_exit = failJpeg;
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
    cinfo.X_density = static_cast<UINT16>(dpi);
    cinfo.Y_density = static_cast<UINT16>(dpi);

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

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size()) {
        std::fprintf(stderr, "gen_pictures: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- icon

// A gear wheel outline with its hub hole, centred at c.
QPainterPath gearPath(QPointF c, double outer, double root, int teeth, double hole, double phase)
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

QImage drawIcon(const IconLayout &L)
{
    QImage image(L.size, L.size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QColor gearFill(139, 128, 178); // grey-violet
    const QColor gearLight(176, 168, 208);
    const QColor gearEdge(72, 62, 112);
    const QColor checkBlue(24, 92, 214);

    auto gear = [&](QPointF c, double outer, double root, int teeth, double hole, double phase) {
        const QPainterPath path = gearPath(c, outer, root, teeth, hole, phase);
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

QImage icon48()
{
    IconLayout L;
    L.size = 48;
    L.bigC = QPointF(18, 19);
    L.bigOuter = 16.5;
    L.bigRoot = 12.5;
    L.bigHole = 5;
    L.bigTeeth = 10;
    L.smallC = QPointF(35.5, 12);
    L.smallOuter = 10.5;
    L.smallRoot = 7.8;
    L.smallHole = 3.2;
    L.smallTeeth = 8;
    L.box = QRectF(25.5, 25.5, 21, 21);
    L.boxPen = 1.5;
    L.check << QPointF(29.5, 35.5) << QPointF(34.5, 41) << QPointF(43, 29.5);
    L.checkPen = 3.6;
    L.gearPen = 1.2;
    return drawIcon(L);
}

QImage icon32()
{
    IconLayout L;
    L.size = 32;
    L.bigC = QPointF(12, 12.5);
    L.bigOuter = 11.2;
    L.bigRoot = 8.4;
    L.bigHole = 3.3;
    L.bigTeeth = 9;
    L.smallC = QPointF(23.8, 8);
    L.smallOuter = 7.2;
    L.smallRoot = 5.2;
    L.smallHole = 2;
    L.smallTeeth = 7;
    L.box = QRectF(16.5, 16.5, 14, 14);
    L.boxPen = 1;
    L.check << QPointF(19.3, 23.2) << QPointF(22.6, 26.8) << QPointF(28.3, 19.2);
    L.checkPen = 2.6;
    L.gearPen = 1;
    return drawIcon(L);
}

QImage icon16()
{
    // Fewer, coarser teeth and a pixel-aligned box so it stays readable.
    IconLayout L;
    L.size = 16;
    L.bigC = QPointF(6.5, 6.5);
    L.bigOuter = 6.4;
    L.bigRoot = 4.5;
    L.bigHole = 1.7;
    L.bigTeeth = 7;
    L.smallC = QPointF(12.3, 3.8);
    L.smallOuter = 3.3;
    L.smallRoot = 2.2;
    L.smallHole = 0;
    L.smallTeeth = 5;
    L.box = QRectF(8.5, 8.5, 7, 7);
    L.boxPen = 1;
    L.check << QPointF(10.2, 11.6) << QPointF(11.8, 13.3) << QPointF(14.2, 10.2);
    L.checkPen = 1.5;
    L.gearPen = 0.9;
    return drawIcon(L);
}

QByteArray pngData(const QImage &image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG", 0);
    return data;
}

void putLE16(QByteArray &out, unsigned v)
{
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
}

void putLE32(QByteArray &out, unsigned v)
{
    putLE16(out, v & 0xFFFF);
    putLE16(out, v >> 16);
}

// One icon image as a 32-bit DIB with its one-bit transparency mask.
QByteArray iconDib(const QImage &argb)
{
    const QImage img = argb.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width(), h = img.height();
    QByteArray out;
    putLE32(out, 40);
    putLE32(out, static_cast<unsigned>(w));
    putLE32(out, static_cast<unsigned>(h * 2)); // colour rows and mask rows
    putLE16(out, 1);
    putLE16(out, 32);
    putLE32(out, 0);
    const int maskStride = ((w + 31) / 32) * 4;
    putLE32(out, static_cast<unsigned>(w * h * 4 + maskStride * h));
    putLE32(out, 0);
    putLE32(out, 0);
    putLE32(out, 0);
    putLE32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < w; ++x)
            putLE32(out, line[x]); // B, G, R, A in memory order
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

QByteArray icoFile(const std::vector<QImage> &images)
{
    QByteArray header, body;
    putLE16(header, 0);
    putLE16(header, 1);
    putLE16(header, static_cast<unsigned>(images.size()));
    unsigned offset = 6 + 16 * static_cast<unsigned>(images.size());
    for (const QImage &img : images) {
        const QByteArray dib = iconDib(img);
        header.append(static_cast<char>(img.width() & 0xFF));
        header.append(static_cast<char>(img.height() & 0xFF));
        header.append('\0'); // no palette
        header.append('\0');
        putLE16(header, 1);  // planes
        putLE16(header, 32); // bits per pixel
        putLE32(header, static_cast<unsigned>(dib.size()));
        putLE32(header, offset);
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

    const QString family = QFontInfo(pictureFont(14)).family();
    if (family != QLatin1String(kPictureFontFamily)) {
        std::fprintf(stderr, "gen_pictures: font \"%s\" not installed (got \"%s\")\n", kPictureFontFamily,
                     qPrintable(family));
        return 1;
    }

    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath("icon")) {
        std::fprintf(stderr, "gen_pictures: cannot create %s/icon\n", argv[1]);
        return 1;
    }

    const int quality = 92;
    const QImage icons[3] = {icon16(), icon32(), icon48()};
    // The pictures, and at twice the size for screens of high density
    // (drawn anew at that size, not scaled up).
    bool ok = true;
    for (int scale : {1, 2}) {
        const QString suffix = scale == 1 ? QString() : QStringLiteral("@2x");
        const int dpi = 96 * scale;
        ok = ok && writeFile(out.filePath("Img1" + suffix + ".jpg"), encodeJpeg(renderScheme(1, scale), quality, dpi))
             && writeFile(out.filePath("Img2" + suffix + ".jpg"), encodeJpeg(renderScheme(2, scale), quality, dpi))
             && writeFile(out.filePath("Img3" + suffix + ".jpg"), encodeJpeg(renderNomogram(scale), quality, dpi));
    }
    ok = ok && writeFile(out.filePath("icon/zelton-16.png"), pngData(icons[0]))
         && writeFile(out.filePath("icon/zelton-32.png"), pngData(icons[1]))
         && writeFile(out.filePath("icon/zelton-48.png"), pngData(icons[2]))
         && writeFile(out.filePath("icon/zelton.ico"), icoFile({icons[2], icons[1], icons[0]}));
    return ok ? 0 : 1;
}
