// The two-pixel frame ring of the flat edit, checked pixel by pixel.
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>
#include <QtTest>

#include <memory>

#include "tests/widgets/testform.h"

namespace {

// The colours of the ring, from the outside in, on each side.
struct Ring {
    QColor top, left, bottom, right;
};

Ring ringAt(const QImage &img, int d)
{
    const int w = img.width(), h = img.height();
    // Middle of each side, d pixels in.
    return {img.pixelColor(w / 2, d), img.pixelColor(d, h / 2), img.pixelColor(w / 2, h - 1 - d),
            img.pixelColor(w - 1 - d, h / 2)};
}

// True when the whole one-pixel ring d pixels in has colour c.
bool ringIs(const QImage &img, int d, const QColor &c)
{
    const int w = img.width(), h = img.height();
    for (int x = d; x < w - d; ++x)
        if (img.pixelColor(x, d) != c || img.pixelColor(x, h - 1 - d) != c)
            return false;
    for (int y = d; y < h - d; ++y)
        if (img.pixelColor(d, y) != c || img.pixelColor(w - 1 - d, y) != c)
            return false;
    return true;
}

// Both rings as one list of pixels, to compare two looks.
QList<QRgb> ringPixels(const QImage &img)
{
    QList<QRgb> out;
    for (int d = 0; d < 2; ++d) {
        for (int x = d; x < img.width() - d; ++x)
            out << img.pixel(x, d) << img.pixel(x, img.height() - 1 - d);
        for (int y = d; y < img.height() - d; ++y)
            out << img.pixel(d, y) << img.pixel(img.width() - 1 - d, y);
    }
    return out;
}

// Paints a mark over the finished control, as a painter hooked in through
// an event filter would.
class OverPainter : public QObject
{
public:
    bool eventFilter(QObject *obj, QEvent *ev) override
    {
        if (ev->type() != QEvent::Paint)
            return false;
        obj->event(ev); // the control paints itself, frame included
        QPainter p(static_cast<QWidget *>(obj));
        p.fillRect(QRect(0, 0, 3, 3), Qt::red);
        return true;
    }
};

const QColor kShadow(128, 128, 128);
const QColor kHighlight(255, 255, 255);
const QColor kFace(212, 208, 200);
const QColor kDkShadow(64, 64, 64);
const QColor kWhite(255, 255, 255);

} // namespace

class TestFlatFrame : public TestFormFixture
{
    Q_OBJECT

private slots:
    void colourTable();
    void lineLook_data();
    void lineLook();
    void focusAndHoverDoNotChangeInactiveLook();
    void activeLook();
    void mouseMoveSetsMouseInside();
    void standardEdge();
    void noBorder();
    void borderColour();
    void repaints_data();
    void repaints();
    void backgroundColour();
    void version();
    void eventFilterCanPaintOver();
};

void TestFlatFrame::colourTable()
{
    QCOMPARE(resolveColor(clBtnShadow), kShadow);
    QCOMPARE(resolveColor(clBtnFace), kFace);
    QCOMPARE(resolveColor(clWindow), kWhite);
    QCOMPARE(resolveColor(clHighlight), QColor(10, 36, 106));
    QCOMPARE(resolveColor(cl3DDkShadow), kDkShadow);
    QCOMPARE(resolveColor(clRed), QColor(255, 0, 0));
    QCOMPARE(resolveColor(rgbColor(1, 2, 3)), QColor(1, 2, 3));
    QCOMPARE(resolveColor(sysColorRef(200)), QColor(0, 0, 0));
    QCOMPARE(ColorToRGB(clBtnFace), rgbColor(212, 208, 200));
    QCOMPARE(qColorToColor(QColor(0, 0, 255)), clBlue);
}

// The look of this program's fields, under several styles.
void TestFlatFrame::lineLook_data()
{
    QTest::addColumn<QString>("style");
    for (const QString &key : QStyleFactory::keys())
        QTest::newRow(qPrintable(key)) << key;
}

void TestFlatFrame::lineLook()
{
    QFETCH(QString, style);
    TFlatFloatEdit *e = m_form->a;
    QStyle *st = QStyleFactory::create(style);
    QVERIFY(st);
    st->setParent(e);
    e->setStyle(st);
    const QImage img = grabImage(e);
    QVERIFY(ringIs(img, 0, kShadow));
    QVERIFY(ringIs(img, 1, kWhite));
    // The text area starts inside the ring with the background colour.
    QCOMPARE(img.pixelColor(2, 2), kWhite);
    QCOMPARE(img.pixelColor(img.width() - 3, img.height() - 3), kWhite);
}

