// The JPEG decoder: colours, sizes, grey and CMYK pictures, the size
// limit, corrupt and truncated data, a decoder that stays silent and
// recovers, and pictures read from files and resources.
#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include <jpeglib.h>
#include <unistd.h>

#include "tests/pictures/samples.h"
#include "tests/testfiles.h"
#include "widgets/image.h"
#include "widgets/jpeg.h"

namespace {

// Encodes pixels given row by row with libjpeg, in the given colour space
// (3 components RGB, 1 grey, 4 CMYK).
QByteArray encode(int width, int height, J_COLOR_SPACE space, int components, const std::vector<unsigned char> &pixels,
                  bool progressive = false)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    for (int c = 0; c < cinfo.num_components; ++c)
        cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    if (progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = static_cast<size_t>(width) * components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<unsigned char *>(pixels.data() + stride * cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    QByteArray out(reinterpret_cast<const char *>(buffer), static_cast<qsizetype>(size));
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

// An RGB picture of four coloured quadrants: red, green / blue, white.
QByteArray quadrants(int width, int height, bool progressive = false)
{
    std::vector<unsigned char> px(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char *p = &px[(static_cast<size_t>(y) * width + x) * 3];
            const bool right = x >= width / 2, bottom = y >= height / 2;
            const QColor c = !bottom ? (right ? QColor(0, 200, 0) : QColor(220, 0, 0))
                                     : (right ? QColor(255, 255, 255) : QColor(0, 0, 210));
            p[0] = static_cast<unsigned char>(c.red());
            p[1] = static_cast<unsigned char>(c.green());
            p[2] = static_cast<unsigned char>(c.blue());
        }
    return encode(width, height, JCS_RGB, 3, px, progressive);
}

// Runs the decoder with stderr caught in a file; returns what was written.
QByteArray stderrOfDecode(const QByteArray &data, bool *threw)
{
    std::fflush(stderr);
    char name[] = "/tmp/zelton-jpeg-stderr-XXXXXX";
    const int fd = mkstemp(name);
    const int saved = dup(2);
    dup2(fd, 2);
    *threw = false;
    try {
        decodeJpeg(data);
    } catch (const EInvalidGraphic &) {
        *threw = true;
    }
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    close(fd);
    const QByteArray written = readFile(QString::fromLocal8Bit(name));
    std::remove(name);
    return written;
}

} // namespace

class TestJpeg : public QObject
{
    Q_OBJECT

private slots:
    void decodesColoursAndSize_data()
    {
        QTest::addColumn<bool>("progressive");
        QTest::newRow("baseline") << false;
        QTest::newRow("progressive") << true;
    }

    void decodesColoursAndSize()
    {
        QFETCH(bool, progressive);
        const QImage img = decodeJpeg(quadrants(64, 48, progressive));
        QCOMPARE(img.size(), QSize(64, 48));
        QCOMPARE(img.format(), QImage::Format_RGB32);
        QVERIFY(isNear(img.pixel(8, 8), QColor(220, 0, 0)));
        QVERIFY(isNear(img.pixel(56, 8), QColor(0, 200, 0)));
        QVERIFY(isNear(img.pixel(8, 40), QColor(0, 0, 210)));
        QVERIFY(isNear(img.pixel(56, 40), QColor(255, 255, 255)));
    }

    void decodesOddWidthRows()
    {
        // 3 bytes per pixel, 13 pixels: rows need padding in the buffer
        const QImage img = decodeJpeg(quadrants(13, 7));
        QCOMPARE(img.size(), QSize(13, 7));
        QVERIFY(isNear(img.pixel(0, 0), QColor(220, 0, 0), 30));
        QVERIFY(isNear(img.pixel(12, 6), QColor(255, 255, 255), 30));
    }

    void decodesGreyscale()
    {
        std::vector<unsigned char> px(32 * 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x)
                px[static_cast<size_t>(y) * 32 + x] = x < 16 ? 40 : 200;
        const QImage img = decodeJpeg(encode(32, 16, JCS_GRAYSCALE, 1, px));
        QCOMPARE(img.size(), QSize(32, 16));
        QVERIFY(isNear(img.pixel(4, 8), QColor(40, 40, 40), 6));
        QVERIFY(isNear(img.pixel(28, 8), QColor(200, 200, 200), 6));
    }

    void decodesAdobeCmyk()
    {
        // Stored inverted, as Adobe writes it: pure red is C=0 M=Y=100 % K=0.
        std::vector<unsigned char> px(16 * 8 * 4);
        for (size_t i = 0; i < px.size(); i += 4) {
            px[i] = 255;
            px[i + 1] = 0;
            px[i + 2] = 0;
            px[i + 3] = 255;
        }
        const QImage img = decodeJpeg(encode(16, 8, JCS_CMYK, 4, px));
        QCOMPARE(img.size(), QSize(16, 8));
        QVERIFY2(isNear(img.pixel(8, 4), QColor(255, 0, 0), 8), qPrintable(QString::number(img.pixel(8, 4), 16)));
    }

    void acceptsLargestAndRefusesLarger_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("max width") << kMaxJpegDimension << 8 << true;
        QTest::newRow("max height") << 8 << kMaxJpegDimension << true;
        QTest::newRow("too wide") << kMaxJpegDimension + 1 << 8 << false;
        QTest::newRow("too high") << 8 << kMaxJpegDimension + 1 << false;
    }

    void acceptsLargestAndRefusesLarger()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, accepted);
        const QByteArray data = encode(width, height, JCS_GRAYSCALE, 1,
                                       std::vector<unsigned char>(static_cast<size_t>(width) * height, 128));
        if (accepted) {
            QCOMPARE(decodeJpeg(data).size(), QSize(width, height));
        } else {
            try {
                decodeJpeg(data);
                QFAIL("no error for an oversized picture");
            } catch (const EInvalidGraphic &e) {
                QCOMPARE(QString::fromStdString(e.what()),
                         QStringLiteral("Picture too large: %1 x %2").arg(width).arg(height));
            }
        }
    }

    void emptyDataIsAnError()
    {
        try {
            decodeJpeg(QByteArray());
            QFAIL("no error for empty data");
        } catch (const Exception &e) {
            // raised as the application's own error class
            QCOMPARE(QString::fromStdString(e.what()), QStringLiteral("Picture data is empty"));
            QCOMPARE(QString(e.ClassName()), QStringLiteral("EInvalidGraphic"));
        }
        QVERIFY_THROWS_EXCEPTION(EInvalidGraphic, decodeJpeg(nullptr, 10));
    }

    void corruptDataIsAnError_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("pattern");
        const QByteArray valid = quadrants(64, 48);
        const QString jpegError = QStringLiteral("^JPEG error( #\\d+)?: .+");

        QTest::newRow("one byte") << QByteArray(1, '\xFF') << jpegError;
        QTest::newRow("not a JPEG") << QByteArray("\x89PNG\r\n\x1A\n0000000000000000", 24)
                                    << QStringLiteral("^JPEG error #\\d+: Not a JPEG file");
        std::mt19937 random(20240501);
        for (int n : {2, 3, 100, 4096}) {
            QByteArray noise(n, '\0');
            for (char &c : noise)
                c = static_cast<char>(random() & 0xFF);
            QTest::addRow("random %d bytes", n) << noise << jpegError;
        }
        // random bytes behind a genuine start of image marker
        QByteArray soiNoise("\xFF\xD8", 2);
        for (int i = 0; i < 2000; ++i)
            soiNoise.append(static_cast<char>(random() & 0xFF));
        QTest::newRow("SOI then noise") << soiNoise << jpegError;

        // cut at several points: in the headers, in the scan, before EOI
        for (qsizetype cut :
             {qsizetype(2), qsizetype(20), qsizetype(150), valid.size() / 2, valid.size() - 40, valid.size() - 2}) {
            QTest::addRow("truncated to %lld of %lld", static_cast<long long>(cut),
                          static_cast<long long>(valid.size()))
                << valid.left(cut) << jpegError;
        }

        // all headers intact up to the start of scan, then garbage
        const qsizetype sos = valid.indexOf(QByteArray("\xFF\xDA", 2));
        QVERIFY(sos > 0);
        const qsizetype scanStart = sos + 2 + ((uchar(valid[sos + 2]) << 8) | uchar(valid[sos + 3]));
        for (int seed : {1, 2, 3}) {
            std::mt19937 r(static_cast<unsigned>(seed));
            QByteArray g = valid.left(scanStart);
            for (int i = 0; i < 600; ++i)
                g.append(static_cast<char>(r() & 0xFF));
            QTest::addRow("valid header, garbage scan %d", seed) << g << jpegError;
        }
        // headers, then the data ends right after the start of scan
        QTest::newRow("header only") << valid.left(scanStart) << jpegError;
    }

    void corruptDataIsAnError()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, pattern);
        try {
            const QImage img = decodeJpeg(data);
            QFAIL(qPrintable(QStringLiteral("decoded to %1 x %2 without error").arg(img.width()).arg(img.height())));
        } catch (const EInvalidGraphic &e) {
            const QString message = QString::fromStdString(e.what());
            QVERIFY2(QRegularExpression(pattern).match(message).hasMatch(), qPrintable(message));
        }
    }

    void prematureEndNamesTheCause()
    {
        const QByteArray valid = quadrants(64, 48);
        try {
            decodeJpeg(valid.left(valid.size() - 2));
            QFAIL("no error for a picture without its end");
        } catch (const EInvalidGraphic &e) {
            QVERIFY2(QString::fromStdString(e.what()).contains("Premature end of JPEG file"), e.what());
        }
    }

    void decoderStaysSilent()
    {
        bool threw = false;
        const QByteArray valid = quadrants(64, 48);
        QCOMPARE(stderrOfDecode(valid.left(valid.size() / 2), &threw), QByteArray());
        QVERIFY(threw);
        QCOMPARE(stderrOfDecode(QByteArray("\xFF\xD8\xFF\xE0garbage", 11), &threw), QByteArray());
        QVERIFY(threw);
        QCOMPARE(stderrOfDecode(valid, &threw), QByteArray());
        QVERIFY(!threw);
    }

    void decoderRecoversAfterErrors()
    {
        // an error leaves nothing behind that spoils the next decoding
        for (int i = 0; i < 20; ++i)
            QVERIFY_THROWS_EXCEPTION(EInvalidGraphic, decodeJpeg(quadrants(64, 48).left(300)));
        QCOMPARE(decodeJpeg(quadrants(64, 48)).size(), QSize(64, 48));
    }

    void loadReadsFilesAndResources()
    {
        QCOMPARE(loadJpeg(resource("Img1.jpg")).size(), QSize(800, 400));
        QCOMPARE(loadJpeg(":/Img3.jpg").size(), QSize(423, 557));

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        try {
            loadJpeg(dir.filePath("missing.jpg"));
            QFAIL("no error for a missing file");
        } catch (const EInvalidGraphic &e) {
            QCOMPARE(QString::fromStdString(e.what()),
                     QStringLiteral("Cannot read picture ") + dir.filePath("missing.jpg"));
        }
        // a directory where the file should be
        QVERIFY(QDir(dir.path()).mkdir("dir.jpg"));
        QVERIFY_THROWS_EXCEPTION(EInvalidGraphic, loadJpeg(dir.filePath("dir.jpg")));
        // an empty file
        QFile empty(dir.filePath("empty.jpg"));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        try {
            loadJpeg(empty.fileName());
            QFAIL("no error for an empty file");
        } catch (const EInvalidGraphic &e) {
            QCOMPARE(QString::fromStdString(e.what()), QStringLiteral("Picture data is empty"));
        }
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestJpeg test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_jpeg.moc"
