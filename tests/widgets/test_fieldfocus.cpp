// Entering and leaving the numeric entry field: what an entry selects, the
// exit check, a rejected text keeping the focus, and losing the focus to
// another window, which is no exit.
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

#include <cmath>
#include <memory>

#include "core/numtext.h"
#include "tests/widgets/testform.h"

class TestFieldFocus : public TestFormFixture
{
    Q_OBJECT

private slots:
    void focusEntry_data();
    void focusEntry();
    void exitCheck_data();
    void exitCheck();
    void rejectedExitKeepsFocus_data();
    void rejectedExitKeepsFocus();
    void acceptedExitMovesFocus();
    void windowDeactivationIsNoExit_data();
    void windowDeactivationIsNoExit();
};

void TestFieldFocus::focusEntry_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("autoSelect");
    QTest::addColumn<bool>("selectedAll");

    QTest::newRow("tab") << "tab" << true << true;
    QTest::newRow("backtab") << "backtab" << true << true;
    QTest::newRow("code") << "code" << true << true;
    QTest::newRow("left click") << "left" << true << false;
    QTest::newRow("right click") << "right" << true << true;
    QTest::newRow("tab, no AutoSelect") << "tab" << false << false;
    QTest::newRow("code, no AutoSelect") << "code" << false << false;
}
void TestFieldFocus::focusEntry()
{
    QFETCH(QString, how);
    QFETCH(bool, autoSelect);
    QFETCH(bool, selectedAll);

    TFlatFloatEdit *e = m_form->b;
    e->setContextMenuPolicy(Qt::NoContextMenu);
    e->setAutoSelect(autoSelect);
    e->setValue(42.5);
    if (how == "backtab")
        m_form->c->setFocus();
    else
        m_form->a->setFocus();
    QSignalSpy enters(e, &TCustomFlatFloatEdit::OnEnter);

    if (how == "tab")
        QTest::keyClick(m_form->a, Qt::Key_Tab);
    else if (how == "backtab")
        QTest::keyClick(m_form->c, Qt::Key_Backtab, Qt::ShiftModifier);
    else if (how == "code")
        e->setFocus();
    else if (how == "left")
        QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(10, 10));
    else if (how == "right")
        QTest::mouseClick(e, Qt::RightButton, {}, QPoint(10, 10));

    QCOMPARE(QApplication::focusWidget(), e);
    QCOMPARE(enters.count(), 1);
    QCOMPARE(e->EntryValue(), 42.5L);
    QCOMPARE(e->selectedText(), selectedAll ? QString("42.50") : QString());
}
// Leaving the field with Tab: the text typed, the limits, and what the
// field then shows and whether it keeps the focus.
void TestFieldFocus::exitCheck_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("minValue");
    QTest::addColumn<double>("maxValue");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("valid") << "5" << 0.0 << 100.0 << 2 << "5.00" << true;
    QTest::newRow("valid, formatted") << "5.00" << 0.0 << 100.0 << 2 << "5.00" << true;
    QTest::newRow("empty") << "" << 0.0 << 100.0 << 2 << "0.00" << true;
    QTest::newRow("empty, min 2.5") << "" << 2.5 << 100.0 << 2 << "2.50" << true;
    QTest::newRow("upper limit") << "100" << 0.0 << 100.0 << 2 << "100.00" << true;
    QTest::newRow("above") << "101" << 0.0 << 100.0 << 2 << "7.00" << false;
    // The restored entry value is written through the clamp.
    QTest::newRow("below") << "5" << 10.0 << 100.0 << 2 << "10.00" << false;
    QTest::newRow("unreadable") << "abc" << 0.0 << 100.0 << 2 << "7.00" << false;
    QTest::newRow("comma") << "1,5" << 0.0 << 100.0 << 2 << "7.00" << false;
    QTest::newRow("E and e") << "1Ee" << 0.0 << 100.0 << 2 << "7.00" << false;
    QTest::newRow("1E") << "1E" << 0.0 << 100.0 << 2 << "1.00" << true;
    QTest::newRow("1E5") << "1E5" << 0.0 << 100.0 << 2 << "7.00" << false;
    QTest::newRow("lone point") << "." << 0.0 << 100.0 << 2 << "0.00" << true;
    QTest::newRow("too many decimals") << "3.14159" << 0.0 << 100.0 << 2 << "3.14" << true;
    QTest::newRow("rounds up") << "99.996" << 0.0 << 100.0 << 2 << "100.00" << true;
    QTest::newRow("kvy decimals") << "6.97" << 0.0 << 100.0 << 1 << "7.0" << true;
    QTest::newRow("negative") << "-5" << -10.0 << 100.0 << 2 << "-5.00" << true;
    QTest::newRow("equal limits, other") << "7" << 7.5 << 7.5 << 2 << "7.00" << false;
    QTest::newRow("equal limits, the one") << "7.5" << 7.5 << 7.5 << 2 << "7.50" << true;
    QTest::newRow("blanks around") << " 5 " << 0.0 << 100.0 << 2 << "5.00" << true;
}
void TestFieldFocus::exitCheck()
{
    QFETCH(QString, text);
    QFETCH(double, minValue);
    QFETCH(double, maxValue);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    QFETCH(bool, accepted);

    TFlatFloatEdit *e = m_form->a;
    e->setValue(7);
    e->setDecimals(decimals);
    e->setMaxValue(maxValue);
    e->setMinValue(minValue);
    focusWithTab(e);
    e->setText(text); // stands for any typing or pasting

    QSignalSpy changes(e, &TCustomFlatFloatEdit::OnChange);
    QSignalSpy exits(e, &TCustomFlatFloatEdit::OnExit);
    QSignalSpy errors(e, &TCustomFlatFloatEdit::OnError);
    QTest::keyClick(e, Qt::Key_Tab);

    QCOMPARE(e->text(), expected);
    QCOMPARE(changes.count(), text == expected ? 0 : 1);
    if (accepted) {
        QCOMPARE(QApplication::focusWidget(), m_form->b);
        QCOMPARE(exits.count(), 2);
        QCOMPARE(errors.count(), 0);
    } else {
        QCOMPARE(QApplication::focusWidget(), e);
        QCOMPARE(e->selectedText(), expected);
        QCOMPARE(exits.count(), 1);
        QCOMPARE(errors.count(), 1);
    }
}
// Every way of taking the focus away ends with the field keeping it.
void TestFieldFocus::rejectedExitKeepsFocus_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("tab") << "tab";
    QTest::newRow("backtab") << "backtab";
    QTest::newRow("click on field") << "field";
    QTest::newRow("click on button") << "button";
    QTest::newRow("setFocus") << "code";
    QTest::newRow("clearFocus") << "clear";
}
void TestFieldFocus::rejectedExitKeepsFocus()
{
    QFETCH(QString, how);
    TFlatFloatEdit *e = m_form->b;
    focusWithTab(e);
    QTest::keyClicks(e, "101");
    QSignalSpy errors(e, &TCustomFlatFloatEdit::OnError);
    QSignalSpy enters(e, &TCustomFlatFloatEdit::OnEnter);
    QSignalSpy enterC(m_form->c, &TCustomFlatFloatEdit::OnEnter);

    if (how == "tab")
        QTest::keyClick(e, Qt::Key_Tab);
    else if (how == "backtab")
        QTest::keyClick(e, Qt::Key_Backtab, Qt::ShiftModifier);
    else if (how == "field")
        QTest::mouseClick(m_form->c, Qt::LeftButton, {}, QPoint(10, 10));
    else if (how == "button")
        QTest::mouseClick(m_form->button, Qt::LeftButton);
    else if (how == "code")
        m_form->c->setFocus();
    else if (how == "clear")
        e->clearFocus();
    QCoreApplication::processEvents();

    QCOMPARE(QApplication::focusWidget(), e);
    QVERIFY(!m_form->button->hasFocus());
    QCOMPARE(e->text(), QString("0.00"));
    QCOMPARE(e->selectedText(), QString("0.00"));
    QCOMPARE(errors.count(), 1);
    QCOMPARE(enters.count(), 0); // taking the focus back is no new entry
    QCOMPARE(enterC.count(), 0);

    // Now valid: the field can be left.
    QTest::keyClicks(e, "50");
    m_form->c->setFocus();
    QCOMPARE(QApplication::focusWidget(), m_form->c);
    QCOMPARE(e->text(), QString("50.00"));
}
void TestFieldFocus::acceptedExitMovesFocus()
{
    TFlatFloatEdit *e = m_form->a;
    focusWithTab(e);
    QTest::keyClicks(e, "5");
    QTest::mouseClick(m_form->button, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), m_form->button);
    QCOMPARE(e->text(), QString("5.00"));
}
// The focus lost to another window or to a popup (the field's context
// menu) comes back: no exit, no entry, the text as typed.
void TestFieldFocus::windowDeactivationIsNoExit_data()
{
    QTest::addColumn<bool>("menu");
    QTest::newRow("another window") << false;
    QTest::newRow("the context menu") << true;
}
void TestFieldFocus::windowDeactivationIsNoExit()
{
    QFETCH(bool, menu);
    TFlatFloatEdit *e = m_form->a;
    focusWithTab(e);
    QTest::keyClicks(e, "101");
    QSignalSpy exits(e, &TCustomFlatFloatEdit::OnExit);
    QSignalSpy enters(e, &TCustomFlatFloatEdit::OnEnter);

    QWidget other;
    QWidget *away = &other;
    if (menu) {
        QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(5, 5), e->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(e, &request);
        away = QApplication::activePopupWidget();
        QVERIFY(away);
    } else {
        other.resize(100, 100);
        QVERIFY(showActive(other));
    }
    // away: nothing ran, and the typed number reads unclamped
    QCOMPARE(exits.count(), 0);
    QCOMPARE(e->ValueL(), 101.0L);
    away->close();
    QVERIFY(showActive(*m_form));
    QCOMPARE(QApplication::focusWidget(), e);
    QCOMPARE(exits.count(), 0);
    QCOMPARE(enters.count(), 0);
    QCOMPARE(e->text(), QString("101"));
}

QTEST_MAIN(TestFieldFocus)
#include "test_fieldfocus.moc"
