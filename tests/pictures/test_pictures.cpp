// The pictures and the icon, committed and freshly generated: sizes,
// content at the places the hot zones point to, the nomogram's lines
// against Q = Kv * sqrt(dP), and the icon file against its PNG images.
#include <QDir>
#include <QGuiApplication>
#include <QtTest>

#include <cmath>

#include "draw/nomogram_geometry.h"
#include "tests/pictures/generator.h"
#include "tests/pictures/inkprobe.h"
#include "tests/pictures/samples.h"
#include "widgets/jpeg.h"

namespace {

// The zone's part of the picture with every row that is dark almost all
// the way across (a pipe passing through) painted white.
QImage withoutStraightPipes(const QImage &img, const QRect &zone)
{
    QImage part = img.copy(zone);
    for (int y = 0; y < part.height(); ++y)
        if (darkPixels(part, QRect(0, y, part.width(), 1)) * 100 > part.width() * 97)
            for (int x = 0; x < part.width(); ++x)
                part.setPixel(x, y, qRgb(255, 255, 255));
    return part;
}

bool isExampleBlue(QRgb c) { return qBlue(c) > 120 && qBlue(c) - qRed(c) > 60 && qBlue(c) - qGreen(c) > 40; }

quint32 le32(const QByteArray &d, qsizetype at)
{
    return uchar(d[at]) | (uchar(d[at + 1]) << 8) | (uchar(d[at + 2]) << 16) | (quint32(uchar(d[at + 3])) << 24);
}

quint16 le16(const QByteArray &d, qsizetype at) { return quint16(uchar(d[at]) | (uchar(d[at + 1]) << 8)); }

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

    // The generator's output of this run, beside the committed files.
    FreshRun m_fresh;

    static constexpr const char *kSources[] = {"committed", "fresh"};

    // `name` of the committed resources or of the generator's output (test
    // first that the generator ran).
    QString picturePath(const QString &source, const QString &name) const
    {
        return source == QLatin1String("fresh") ? m_fresh.filePath(name) : resource(name);
    }
    bool available(const QString &source) const { return source != QLatin1String("fresh") || m_fresh.ok(); }

private slots:
    void initTestCase() { m_fresh.run(); }