void TestFlatFrame::focusAndHoverDoNotChangeInactiveLook()
{
    TFlatFloatEdit *e = m_form->a;
    const QList<QRgb> before = ringPixels(grabImage(e));
    e->setFocus(Qt::TabFocusReason);
    QVERIFY(e->hasFocus());
    QCOMPARE(ringPixels(grabImage(e)), before);
    hover(e, true);
    QVERIFY(e->MouseInside());
    QCOMPARE(ringPixels(grabImage(e)), before);
    hover(e, false);
    m_form->button->setFocus();
    QCOMPARE(ringPixels(grabImage(e)), before);
}

void TestFlatFrame::activeLook()
{
    TFlatFloatEdit *e = m_form->a;
    e->setActivate(true);
    const QList<QRgb> line = ringPixels(grabImage(e));

    auto checkActive = [](const QImage &img) {
        const Ring outer = ringAt(img, 0);
        QCOMPARE(outer.top, kShadow);
        QCOMPARE(outer.left, kShadow);
        QCOMPARE(outer.bottom, kHighlight);
        QCOMPARE(outer.right, kHighlight);
        QCOMPARE(img.pixelColor(0, 0), kShadow);
        QCOMPARE(img.pixelColor(img.width() - 1, 0), kHighlight);
        QCOMPARE(img.pixelColor(0, img.height() - 1), kHighlight);
        QVERIFY(ringIs(img, 1, kFace));
    };

    e->setFocus(Qt::TabFocusReason);
    checkActive(grabImage(e));
    m_form->button->setFocus();
    QCOMPARE(ringPixels(grabImage(e)), line);

    hover(e, true);
    checkActive(grabImage(e));
    hover(e, false);
    QCOMPARE(ringPixels(grabImage(e)), line);
    QVERIFY(ringIs(grabImage(e), 0, kShadow));
}

void TestFlatFrame::mouseMoveSetsMouseInside()
{
    TFlatFloatEdit *e = m_form->a;
    e->setActivate(true);
    QTest::mouseMove(m_form.get(), QPoint(250, 180));
    QTest::mouseMove(e, QPoint(10, 10));
    QVERIFY(e->MouseInside());
    QCOMPARE(ringAt(grabImage(e), 1).top, kFace);
    QTest::mouseMove(m_form.get(), QPoint(250, 180));
    QVERIFY(!e->MouseInside());
    QCOMPARE(ringAt(grabImage(e), 0).bottom, kShadow);
}

void TestFlatFrame::standardEdge()
{
    TFlatFloatEdit *e = m_form->a;
    e->setFlat(false);
    const QImage img = grabImage(e);
    const int w = img.width(), h = img.height();
    const Ring outer = ringAt(img, 0), inner = ringAt(img, 1);
    QCOMPARE(outer.top, kShadow);
    QCOMPARE(outer.left, kShadow);
    QCOMPARE(outer.bottom, kHighlight);
    QCOMPARE(outer.right, kHighlight);
    QCOMPARE(inner.top, kDkShadow);
    QCOMPARE(inner.left, kDkShadow);
    QCOMPARE(inner.bottom, kFace);
    QCOMPARE(inner.right, kFace);
    // Corners: bottom and right are drawn last.
    QCOMPARE(img.pixelColor(0, 0), kShadow);
    QCOMPARE(img.pixelColor(w - 1, 0), kHighlight);
    QCOMPARE(img.pixelColor(0, h - 1), kHighlight);
    QCOMPARE(img.pixelColor(w - 2, 1), kFace);
    QCOMPARE(img.pixelColor(1, 1), kDkShadow);
    // Focus and hover do not matter.
    e->setActivate(true);
    e->setFocus();
    hover(e, true);
    QCOMPARE(ringPixels(grabImage(e)), ringPixels(img));
}

void TestFlatFrame::noBorder()
{
    TFlatFloatEdit *e = m_form->a;
    e->setShowBorder(false);
    const QImage img = grabImage(e);
    QVERIFY(ringIs(img, 0, kWhite));
    QVERIFY(ringIs(img, 1, kWhite));
    e->setShowBorder(true);
    QVERIFY(ringIs(grabImage(e), 0, kShadow));
}

