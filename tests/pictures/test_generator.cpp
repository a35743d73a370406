// The picture generator against the committed pictures and icon.
//
// Run twice on one machine it writes the same bytes. On another machine the
// raster engine takes other SIMD code paths and antialiased pixels come out
// differently, so the committed files are compared with the generator's
// output pixel by pixel within a tolerance (tests/pictures/picturematch.h),
// the three pictures and the icon images each on their own.
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/pictures/generator.h"
#include "tests/pictures/picturematch.h"
#include "tests/pictures/samples.h"
#include "widgets/jpeg.h"

namespace {

// Levels a channel may lie beyond the range of its neighbourhood in the
// other picture. Rounding in the blending code of another CPU moves a pixel
// by a few levels; the JPEG encoding can turn that into a changed
// coefficient, which moves the pixels of its 8 x 8 block by about 5 levels
// at quality 92; 16 leaves room for three such in one block. A colour
// change the eye would notice is larger.
constexpr int kTolerance = 16;

QImage decode(const QString &path)
{
    if (path.endsWith(QLatin1String(".jpg")))
        return decodeJpeg(readFile(path));
    return QImage(path, "PNG");
}

QImage sheet(int w, int h, QRgb fill)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(fill);
    return img;
}

// A vertical stroke one pixel wide in column x, rows 5 to 24.
void stroke(QImage &img, int x, QRgb c)
{
    for (int y = 5; y < 25; ++y)
        img.setPixel(x, y, c);
}

} // namespace

class TestGenerator : public QObject
{
    Q_OBJECT

    FreshRun m_fresh;

    void compareWithCommitted(const QString &name)
    {
        QVERIFY2(m_fresh.ok(), qPrintable(m_fresh.error));
        const QImage fresh = decode(m_fresh.filePath(name));
        const QImage committed = decode(resource(name));
        QVERIFY2(!fresh.isNull() && !committed.isNull(), qPrintable(name));
        QCOMPARE(fresh.size(), committed.size());
        const PictureDifference d = comparePictures(fresh, committed, kTolerance);
        QVERIFY2(d.unexplained == 0,
                 qPrintable(QStringLiteral("%1: %2 pixels differ beyond the tolerance, the first at %3,%4 "
                                           "(after a change to the drawing, run tools/regenerate.sh)")
                                .arg(name)
                                .arg(d.unexplained)
                                .arg(d.first.x())
                                .arg(d.first.y())));
    }

private slots:
    void initTestCase() { m_fresh.run(); }

    // The comparison: what it lets pass and what it does not.
    void tolerance_data()
    {
        QTest::addColumn<QImage>("first");
        QTest::addColumn<QImage>("second");
        QTest::addColumn<int>("unexplained");

        const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0);
        const QImage paper = sheet(30, 30, white);
        QImage line = paper;
        stroke(line, 10, black);
        QTest::newRow("same") << line << line << 0;

        // a two-pixel stroke a fraction of a pixel further right: the
        // antialiased columns on both sides change by half the range
        QImage left = paper, right = paper;
        stroke(left, 10, qRgb(51, 51, 51));
        stroke(left, 11, black);
        stroke(left, 12, qRgb(204, 204, 204));
        stroke(right, 10, qRgb(178, 178, 178));
        stroke(right, 11, black);
        stroke(right, 12, qRgb(77, 77, 77));
        QTest::newRow("edge moved by half a pixel") << left << right << 0;

        // the colour of a nearly transparent pixel hardly shows
        QImage faint = sheet(30, 30, qRgba(0, 0, 0, 0)), faintOther = faint;
        faint.setPixel(7, 7, qRgba(0, 0, 0, 2));
        faintOther.setPixel(7, 7, qRgba(126, 126, 126, 2));
        QTest::newRow("colour of an almost transparent pixel") << faint << faintOther << 0;

        QTest::newRow("grey within the tolerance") << paper << sheet(30, 30, qRgb(239, 239, 239)) << 0;
        QTest::newRow("grey beyond the tolerance") << paper << sheet(30, 30, qRgb(238, 238, 238)) << 1800;
        QTest::newRow("stroke dropped") << line << paper << 20;
        QImage moved = paper;
        stroke(moved, 12, black);
        QTest::newRow("stroke moved by two pixels") << line << moved << 40;
        QTest::newRow("another size") << paper << sheet(30, 31, white) << 930;
    }

    void tolerance()
    {
        QFETCH(QImage, first);
        QFETCH(QImage, second);
        QFETCH(int, unexplained);
        QCOMPARE(comparePictures(first, second, kTolerance).unexplained, unexplained);
        QCOMPARE(comparePictures(second, first, kTolerance).unexplained, unexplained);
    }

    void redrawsThePictures_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &name : generatedPictures())
            QTest::newRow(qPrintable(name)) << name;
    }

    void redrawsThePictures()
    {
        QFETCH(QString, name);
        compareWithCommitted(name);
    }

    void redrawsTheIcons_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &name : generatedIcons())
            if (name.endsWith(QLatin1String(".png")))
                QTest::newRow(qPrintable(name)) << name;
    }

    void redrawsTheIcons()
    {
        QFETCH(QString, name);
        compareWithCommitted(name);
    }

    // On one machine the output is the same, byte for byte.
    void sameBytesOnTheSameMachine()
    {
        QVERIFY2(m_fresh.ok(), qPrintable(m_fresh.error));
        QTemporaryDir again;
        QVERIFY(again.isValid());
        const QString error = runGenerator(again.path());
        QVERIFY2(error.isEmpty(), qPrintable(error));
        for (const QString &name : generatedPictures() + generatedIcons()) {
            const QByteArray first = readFile(m_fresh.filePath(name));
            QVERIFY2(!first.isEmpty(), qPrintable(name));
            QVERIFY2(first == readFile(again.filePath(name)), qPrintable(name + " differs between two runs"));
        }
    }

    void needsAWritableDirectory()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        // a regular file where the output directory should be
        QFile blocker(dir.filePath("out"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString error = runGenerator(dir.filePath("out"));
        QVERIFY2(error.contains(QLatin1String("cannot")), qPrintable(error));
    }
};

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    TestGenerator test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_generator.moc"