    void picturesDecodeToTheirBoxes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::newRow("Img1") << "Img1.jpg" << QSize(800, 400);
        QTest::newRow("Img2") << "Img2.jpg" << QSize(800, 400);
        QTest::newRow("Img3") << "Img3.jpg" << QSize(nomogram::kWidth, nomogram::kHeight);
    }

    void picturesDecodeToTheirBoxes()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const QImage img = decodeJpeg(readFile(resource(name)));
        QCOMPARE(img.size(), size);
        // black drawing on white paper
        for (const QPoint corner : {QPoint(0, 0), QPoint(size.width() - 1, size.height() - 1)})
            QVERIFY(qGray(img.pixel(corner)) > 245);
        const int dark = darkPixels(img, img.rect());
        QVERIFY2(dark > img.width() * img.height() / 100, qPrintable(QString::number(dark)));
        QVERIFY(dark < img.width() * img.height() / 4);
    }

    // Every hot zone covers a drawn element: ink beyond the pipes that
    // run straight through the zone, spread over the zone.
    void hotZonesCoverElements_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("zone");
        // an element with its dimension arrow and label, or only a
        // dimension arrow with its label
        QTest::addColumn<int>("minInk");
        QTest::newRow("L__dPf1a") << "Img1.jpg" << QRect(171, 51, 80, 115) << 450;
        QTest::newRow("L__dPPR1") << "Img1.jpg" << QRect(286, 50, 90, 115) << 450;
        QTest::newRow("L__dPkl1") << "Img1.jpg" << QRect(414, 8, 79, 159) << 450;
        QTest::newRow("L__dPf1b") << "Img1.jpg" << QRect(598, 269, 80, 115) << 450;
        QTest::newRow("L__dPr1") << "Img1.jpg" << QRect(48, 77, 69, 212) << 200;
        QTest::newRow("L__dPs") << "Img1.jpg" << QRect(702, 77, 69, 212) << 200;
        QTest::newRow("L__dPtr1") << "Img1.jpg" << QRect(232, 256, 173, 55) << 200;
        QTest::newRow("L__dPn") << "Img1.jpg" << QRect(598, 38, 79, 131) << 450;
        QTest::newRow("L__dPf2") << "Img2.jpg" << QRect(171, 51, 80, 115) << 450;
        QTest::newRow("L__dPPR2") << "Img2.jpg" << QRect(309, 51, 90, 115) << 450;
        QTest::newRow("L__dPkl2") << "Img2.jpg" << QRect(273, 225, 79, 159) << 450;
        QTest::newRow("L__dPr2") << "Img2.jpg" << QRect(48, 77, 69, 212) << 200;
        QTest::newRow("L__dPt") << "Img2.jpg" << QRect(424, 77, 69, 212) << 200;
        QTest::newRow("L__dPtr2") << "Img2.jpg" << QRect(156, 256, 89, 55) << 200;
    }

    void hotZonesCoverElements()
    {
        QFETCH(QString, name);
        QFETCH(QRect, zone);
        QFETCH(int, minInk);
        const QImage img = decodeJpeg(readFile(resource(name)));
        const QImage ink = withoutStraightPipes(img, zone);
        const int total = darkPixels(ink, ink.rect());
        QVERIFY2(total > minInk, qPrintable(QStringLiteral("%1 dark pixels").arg(total)));
        // ink in each half of the zone's long side: the element and its
        // label are not squeezed into a corner
        QRect first = ink.rect(), second = ink.rect();
        if (zone.height() > zone.width()) {
            first.setHeight(zone.height() / 2);
            second.setTop(first.bottom() + 1);
        } else {
            first.setWidth(zone.width() / 2);
            second.setLeft(first.right() + 1);
        }
        QVERIFY(darkPixels(ink, first) > total / 6);
        QVERIFY(darkPixels(ink, second) > total / 6);
    }

    // Every Kv line lies where the formula puts it, to within one pixel, in
    // the committed picture and in the one the generator draws now.
    void nomogramLinesFollowTheFormula_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<double>("kv");
        for (const char *source : kSources)
            for (double kv : nomogram::kKvValues)
                QTest::addRow("%s, Kv %g", source, kv) << QString::fromLatin1(source) << kv;
    }

    void nomogramLinesFollowTheFormula()
    {
        using namespace nomogram;
        QFETCH(QString, source);
        QFETCH(double, kv);
        QVERIFY2(available(source), qPrintable(m_fresh.error));
        const QImage img = decodeJpeg(readFile(picturePath(source, "Img3.jpg")));
        const double exampleX = xOfDp(kExampleDp), exampleY = yOfQ(kExampleQ);
        int checked = 0;
        for (double dp : {0.012, 0.02, 0.035, 0.05, 0.08, 0.13, 0.2, 0.3, 0.45, 0.8, 1.2, 1.9}) {
            const double x = xOfDp(dp), y = yOfQ(flowOf(kv, dp));
            QVERIFY(x > kPlotLeft && x < kPlotRight && y > kPlotTop && y < kPlotBottom);
            // stay clear of the worked example's lines
            if ((std::abs(x - exampleX) < 4 && y > exampleY - 4) || (std::abs(y - exampleY) < 4 && x < exampleX + 4))
                continue;
            const int darkest = darkestAround(img, x, y);
            QVERIFY2(
                darkest < 110,
                qPrintable(QStringLiteral("dP %1: no line at %2,%3 (grey %4)").arg(dp).arg(x).arg(y).arg(darkest)));
            // the ink's centre in this pixel column against the formula
            const int column = qRound(x);
            const double expected = yOfQ(flowOf(kv, dpOfX(column)));
            const double centre = inkCentre(img, column, qRound(expected) - 4, qRound(expected) + 4);
            QVERIFY2(std::abs(centre - expected) <= 1.0,
                     qPrintable(QStringLiteral("dP %1: line at y %2, formula %3").arg(dp).arg(centre).arg(expected)));
            // between this line and the next lower capacity there is paper
            const double between = yOfQ(flowOf(kv / 1.25, dp));
            QVERIFY2(qGray(img.pixel(qRound(x), qRound(between))) > 110,
                     qPrintable(QStringLiteral("dP %1: ink between lines at %2,%3").arg(dp).arg(x).arg(between)));
            ++checked;
        }
        QVERIFY(checked >= 9);
    }

    // Points read off the formula by hand, independent of the code that
    // draws the lines: the line of Kv passes through (dP, Q).
    void nomogramPassesThroughKnownPoints_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<double>("dp");
        QTest::addColumn<double>("q");
        // Kv, dP, Q
        const double points[][3] = {{4, 0.25, 2},  {4, 1, 4},       {1.6, 0.25, 0.8},
                                    {25, 0.04, 5}, {100, 0.04, 20}, {250, 0.36, 150}};
        for (const char *source : kSources)
            for (const auto &p : points)
                QTest::addRow("%s, Kv %g at dP %g", source, p[0], p[1]) << QString::fromLatin1(source) << p[1] << p[2];
    }

    void nomogramPassesThroughKnownPoints()
    {
        using namespace nomogram;
        QFETCH(QString, source);
        QFETCH(double, dp);
        QFETCH(double, q);
        QVERIFY2(available(source), qPrintable(m_fresh.error));
        const QImage img = decodeJpeg(readFile(picturePath(source, "Img3.jpg")));
        const double x = xOfDp(dp), y = yOfQ(q);
        QVERIFY2(darkestAround(img, x, y) < 110, qPrintable(QStringLiteral("no line at %1,%2").arg(x).arg(y)));
        const double centre = inkCentre(img, qRound(x), qRound(y) - 4, qRound(y) + 4);
        QVERIFY2(std::abs(centre - y) <= 1.0, qPrintable(QStringLiteral("line at y %1, not %2").arg(centre).arg(y)));
    }

    void nomogramMapping()
    {
        using namespace nomogram;
        // decade ends on the frame, 3 decades across and 4 up
        QCOMPARE(xOfDp(kDpMin), double(kPlotLeft));
        QCOMPARE(xOfDp(kDpMax), double(kPlotRight));
        QCOMPARE(yOfQ(kQMin), double(kPlotBottom));
        QCOMPARE(yOfQ(kQMax), double(kPlotTop));
        QVERIFY(std::abs(xOfDp(1) - (kPlotLeft + 2.0 * (kPlotRight - kPlotLeft) / 3)) < 1e-9);
        QVERIFY(std::abs(dpOfX(xOfDp(0.6)) - 0.6) < 1e-12);
        QVERIFY(std::abs(qOfY(yOfQ(3)) - 3) < 1e-12);
        QVERIFY(std::abs(dropOf(4, flowOf(4, 0.6)) - 0.6) < 1e-12);
        QVERIFY(kPlotRight < kWidth && kPlotBottom < kHeight);
    }

    void nomogramFrameAndGrid()
    {
        using namespace nomogram;
        const QImage img = decodeJpeg(readFile(resource("Img3.jpg")));
        const int midY = (kPlotTop + kPlotBottom) / 2, midX = (kPlotLeft + kPlotRight) / 2;
        QVERIFY(isDark(img.pixel(kPlotLeft, midY + 3)));
        QVERIFY(isDark(img.pixel(kPlotRight, midY + 3)));
        QVERIFY(isDark(img.pixel(midX, kPlotTop)));
        QVERIFY(isDark(img.pixel(midX, kPlotBottom)));
        // outside the frame, right of the plot: paper
        QVERIFY(qGray(img.pixel(kPlotRight + 6, midY)) > 245);
        // a decade grid line is grey, not black and not white, where no Kv
        // line crosses (dP = 0.1 at Q = 800: above every line)
        const int g = qGray(img.pixel(qRound(xOfDp(0.1)), qRound(yOfQ(800))));
        QVERIFY2(g > 100 && g < 200, qPrintable(QString::number(g)));
        // a minor grid line (dP = 0.03) is lighter but visible
        const int m = qGray(img.pixel(qRound(xOfDp(0.03)), qRound(yOfQ(800))));
        QVERIFY2(m > 160 && m < 240, qPrintable(QString::number(m)));
    }

    // The worked example: up from about 0.6 atm to about 3 m3/h and no further.
    void nomogramWorkedExample()
    {
        using namespace nomogram;
        const QImage img = decodeJpeg(readFile(resource("Img3.jpg")));
        const int x = qRound(xOfDp(kExampleDp));
        const int y = qRound(yOfQ(kExampleQ));
        auto blueInColumn = [&](int y0, int y1) {
            int n = 0;
            for (int yy = y0; yy <= y1; ++yy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (isExampleBlue(img.pixel(x + dx, yy))) {
                        ++n;
                        break;
                    }
            return n;
        };
        auto blueInRow = [&](int x0, int x1) {
            int n = 0;
            for (int xx = x0; xx <= x1; ++xx)
                for (int dy = -1; dy <= 1; ++dy)
                    if (isExampleBlue(img.pixel(xx, y + dy))) {
                        ++n;
                        break;
                    }
            return n;
        };
        // dashed: more than half of the way is drawn, but not all of it
        const int up = blueInColumn(y + 6, kPlotBottom - 2);
        const int upLength = kPlotBottom - 2 - (y + 6) + 1;
        QVERIFY2(up > upLength / 2 && up < upLength, qPrintable(QString::number(up)));
        const int across = blueInRow(kPlotLeft + 2, x - 6);
        const int acrossLength = x - 6 - (kPlotLeft + 2) + 1;
        QVERIFY2(across > acrossLength / 2 && across < acrossLength, qPrintable(QString::number(across)));
        // nothing above the flow nor right of the drop
        QCOMPARE(blueInColumn(kPlotTop + 1, y - 8), 0);
        QCOMPARE(blueInRow(x + 8, kPlotRight - 1), 0);
        // the Kv lines are black, not the example's blue
        QVERIFY(!isExampleBlue(img.pixel(qRound(xOfDp(0.02)), qRound(yOfQ(flowOf(100, 0.02))))));
    }

    void iconSizesAndTransparency_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("16") << 16;
        QTest::newRow("32") << 32;
        QTest::newRow("48") << 48;
    }

    void iconSizesAndTransparency()
    {
        QFETCH(int, size);
        QImage icon;
        QVERIFY(icon.load(resource(QStringLiteral("icon/zelton-%1.png").arg(size)), "PNG"));
        QCOMPARE(icon.size(), QSize(size, size));
        QVERIFY(icon.hasAlphaChannel());
        icon = icon.convertToFormat(QImage::Format_ARGB32);
        const int last = size - 1;
        QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(icon.pixel(last, 0)), 0);
        QCOMPARE(qAlpha(icon.pixel(0, last)), 0);
        // opaque drawing on a good part of it; grey-violet gears, a white
        // box and a blue check mark in the lower right quarter
        int opaque = 0, violet = 0, white = 0, blue = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const QRgb c = icon.pixel(x, y);
                if (qAlpha(c) < 255)
                    continue;
                ++opaque;
                const bool lowerRight = x >= size / 2 && y >= size / 2;
                if (qRed(c) > 100 && qBlue(c) > qGreen(c) + 25 && qRed(c) > qGreen(c) && qBlue(c) > qRed(c))
                    ++violet;
                if (lowerRight && qGray(c) > 240)
                    ++white;
                if (lowerRight && qBlue(c) > 150 && qRed(c) < 110)
                    ++blue;
            }
        QVERIFY2(opaque > size * size / 3, qPrintable(QString::number(opaque)));
        QVERIFY2(violet > size * size / 8, qPrintable(QString::number(violet)));
        QVERIFY2(white >= size / 2, qPrintable(QString::number(white)));
        QVERIFY2(blue >= size / 4, qPrintable(QString::number(blue)));
    }

    // The .ico holds the three PNG images as 32-bit DIBs with a mask bit
    // set exactly for the fully transparent pixels.
    void icoMatchesPngs_data()
    {
        QTest::addColumn<QString>("source");
        for (const char *source : kSources)
            QTest::newRow(source) << QString::fromLatin1(source);
    }

    void icoMatchesPngs()
    {
        QFETCH(QString, source);
        QVERIFY2(available(source), qPrintable(m_fresh.error));
        const QByteArray ico = readFile(picturePath(source, "icon/zelton.ico"));
        QVERIFY(ico.size() > 6);
        QCOMPARE(le16(ico, 0), quint16(0));
        QCOMPARE(le16(ico, 2), quint16(1));
        QCOMPARE(le16(ico, 4), quint16(3));
        QList<int> sizes;
        for (int i = 0; i < 3; ++i) {
            const qsizetype entry = 6 + 16 * i;
            const int w = uchar(ico[entry]), h = uchar(ico[entry + 1]);
            QCOMPARE(w, h);
            QCOMPARE(le16(ico, entry + 6), quint16(32));
            const quint32 bytes = le32(ico, entry + 8), offset = le32(ico, entry + 12);
            QVERIFY(offset + bytes <= quint32(ico.size()));
            QCOMPARE(le32(ico, offset + 4), quint32(w));
            QCOMPARE(le32(ico, offset + 8), quint32(2 * h));
            QCOMPARE(le16(ico, offset + 14), quint16(32));
            const int maskStride = ((w + 31) / 32) * 4;
            QCOMPARE(bytes, quint32(40 + w * h * 4 + maskStride * h));

            QImage png;
            QVERIFY(png.load(picturePath(source, QStringLiteral("icon/zelton-%1.png").arg(w)), "PNG"));
            png = png.convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const int row = h - 1 - y; // bottom-up
                    const QRgb dib = le32(ico, offset + 40 + (row * w + x) * 4);
                    QCOMPARE(dib, png.pixel(x, y));
                    const bool masked =
                        uchar(ico[offset + 40 + w * h * 4 + row * maskStride + x / 8]) & (0x80 >> (x % 8));
                    QCOMPARE(masked, qAlpha(png.pixel(x, y)) == 0);
                }
            sizes << w;
        }
        QCOMPARE(sizes, QList<int>({48, 32, 16}));
    }

    void desktopEntry()
    {
        QFile f(resource("zelton.desktop"));
        QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList lines = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0), QStringLiteral("[Desktop Entry]"));
        for (const QString &expected :
             {QStringLiteral("Name=Подбор Zelton"),
              QStringLiteral("Comment=Рекомендации по подбору клапана регулирующего"), QStringLiteral("Exec=zelton %f"),
              QStringLiteral("Icon=zelton"), QStringLiteral("Type=Application"),
              QStringLiteral("Categories=Science;Engineering;"), QStringLiteral("StartupWMClass=zelton"),
              QStringLiteral("MimeType=application/x-zelton-sizing;")})
            QVERIFY2(lines.contains(expected), qPrintable(expected));
    }
};

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    TestPictures test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_pictures.moc"
