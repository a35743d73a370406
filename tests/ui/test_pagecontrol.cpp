// The page control of the main window: the pages a field's exit check and
// the user's page switches leave on screen.
#include <QApplication>
#include <QSignalSpy>
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

    void pageControlRaisesOnChangeOnlyForTheUser()
    {
        TPageControl pc;
        pc.resize(808, 588);
        for (const char *t : {"Первая", "Вторая", "Третья"})
            pc.addTab(new QWidget, QString::fromUtf8(t));
        pc.show();
        QSignalSpy onChange(&pc, &TPageControl::OnChange);
        QSignalSpy current(&pc, &QTabWidget::currentChanged);

        // From code: the page changes, OnChange is not raised.
        pc.setCurrentIndex(2);
        pc.setCurrentWidget(pc.widget(1));
        QCOMPARE(pc.currentIndex(), 1);
        QCOMPARE(current.count(), 2);
        QCOMPARE(onChange.count(), 0);

        // A click on a tab: raised once, with the new page already current.
        int seenIndex = -1;
        connect(&pc, &TPageControl::OnChange, &pc, [&] { seenIndex = pc.currentIndex(); });
        FlatTabBar *bar = pc.flatTabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->buttonRect(0).center());
        QCOMPARE(pc.currentIndex(), 0);
        QCOMPARE(onChange.count(), 1);
        QCOMPARE(seenIndex, 0);

        // A click on the current tab changes nothing and raises nothing.
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->buttonRect(0).center());
        QCOMPARE(onChange.count(), 1);

        // The keyboard page switch of the user.
        QTest::keyClick(&pc, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(pc.currentIndex(), 1);
        QCOMPARE(onChange.count(), 2);

        // The wheel does not switch pages.
        QWheelEvent wheel(QPointF(bar->buttonRect(1).center()), QPointF(bar->mapToGlobal(bar->buttonRect(1).center())),
                          QPoint(0, -120), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar, &wheel);
        QCOMPARE(pc.currentIndex(), 1);
        QCOMPARE(onChange.count(), 2);
    }
};

QTEST_MAIN(TestPageControl)
#include "test_pagecontrol.moc"