void TestFlatFrame::borderColour()
{
    TFlatFloatEdit *e = m_form->a;
    // Not flat: the new line colour is kept and drawn once the field is
    // flat again.
    e->setFlat(false);
    e->setBorderColor(clRed);
    e->setFlat(true);
    QVERIFY(ringIs(grabImage(e), 0, QColor(255, 0, 0)));
    e->setBorderColor(clBlue);
    QVERIFY(ringIs(grabImage(e), 0, QColor(0, 0, 255)));
    e->resize(80, 25);
    const QImage img = grabImage(e);
    QCOMPARE(img.size(), QSize(80, 25));
    QVERIFY(ringIs(img, 0, QColor(0, 0, 255)));
    QVERIFY(ringIs(img, 1, kWhite));
}

// What a change must repaint, counted in paint events: a grab paints the
// control anew and cannot see a repaint that was never asked for.
void TestFlatFrame::repaints_data()
{
    QTest::addColumn<bool>("activate");
    QTest::addColumn<bool>("flat");
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("repaint");
    QTest::newRow("mouse enters, Activate on") << true << true << "enter" << true;
    QTest::newRow("mouse leaves, Activate on") << true << true << "leave" << true;
    QTest::newRow("mouse enters, Activate off") << false << true << "enter" << false;
    QTest::newRow("mouse leaves, Activate off") << false << true << "leave" << false;
    QTest::newRow("mouse enters, Activate on, not flat") << true << false << "enter" << false;
    QTest::newRow("ShowBorder off") << false << true << "ShowBorder" << true;
    QTest::newRow("ShowBorder off, not flat") << false << false << "ShowBorder" << true;
    QTest::newRow("ShowBorder unchanged") << false << true << "same ShowBorder" << false;
    QTest::newRow("BorderColor new") << false << true << "BorderColor" << true;
    QTest::newRow("BorderColor new, not flat") << false << false << "BorderColor" << false;
    QTest::newRow("BorderColor unchanged") << false << true << "same BorderColor" << false;
    QTest::newRow("Flat off") << false << true << "Flat" << true;
    QTest::newRow("Flat on") << false << false << "Flat" << true;
    QTest::newRow("Activate alone") << false << true << "Activate" << false;
}

void TestFlatFrame::repaints()
{
    QFETCH(bool, activate);
    QFETCH(bool, flat);
    QFETCH(QString, change);
    QFETCH(bool, repaint);
    TFlatFloatEdit *e = m_form->a;
    e->setActivate(activate);
    e->setFlat(flat);
    if (change == "leave")
        hover(e, true);
    PaintCounter counter;
    e->installEventFilter(&counter);
    QCoreApplication::processEvents();
    counter.paints = 0;

    if (change == "enter" || change == "leave")
        hover(e, change == "enter");
    else if (change == "ShowBorder" || change == "same ShowBorder")
        e->setShowBorder(change != "ShowBorder");
    else if (change == "BorderColor" || change == "same BorderColor")
        e->setBorderColor(change == "BorderColor" ? clRed : clBtnShadow);
    else if (change == "Flat")
        e->setFlat(!flat);
    else if (change == "Activate")
        e->setActivate(!activate);
    else
        QFAIL("unknown change");
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints > 0, repaint);
    e->removeEventFilter(&counter);
}

void TestFlatFrame::backgroundColour()
{
    TFlatFloatEdit *e = m_form->a;
    e->setColor(clYellow);
    const QImage img = grabImage(e);
    QVERIFY(ringIs(img, 0, kShadow));
    QVERIFY(ringIs(img, 1, QColor(255, 255, 0)));
    QCOMPARE(img.pixelColor(2, 2), QColor(255, 255, 0));
    e->setShowBorder(false);
    QVERIFY(ringIs(grabImage(e), 0, QColor(255, 255, 0)));
}

void TestFlatFrame::version()
{
    TFlatFloatEdit *e = m_form->a;
    QCOMPARE(e->Version(), QString("1.29"));
    e->setVersion("2.0");
    QCOMPARE(e->Version(), QString("1.29"));
}

void TestFlatFrame::eventFilterCanPaintOver()
{
    TFlatFloatEdit *e = m_form->a;
    OverPainter over;
    e->installEventFilter(&over);
    e->update();
    const QImage img = grabImage(e);
    QCOMPARE(img.pixelColor(0, 0), QColor(255, 0, 0));
    QCOMPARE(img.pixelColor(2, 2), QColor(255, 0, 0));
    // The rest of the ring is the control's own.
    QCOMPARE(img.pixelColor(img.width() / 2, 0), kShadow);
    QCOMPARE(img.pixelColor(img.width() / 2, 1), kWhite);
    e->removeEventFilter(&over);
}

QTEST_MAIN(TestFlatFrame)
#include "test_flatframe.moc"
