// The window on a screen of twice the density (QT_SCALE_FACTOR=2): its
// pictures come from the @2x versions, pixel for pixel, not from the
// window's pictures scaled up.
#include <QtTest>

#include "tests/ui/mainformfixture.h"
#include "ui_Form_Main.h"
#include "widgets/image.h"
#include "widgets/jpeg.h"

namespace {

// The largest difference of a channel between two pictures of one size.
int largestDifference(const QImage &a, const QImage &b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max(
                {worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

} // namespace

class TestHighDensity : public MainFormFixture
{
    Q_OBJECT

private slots:
    void pictures_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("resource");
        QTest::newRow("Img1") << "Img1"
                              << ":/Img1@2x.jpg";
        QTest::newRow("Img2") << "Img2"
                              << ":/Img2@2x.jpg";
        QTest::newRow("Img3") << "Img3"
                              << ":/Img3@2x.jpg";
    }

    void pictures()
    {
        QFETCH(QString, picture);
        QFETCH(QString, resource);
        auto *image = m_form->findChild<TImage *>(picture);
        QVERIFY(image);
        QCOMPARE(image->devicePixelRatioF(), 2.0);
        const QImage shot = image->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage sharp = loadJpeg(resource).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shot.size(), image->size() * 2);
        QCOMPARE(sharp.size(), shot.size());
        // drawn 1:1 on the device's pixels
        QVERIFY2(largestDifference(shot, sharp) <= 2, qPrintable(QString::number(largestDifference(shot, sharp))));
        // and the test can tell: the window's picture scaled up is far off
        const QImage scaled = image->image()
                                  .scaled(shot.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                  .convertToFormat(QImage::Format_RGB32);
        QVERIFY(largestDifference(shot, scaled) > 60);
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestHighDensity test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_hidpi.moc"
