// The picture control: its defaults, where a picture lies in the box,
// drawing one to one and scaled down, pictures from files and resources,
// and a picture that cannot be read keeping the previous one.
#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/pictures/samples.h"
#include "tests/testfiles.h"
#include "widgets/image.h"
#include "widgets/jpeg.h"

class TestImage : public QObject
{
    Q_OBJECT

private slots:
    void imageDefaults()
    {
        TImage img;
        QVERIFY(img.center());
        QVERIFY(img.proportional());
        QVERIFY(img.image().isNull());
        QCOMPARE(img.picture(), QString());
        QCOMPARE(img.property("Picture").toString(), QString());
        QCOMPARE(img.property("Center").toBool(), true);
        QCOMPARE(img.property("Proportional").toBool(), true);
        QVERIFY(img.pictureRect().isEmpty());
    }

    void placement_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<bool>("center");
        QTest::addColumn<bool>("proportional");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("smaller: centred 1:1")
            << QSize(40, 20) << QSize(100, 60) << true << true << QRect(30, 20, 40, 20);
        QTest::newRow("tiny: never scaled up")
            << QSize(10, 10) << QSize(200, 200) << true << true << QRect(95, 95, 10, 10);
        QTest::newRow("exact: 1:1") << QSize(800, 400) << QSize(800, 400) << true << true << QRect(0, 0, 800, 400);
        QTest::newRow("too wide: scaled down") << QSize(40, 20) << QSize(20, 20) << true << true << QRect(0, 5, 20, 10);
        QTest::newRow("too high: scaled down")
            << QSize(30, 90) << QSize(60, 60) << true << true << QRect(20, 0, 20, 60);
        QTest::newRow("one side too long") << QSize(120, 10) << QSize(60, 100) << true << true << QRect(0, 47, 60, 5);
        QTest::newRow("not centred") << QSize(40, 20) << QSize(100, 60) << false << true << QRect(0, 0, 40, 20);
        QTest::newRow("not proportional: clipped, centred")
            << QSize(40, 20) << QSize(20, 20) << true << false << QRect(-10, 0, 40, 20);
    }

    void placement()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, box);
        QFETCH(bool, center);
        QFETCH(bool, proportional);
        QFETCH(QRect, expected);
        TImage img;
        img.setCenter(center);
        img.setProportional(proportional);
        img.setImage(pattern(picture.width(), picture.height()));
        img.resize(box);
        QCOMPARE(img.pictureRect(), expected);
    }

    void drawsOneToOneCentred()
    {
        const QImage picture = pattern(40, 20);
        TImage img;
        img.setImage(picture);
        img.resize(100, 60);
        const QImage shot = img.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shot.size(), QSize(100, 60));
        // the picture, pixel for pixel, at the centred offset
        QCOMPARE(shot.copy(30, 20, 40, 20), picture);
        // and nothing of it around
        const QRgb background = shot.pixel(0, 0);
        for (int x = 0; x < 100; ++x) {
            QCOMPARE(shot.pixel(x, 19), background);
            QCOMPARE(shot.pixel(x, 40), background);
        }
        for (int y = 0; y < 60; ++y) {
            QCOMPARE(shot.pixel(29, y), background);
            QCOMPARE(shot.pixel(70, y), background);
        }
    }

    void drawsScaledDownProportionally()
    {
        // red left half, blue right half
        QImage picture(80, 40, QImage::Format_RGB32);
        picture.fill(QColor(230, 0, 0));
        QPainter(&picture).fillRect(40, 0, 40, 40, QColor(0, 0, 230));
        TImage img;
        img.setImage(picture);
        img.resize(40, 40);
        const QImage shot = img.grab().toImage().convertToFormat(QImage::Format_RGB32);
        // scaled to 40 x 20 at y 10
        QVERIFY(isNear(shot.pixel(5, 15), QColor(230, 0, 0), 20));
        QVERIFY(isNear(shot.pixel(35, 25), QColor(0, 0, 230), 20));
        const QRgb background = shot.pixel(20, 2);
        QVERIFY(!isNear(background, QColor(230, 0, 0), 60) && !isNear(background, QColor(0, 0, 230), 60));
        QCOMPARE(shot.pixel(5, 8), background);
        QCOMPARE(shot.pixel(35, 31), background);
        QVERIFY(isNear(shot.pixel(5, 10), QColor(230, 0, 0), 20));
        QVERIFY(isNear(shot.pixel(35, 29), QColor(0, 0, 230), 20));
    }

    void pictureFromFileAndResource_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::newRow("file") << resource("Img2.jpg") << QSize(800, 400);
        QTest::newRow("resource Img1") << QStringLiteral(":/Img1.jpg") << QSize(800, 400);
        QTest::newRow("resource Img3") << QStringLiteral(":/Img3.jpg") << QSize(423, 557);
    }

    void pictureFromFileAndResource()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        TImage img;
        QVERIFY(img.setProperty("Picture", path));
        QCOMPARE(img.picture(), path);
        QCOMPARE(img.image().size(), size);
        QCOMPARE(img.sizeHint(), size);
        QCOMPARE(img.image(), loadJpeg(path));
        // shown 1:1 in a box of its own size
        img.resize(size);
        const QImage shot = img.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shot, img.image());
    }

    void badPictureKeepsThePrevious()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile bad(dir.filePath("bad.jpg"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write(readFile(resource("Img1.jpg")).left(5000));
        bad.close();

        TImage img;
        img.setPicture(":/Img3.jpg");
        const QImage before = img.image();
        QVERIFY_THROWS_EXCEPTION(EInvalidGraphic, img.setPicture(bad.fileName()));
        QCOMPARE(img.picture(), QStringLiteral(":/Img3.jpg"));
        QCOMPARE(img.image(), before);
        QVERIFY_THROWS_EXCEPTION(EInvalidGraphic, img.setPicture(":/no-such-picture.jpg"));
        QCOMPARE(img.image(), before);

        // an empty path clears the picture
        img.setPicture(QString());
        QVERIFY(img.image().isNull());
        QVERIFY(img.pictureRect().isEmpty());
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestImage test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_image.moc"
