// Screenshots of the three pages of the main window, compared with the
// reference pictures in tests/ui/reference/ (page0.png .. page2.png).
//
// A pixel differs when one of its colour channels differs by more than
// kChannelTolerance; a page matches when at most kMaxDifferingPixels differ
// (room for small antialiasing differences between font renderers). On a
// mismatch the actual picture and a diff picture (differing pixels in red
// over a faded copy of the reference) are written beside the test program
// and their paths are printed.
//
// ZELTON_UPDATE_REFERENCES=1 rewrites the references from the current window.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTest>

#include "tests/ui/mainformfixture.h"
#include "ui/lookandfeel.h"
#include "ui/mainwindow.h"
#include "ui/pagecontrol.h"
#include "ui_Form_Main.h"

namespace {

constexpr int kChannelTolerance = 40;
constexpr int kMaxDifferingPixels = 150;

QString referencePath(int page)
{
    const QString dir = qEnvironmentVariable("ZELTON_TEST_DATA");
    return QDir(dir).filePath(QStringLiteral("reference/page%1.png").arg(page));
}

bool updating() { return qEnvironmentVariable("ZELTON_UPDATE_REFERENCES") == QLatin1String("1"); }

struct Comparison {
    int differing = 0;
    QImage diff;
};

Comparison compare(const QImage &actual, const QImage &reference)
{
    Comparison c;
    c.diff = QImage(reference.size(), QImage::Format_RGB32);
    for (int y = 0; y < reference.height(); ++y) {
        for (int x = 0; x < reference.width(); ++x) {
            const QRgb a = actual.pixel(x, y);
            const QRgb r = reference.pixel(x, y);
            const bool same = qAbs(qRed(a) - qRed(r)) <= kChannelTolerance
                              && qAbs(qGreen(a) - qGreen(r)) <= kChannelTolerance
                              && qAbs(qBlue(a) - qBlue(r)) <= kChannelTolerance;
            if (same) {
                const int g = 192 + qGray(r) / 4;
                c.diff.setPixel(x, y, qRgb(g, g, g));
            } else {
                ++c.differing;
                c.diff.setPixel(x, y, qRgb(255, 0, 0));
            }
        }
    }
    return c;
}

} // namespace

class TestScreenshots : public MainFormFixture
{
    Q_OBJECT

private:
    QImage grabPage(int page)
    {
        m_form->ui->PgCtrl_Sys->setCurrentIndex(page);
        return m_form->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

private slots:
    void compareWithReference()
    {
        // The comparison itself: an identical picture matches, a picture
        // with a changed block beyond the allowance does not.
        QImage a(40, 40, QImage::Format_RGB32);
        a.fill(Qt::white);
        QImage b = a;
        QCOMPARE(compare(a, b).differing, 0);
        b.setPixel(3, 3, qRgb(255 - kChannelTolerance, 255, 255));
        QCOMPARE(compare(a, b).differing, 0);
        b.setPixel(20, 20, qRgb(255 - kChannelTolerance - 1, 255, 255));
        QCOMPARE(compare(a, b).differing, 1);
        QPainter(&b).fillRect(0, 0, 13, 13, Qt::black);
        const Comparison c = compare(a, b);
        QCOMPARE(c.differing, 13 * 13 + 1);
        QCOMPARE(c.diff.pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(c.diff.pixel(30, 30), qRgb(255, 255, 255));
    }

    void page_data()
    {
        QTest::addColumn<int>("page");
        QTest::newRow("Sht_Sys1") << 0;
        QTest::newRow("Sht_Sys2") << 1;
        QTest::newRow("Sht_Dia") << 2;
    }

    void page()
    {
        QFETCH(int, page);
        const QImage actual = grabPage(page);
        QCOMPARE(actual.size(), QSize(808, 588));
        const QString refPath = referencePath(page);

        if (updating()) {
            QDir().mkpath(QFileInfo(refPath).absolutePath());
            QVERIFY2(actual.save(refPath), qPrintable(refPath));
            qInfo("reference rewritten: %s", qPrintable(refPath));
            return;
        }

        QImage reference(refPath);
        QVERIFY2(!reference.isNull(), qPrintable(QStringLiteral("no reference picture %1").arg(refPath)));
        reference = reference.convertToFormat(QImage::Format_RGB32);
        QCOMPARE(reference.size(), actual.size());

        const Comparison c = compare(actual, reference);
        if (c.differing > kMaxDifferingPixels) {
            const QString dir = QCoreApplication::applicationDirPath();
            const QString actualPath = QDir(dir).filePath(QStringLiteral("page%1-actual.png").arg(page));
            const QString diffPath = QDir(dir).filePath(QStringLiteral("page%1-diff.png").arg(page));
            actual.save(actualPath);
            c.diff.save(diffPath);
            QFAIL(qPrintable(QStringLiteral("page %1: %2 pixels differ (at most %3 allowed)\n"
                                            "   actual: %4\n   diff:   %5\n   reference: %6")
                                 .arg(page)
                                 .arg(c.differing)
                                 .arg(kMaxDifferingPixels)
                                 .arg(actualPath, diffPath, refPath)));
        }
    }
};

QTEST_MAIN(TestScreenshots)
#include "test_screenshots.moc"
