// The page control of the main window: the pages a field's exit check and
// the user's page switches leave on screen.
#include <QApplication>
#include <QtTest>

#include "tests/widgets/testform.h"
#include "ui/pagecontrol.h"
#include "widgets/flatfloatedit.h"

class TestPageControl : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setStyle("Fusion"); }

    // A field that rejects its text when its page is switched away from
    // code asks for its page back, and the page control shows it again.
    void rejectedExitOnPageChange()
    {
        QWidget w;
        w.resize(300, 200);
        auto *tabs = new TPageControl(&w);
        tabs->setGeometry(0, 0, 300, 200);
        auto *page0 = new QWidget;
        auto *page1 = new QWidget;
        auto *e = new TFlatFloatEdit(page0);
        e->setGeometry(10, 10, 60, 21);
        auto *other = new TFlatFloatEdit(page1);
        other->setGeometry(10, 10, 60, 21);
        tabs->addTab(page0, "0");
        tabs->addTab(page1, "1");
        QVERIFY(showActive(w));

        e->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(e, "250");
        tabs->setCurrentIndex(1);
        QCoreApplication::processEvents();

        QCOMPARE(tabs->currentIndex(), 0);
        QVERIFY(e->isVisible());
        QCOMPARE(QApplication::focusWidget(), e);
        QCOMPARE(e->text(), QString("0.00"));
        QCOMPARE(e->selectedText(), QString("0.00"));

        // A valid text lets the page change.
        QTest::keyClicks(e, "25");
        tabs->setCurrentIndex(1);
        QCoreApplication::processEvents();
        QCOMPARE(tabs->currentIndex(), 1);
        QCOMPARE(e->text(), QString("25.00"));
        QVERIFY(QApplication::focusWidget() != e);
    }
};

QTEST_MAIN(TestPageControl)
#include "test_pagecontrol.moc"
