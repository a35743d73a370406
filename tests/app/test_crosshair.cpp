// The crosshair over the nomogram: drawn where the mouse is, left where
// the panel is, erased once over the bare page.

#include "app/application.h"
#include "tests/app/workflowfixture.h"
#include "tests/paintcounter.h"

class TestCrosshair : public WorkflowFixture
{
    Q_OBJECT

private slots:

    void crosshairFollowsTheMouse();
    void crosshairErasedOnceOverThePage();
};

namespace {

QImage grabPicture(QWidget *page)
{
    return page->grab(QRect(0, 0, 423, 557)).toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

void TestCrosshair::crosshairFollowsTheMouse()
{
    openWindow();
    clickPage(2);
    QWidget *page = m_form->ui->Sht_Dia;
    QWidget *overlay = m_form->ui->L_Top;
    const QImage clean = grabPicture(page);
    const QRgb red = qRgb(255, 0, 0);

    const int X = 100, Y = 200;
    moveMouse(overlay, QPoint(X, Y));
    const QImage drawn = grabPicture(page);
    int redInColumn = 0, redInRow = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) {
            if (drawn.pixel(x, y) == clean.pixel(x, y))
                continue;
            QVERIFY2(x == X || y == Y, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            QCOMPARE(drawn.pixel(x, y), red);
            redInColumn += x == X;
            redInRow += y == Y;
        }
    // dashed lines across the whole picture
    QVERIFY(redInColumn > 557 / 3 && redInColumn < 557);
    QVERIFY(redInRow > 423 / 3 && redInRow < 423);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(drawn.pixel(X, i), red);
        QCOMPARE(drawn.pixel(i, Y), red);
    }
    QCOMPARE(drawn.pixel(X, 4), clean.pixel(X, 4));
    QCOMPARE(drawn.pixel(5, Y), clean.pixel(5, Y));
    // the end point is not painted: column 422 falls on a dash, 421 is red
    QCOMPARE(drawn.pixel(421, Y), red);
    QCOMPARE(drawn.pixel(422, Y), clean.pixel(422, Y));

    // the next move draws it at the new place only
    moveMouse(overlay, QPoint(300, 50));
    const QImage moved = grabPicture(page);
    QCOMPARE(moved.pixel(X, 1), clean.pixel(X, 1));
    QCOMPARE(moved.pixel(300, 1), red);
    QCOMPARE(moved.pixel(1, 50), red);

    // the panel has no handler: the crosshair stays
    moveMouse(m_form->ui->Pan_Dia, QPoint(10, 10));
    moveMouse(m_form->ui->L_Dia, QPoint(10, 10));
    // nor does a drag over it, which the panel leaves to the page
    QTest::mousePress(m_form->ui->Pan_Dia, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(m_form->ui->Pan_Dia, QPoint(20, 20));
    QTest::mouseRelease(m_form->ui->Pan_Dia, Qt::LeftButton, {}, QPoint(20, 20));
    QCoreApplication::processEvents();
    QCOMPARE(grabPicture(page), moved);

    // over the bare page it goes, and the picture is its own again
    moveMouse(page, QPoint(440, 30));
    QCoreApplication::processEvents();
    QCOMPARE(grabPicture(page), clean);

    // a crosshair left on the page goes when another page is shown
    moveMouse(overlay, QPoint(X, Y));
    QCOMPARE(grabPicture(page), drawn);
    clickPage(0);
    clickPage(2);
    QCOMPARE(grabPicture(page), clean);
}

void TestCrosshair::crosshairErasedOnceOverThePage()
{
    openWindow();
    clickPage(2);
    QWidget *page = m_form->ui->Sht_Dia;
    PaintCounter counter;
    m_form->ui->L_Top->installEventFilter(&counter);
    QCoreApplication::processEvents();
    counter.paints = 0;

    // no crosshair was ever drawn; the first move over the page repaints
    // the overlay once (the update is delivered with the posted events),
    // the next ones not at all
    moveMouse(page, QPoint(440, 30));
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints, 1);
    moveMouse(page, QPoint(450, 40));
    moveMouse(page, QPoint(460, 500));
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints, 1);

    // a move over the picture repaints it at once, and arms the erase again
    moveMouse(m_form->ui->L_Top, QPoint(10, 10));
    QCOMPARE(counter.paints, 2);
    moveMouse(page, QPoint(440, 30));
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints, 3);
    moveMouse(page, QPoint(441, 30));
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints, 3);
}

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    prepareApplication(app);
    TestCrosshair test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_crosshair.moc"
